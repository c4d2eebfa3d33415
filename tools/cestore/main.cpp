// cestore: create, inspect, check, import and export device images.
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"

namespace {

const char kUsage[] =
    "usage: cestore COMMAND FILE [ARGS]\n"
    "  sample FILE            write the sample Pocket PC 2002 object store to a new FILE\n"
    "  info FILE              format, counts and size of the image\n"
    "  list FILE              databases: identifier, name, type, records, sort orders, size, modified\n"
    "  dump FILE [DATABASE]   records with every property (DATABASE: name or identifier)\n"
    "  csv FILE DATABASE [--sort PROPID]\n"
    "                         the records as the record list shows them, as CSV; in the\n"
    "                         order of the sort order on PROPID when given\n"
    "  reg FILE               the registry\n"
    "  check FILE             full integrity check; exit code 1 when damaged\n"
    "  export FILE            the image as JSON on standard output\n"
    "  import FILE JSON       a new image FILE from the JSON file (- for standard input)\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "-h" || args[0] == "--help" || args[0] == "help") {
    std::fputs(kUsage, args.empty() ? stderr : stdout);
    return args.empty() ? cestore::kExitError : cestore::kExitOk;
  }
  const std::string& command = args[0];
  size_t count = args.size() - 1;
  auto wants = [&](size_t least, size_t most) {
    if (count >= least && count <= most) return true;
    std::fprintf(stderr, "cestore: %s: wrong number of arguments (see cestore --help)\n", command.c_str());
    return false;
  };
  if (command == "sample") return wants(1, 1) ? cestore::runSample(args[1]) : cestore::kExitError;
  if (command == "info") return wants(1, 1) ? cestore::runInfo(args[1]) : cestore::kExitError;
  if (command == "list") return wants(1, 1) ? cestore::runList(args[1]) : cestore::kExitError;
  if (command == "dump")
    return wants(1, 2) ? cestore::runDump(args[1], count == 2 ? &args[2] : nullptr) : cestore::kExitError;
  if (command == "csv") {
    if (count == 4 && args[3] == "--sort") return cestore::runCsv(args[1], args[2], &args[4]);
    return wants(2, 2) ? cestore::runCsv(args[1], args[2], nullptr) : cestore::kExitError;
  }
  if (command == "reg") return wants(1, 1) ? cestore::runRegistry(args[1]) : cestore::kExitError;
  if (command == "check") return wants(1, 1) ? cestore::runCheck(args[1]) : cestore::kExitError;
  if (command == "export") return wants(1, 1) ? cestore::runExport(args[1]) : cestore::kExitError;
  if (command == "import") return wants(2, 2) ? cestore::runImport(args[1], args[2]) : cestore::kExitError;
  if (command == "_delete-all") return wants(2, 2) ? cestore::runDeleteAll(args[1], args[2]) : cestore::kExitError;
  std::fprintf(stderr, "cestore: unknown command '%s' (see cestore --help)\n", command.c_str());
  return cestore::kExitError;
}
