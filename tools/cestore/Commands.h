// The tool's commands. Each returns the process's exit code: 0 done, 1 the
// check found damage or csv met records it could not read, 2 bad arguments
// or a file that could not be used (reported on one line naming the file).
#pragma once

#include <string>
#include <vector>

namespace cestore {

constexpr int kExitOk = 0;
constexpr int kExitDamaged = 1;
constexpr int kExitError = 2;

int fail(const std::string& message);

int runSample(const std::string& file);
int runInfo(const std::string& file);
int runList(const std::string& file);
int runDump(const std::string& file, const std::string* database);
// The database's records as the record list shows them, as CSV on standard
// output; in the order of the sort order on *sort when given.
int runCsv(const std::string& file, const std::string& database, const std::string* sort);
int runRegistry(const std::string& file);
int runCheck(const std::string& file);
int runExport(const std::string& file);
int runImport(const std::string& file, const std::string& json);
// For the durability tests: deletes a database's records one at a time,
// printing each identifier once its deletion has returned.
int runDeleteAll(const std::string& file, const std::string& database);

}  // namespace cestore
