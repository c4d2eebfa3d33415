// cestore csv against cestore dump of the sample's 65,535-record call log,
// each run as a person runs it: a process writing to /dev/null. Printed: the
// time of csv against dump's (target at most 1x), and the peak resident
// memory of each on the call log whole and cut to its first 1,000 records.
// csv must not grow with the records beyond what dump grows by: what both
// grow by is the store's own (its cursor's order of record identifiers,
// SQLite's page cache up to its limit).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <windows.h>
#include <windbase.h>

#include "ProgramBench.h"
#include "store/DeviceImage.h"
#include "store/ImageWriter.h"
#include "store/PropBuffer.h"

namespace {

constexpr DWORD kCutRecords = 1000;
constexpr int kRuns = 15;

// The benchmark runs itself as "--peak-of CESTORE ARGS...": a fresh, small
// process that starts cestore (output to /dev/null), waits for it and prints
// its time in microseconds and its peak resident memory in KiB. Started
// straight from the benchmark, cestore would count the benchmark's own
// memory as its peak, which Linux carries over the start of a program.
int PeakOf(char** command) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    execv(command[0], command);
    _exit(127);
  }
  int status = 0;
  rusage usage = {};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  std::printf("%lld %ld\n", static_cast<long long>(micros.count()), usage.ru_maxrss);
  return 0;
}

// One run of cestore through the process above: its seconds and peak KiB,
// or false when it failed.
bool RunCestore(const std::string& self, const std::vector<std::string>& args, double& seconds, long& peakKiB) {
  std::string command = "'" + self + "' --peak-of '" CESTORE_EXE "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return false;
  long long micros = 0;
  const bool read = std::fscanf(out, "%lld %ld", &micros, &peakKiB) == 2;
  seconds = double(micros) / 1e6;
  return pclose(out) == 0 && read;
}

// A new image at path with the first count records of the sample's call log
// under the same name, type and sort orders, written through the store.
bool CutCallLog(const std::string& sample, const std::string& path, DWORD count) {
  std::string error;
  if (!store::openDeviceImage(sample, error)) return false;
  CEOID callLog = 0;
  HANDLE source = CeOpenDatabase(&callLog, const_cast<LPWSTR>(u"CallLog"), 0, CEDB_AUTOINCREMENT, nullptr);
  CEOIDINFO info = {};
  store::Image image;
  bool ok = source != INVALID_HANDLE_VALUE && CeOidGetInfo(callLog, &info) && image.create(path, error);
  store::ImageWriter writer(image);
  ok = ok && writer.begin();
  const CEDBASEINFO& db = info.infDatabase;
  store::DatabaseDefinition definition;
  definition.name = db.szDbaseName;
  definition.type = db.dwDbaseType;
  definition.sorts.assign(db.rgSortSpecs, db.rgSortSpecs + db.wNumSortOrder);
  const CEOID cut = ok ? writer.addDatabase(definition) : 0;
  LPBYTE buffer = nullptr;
  for (DWORD i = 0; cut != 0 && i < count; ++i) {
    WORD props = 0;
    DWORD size = 0;
    if (CeReadRecordProps(source, CEDB_ALLOWREALLOC, &props, nullptr, &buffer, &size) == 0) break;
    store::Record record(props);
    for (WORD p = 0; p < props; ++p) ok = store::valueFromCaller(reinterpret_cast<CEPROPVAL*>(buffer)[p], record[p]) && ok;
    ok = ok && writer.addRecord(cut, record) != 0;
  }
  LocalFree(buffer);
  ok = cut != 0 && ok && writer.commit();
  image.close();
  if (source != INVALID_HANDLE_VALUE) CloseHandle(source);
  store::closeDeviceImage();
  return ok;
}

// The median of the runs' times.
double Median(std::vector<double> seconds) {
  std::sort(seconds.begin(), seconds.end());
  return seconds.empty() ? 0 : seconds[seconds.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == "--peak-of") return PeakOf(argv + 2);
  SampleDirectory directory("csv");
  const std::string cut = directory.sample() + ".1000";
  if (directory.sample().empty() || !CutCallLog(directory.sample(), cut, kCutRecords)) {
    std::fprintf(stderr, "could not write the sample and its cut call log\n");
    return 1;
  }
  std::printf("cestore csv against cestore dump of the call log, %d runs each, taking turns\n", kRuns);
  std::printf("%-8s %-5s %12s %14s\n", "records", "", "median ms", "peak KiB");
  std::map<std::string, long> peaks;
  std::map<std::string, double> medians;
  for (const auto& [records, image] : {std::pair{"1000", cut}, std::pair{"65535", directory.sample()}}) {
    std::map<std::string, std::vector<double>> times;
    // Taking turns, so that what else the machine does weighs on both alike.
    for (int run = 0; run < kRuns; ++run)
      for (const char* command : {"dump", "csv"}) {
        double seconds = 0;
        long peak = 0;
        if (!RunCestore(argv[0], {command, image, "CallLog"}, seconds, peak)) {
          std::fprintf(stderr, "cestore %s failed\n", command);
          return 1;
        }
        times[command].push_back(seconds);
        peaks[std::string(command) + records] = std::max(peaks[std::string(command) + records], peak);
      }
    for (const char* command : {"dump", "csv"}) {
      medians[std::string(command) + records] = Median(times[command]);
      std::printf("%-8s %-5s %12.1f %14ld\n", records, command, Median(times[command]) * 1000,
                  peaks[std::string(command) + records]);
    }
  }
  std::printf("\ncsv against dump: %.2fx the time at 65,535 records (target at most 1x), %.2fx at 1,000\n",
              medians["csv65535"] / medians["dump65535"], medians["csv1000"] / medians["dump1000"]);
  std::printf("peak resident memory from 1,000 records to 65,535: csv %+ld KiB, dump %+ld KiB\n",
              peaks["csv65535"] - peaks["csv1000"], peaks["dump65535"] - peaks["dump1000"]);
  return 0;
}
