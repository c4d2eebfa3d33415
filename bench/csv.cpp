// cestore csv against cestore dump of the sample's 65,535-record call log,
// each run as a person runs it: a process writing to /dev/null. Printed: the
// time of csv against dump's (target at most 1x), as the clock on the wall
// and as the processor time the run used (the steadier on a busy machine),
// and the peak resident memory of each on the call log whole and cut to its
// first 1,000 records.
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
// its time and its processor time in microseconds and its peak resident
// memory in KiB. Started
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
  const auto cpu = [](const timeval& t) { return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_usec; };
  std::printf("%lld %lld %ld\n", static_cast<long long>(micros.count()), cpu(usage.ru_utime) + cpu(usage.ru_stime),
              usage.ru_maxrss);
  return 0;
}

struct Run {
  double wallMs = 0;
  double cpuMs = 0;
  long peakKiB = 0;
};

// One run of cestore through the process above; false when it failed.
bool RunCestore(const std::string& self, const std::vector<std::string>& args, Run& run) {
  std::string command = "'" + self + "' --peak-of '" CESTORE_EXE "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return false;
  long long wall = 0, cpu = 0;
  const bool read = std::fscanf(out, "%lld %lld %ld", &wall, &cpu, &run.peakKiB) == 3;
  run.wallMs = double(wall) / 1000;
  run.cpuMs = double(cpu) / 1000;
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
double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times.empty() ? 0 : times[times.size() / 2];
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
  std::printf("%-8s %-5s %14s %14s %10s\n", "records", "", "median wall ms", "median cpu ms", "peak KiB");
  std::map<std::string, double> wall, cpu;
  std::map<std::string, long> peak;
  for (const auto& [records, image] : {std::pair{"1000", cut}, std::pair{"65535", directory.sample()}}) {
    std::map<std::string, std::vector<double>> walls, cpus;
    // Taking turns, so that what else the machine does weighs on both alike.
    for (int i = 0; i < kRuns; ++i)
      for (const char* command : {"dump", "csv"}) {
        Run run;
        if (!RunCestore(argv[0], {command, image, "CallLog"}, run)) {
          std::fprintf(stderr, "cestore %s failed\n", command);
          return 1;
        }
        walls[command].push_back(run.wallMs);
        cpus[command].push_back(run.cpuMs);
        const std::string key = std::string(command) + records;
        peak[key] = std::max(peak[key], run.peakKiB);
      }
    for (const char* command : {"dump", "csv"}) {
      const std::string key = std::string(command) + records;
      wall[key] = Median(walls[command]);
      cpu[key] = Median(cpus[command]);
      std::printf("%-8s %-5s %14.1f %14.1f %10ld\n", records, command, wall[key], cpu[key], peak[key]);
    }
  }
  std::printf("\ncsv against dump at 65,535 records: %.2fx the wall time, %.2fx the processor time (target at most "
              "1x); at 1,000: %.2fx, %.2fx\n",
              wall["csv65535"] / wall["dump65535"], cpu["csv65535"] / cpu["dump65535"],
              wall["csv1000"] / wall["dump1000"], cpu["csv1000"] / cpu["dump1000"]);
  std::printf("peak resident memory from 1,000 records to 65,535: csv %+ld KiB, dump %+ld KiB\n",
              peak["csv65535"] - peak["csv1000"], peak["dump65535"] - peak["dump1000"]);
  return 0;
}
