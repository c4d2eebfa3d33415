// The object store on the sample's 65,535-record database, against plain
// SQLite on the same file: opening in a sort order against the ordered
// select of the same key, a page of 40 records against 40 point reads,
// deleting 40 records against 40 plain deletes. Ratios are printed at the
// end, from times measured in this run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <windows.h>
#include <windbase.h>

#include "store/Databases.h"
#include "store/DeviceImage.h"
#include "store/SampleImage.h"
#include "store/Sqlite.h"

namespace {

std::string g_dir;
std::string g_sample;
CEOID g_callLog = 0;
std::vector<CEPROPID> g_sorts;

// Positions of pages as fractions of the database.
const double kPositions[] = {0.0, 0.25, 0.5, 0.75, 0.999};

std::string copyOfSample(const std::string& name) {
  std::string path = g_dir + "/" + name;
  std::filesystem::copy_file(g_sample, path, std::filesystem::copy_options::overwrite_existing);
  return path;
}

void openImage(const std::string& path) {
  std::string error;
  if (!store::openDeviceImage(path, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(1);
  }
}

// ---- opening in a sort order

void StoreOpenSorted(benchmark::State& state, int slot) {
  openImage(g_sample);
  CEPROPID sort = slot < 0 ? 0 : g_sorts[slot];
  for (auto _ : state) {
    store::databases().reset();  // nothing cached from the last round
    CEOID oid = g_callLog;
    HANDLE h = CeOpenDatabase(&oid, nullptr, sort, 0, nullptr);
    benchmark::DoNotOptimize(CeSeekDatabase(h, CEDB_SEEK_BEGINNING, 0, nullptr));
    CloseHandle(h);
  }
  store::closeDeviceImage();
}

void PlainOrderedSelect(benchmark::State& state, int slot) {
  store::Connection db;
  std::string error;
  db.open(g_sample, store::Connection::Mode::ReadOnly, error);
  std::string sql = slot < 0 ? "SELECT oid FROM records WHERE db = ? ORDER BY oid"
                             : "SELECT oid FROM records WHERE db = ? ORDER BY k" + std::to_string(slot) + ", oid";
  for (auto _ : state) {
    std::vector<uint32_t> oids;
    store::Statement stmt = db.prepare(sql);
    stmt.bind(1, int64_t{g_callLog});
    while (stmt.step()) oids.push_back(static_cast<uint32_t>(stmt.integer(0)));
    benchmark::DoNotOptimize(oids.data());
  }
}

// ---- a page of 40 records

void StorePage(benchmark::State& state, double position) {
  openImage(g_sample);
  CEOID oid = g_callLog;
  HANDLE h = CeOpenDatabase(&oid, nullptr, g_sorts[0], 0, nullptr);
  DWORD start = static_cast<DWORD>(position * (CEDB_MAXNUMRECORDS - 40));
  BYTE* buffer = nullptr;
  for (auto _ : state) {
    CeSeekDatabase(h, CEDB_SEEK_BEGINNING, start, nullptr);
    for (int row = 0; row < 40; ++row) {
      WORD count = 0;
      DWORD size = 0;
      LocalFree(buffer);
      buffer = nullptr;
      benchmark::DoNotOptimize(CeReadRecordProps(h, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size));
      if (row < 39) CeSeekDatabase(h, CEDB_SEEK_CURRENT, 1, nullptr);
    }
  }
  LocalFree(buffer);
  CloseHandle(h);
  store::closeDeviceImage();
}

std::vector<int64_t> pageOids(double position) {
  std::vector<int64_t> oids;
  store::Connection db;
  std::string error;
  db.open(g_sample, store::Connection::Mode::ReadOnly, error);
  store::Statement stmt = db.prepare("SELECT oid FROM records WHERE db = ? ORDER BY k0, oid LIMIT 40 OFFSET ?");
  stmt.bind(1, int64_t{g_callLog}).bind(2, static_cast<int64_t>(position * (CEDB_MAXNUMRECORDS - 40)));
  while (stmt.step()) oids.push_back(stmt.integer(0));
  return oids;
}

void PlainPointReads(benchmark::State& state, double position) {
  std::vector<int64_t> oids = pageOids(position);
  store::Connection db;
  std::string error;
  db.open(g_sample, store::Connection::Mode::ReadOnly, error);
  store::Statement stmt = db.prepare("SELECT props FROM records WHERE oid = ?");
  for (auto _ : state) {
    for (int64_t oid : oids) {
      stmt.reset();
      stmt.bind(1, oid);
      stmt.step();
      benchmark::DoNotOptimize(stmt.blob(0));
    }
  }
}

// ---- deleting 40 records

void StoreDelete40(benchmark::State& state) {
  std::string path = copyOfSample("delete-store.img");
  openImage(path);
  CEOID oid = g_callLog;
  // The database is open in a sort order, as the browser has it.
  HANDLE h = CeOpenDatabase(&oid, nullptr, g_sorts[0], 0, nullptr);
  CeSeekDatabase(h, CEDB_SEEK_BEGINNING, 0, nullptr);
  DWORD start = CEDB_MAXNUMRECORDS / 2;
  for (auto _ : state) {
    for (int i = 0; i < 40; ++i) {
      CEOID record = CeSeekDatabase(h, CEDB_SEEK_BEGINNING, start, nullptr);
      if (!CeDeleteRecord(h, record)) state.SkipWithError("delete failed");
    }
    if (start > 1000) start -= 500;
  }
  CloseHandle(h);
  store::closeDeviceImage();
}

void PlainDelete40(benchmark::State& state) {
  std::string path = copyOfSample("delete-plain.img");
  store::Connection db;
  std::string error;
  db.open(path, store::Connection::Mode::ReadWrite, error);
  db.exec("PRAGMA synchronous = FULL");
  store::Statement pick = db.prepare("SELECT oid FROM records WHERE db = ? ORDER BY k0, oid LIMIT 1 OFFSET ?");
  store::Statement del = db.prepare("DELETE FROM records WHERE oid = ?");
  int64_t start = CEDB_MAXNUMRECORDS / 2;
  for (auto _ : state) {
    for (int i = 0; i < 40; ++i) {
      pick.reset();
      pick.bind(1, int64_t{g_callLog}).bind(2, start);
      pick.step();
      int64_t oid = pick.integer(0);
      db.exec("BEGIN IMMEDIATE");
      del.reset();
      del.bind(1, oid);
      del.step();
      db.exec("COMMIT");
    }
    if (start > 1000) start -= 500;
  }
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      real[run.run_name.function_name] = run.GetAdjustedRealTime();
      cpu[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> real, cpu;
};

void printRatio(RatioReporter& r, const std::string& what, const std::string& store, const std::string& plain,
                double target) {
  if (!r.real.count(store) || !r.real.count(plain)) return;
  double ratio = r.real[store] / r.real[plain];
  double cpuRatio = r.cpu[store] / r.cpu[plain];
  std::printf("  %-30s %5.2fx real, %5.2fx cpu (target %.1fx)%s\n", what.c_str(), ratio, cpuRatio, target,
              ratio <= target ? "" : "  <-- over");
}

}  // namespace

int main(int argc, char** argv) {
  char pattern[] = "/tmp/vantor-bench-XXXXXX";
  g_dir = mkdtemp(pattern);
  g_sample = g_dir + "/sample.img";
  std::string error;
  auto begin = std::chrono::steady_clock::now();
  if (!store::writeSampleImage(g_sample, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  double sampleSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  openImage(g_sample);
  CEOID oid = 0;
  HANDLE h = CeOpenDatabase(&oid, const_cast<LPWSTR>(u"CallLog"), 0, 0, nullptr);
  CloseHandle(h);
  g_callLog = oid;
  CEOIDINFO info{};
  CeOidGetInfo(oid, &info);
  for (WORD i = 0; i < info.infDatabase.wNumSortOrder; ++i) g_sorts.push_back(info.infDatabase.rgSortSpecs[i].propid);
  store::closeDeviceImage();

  for (int slot = -1; slot < static_cast<int>(g_sorts.size()); ++slot) {
    std::string suffix = slot < 0 ? "creation" : "sort" + std::to_string(slot);
    benchmark::RegisterBenchmark(("open/" + suffix + "/store").c_str(), StoreOpenSorted, slot)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("open/" + suffix + "/plain").c_str(), PlainOrderedSelect, slot)
        ->Unit(benchmark::kMillisecond);
  }
  for (double position : kPositions) {
    std::string suffix = std::to_string(static_cast<int>(position * 100)) + "%";
    benchmark::RegisterBenchmark(("page/" + suffix + "/store").c_str(), StorePage, position)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("page/" + suffix + "/plain").c_str(), PlainPointReads, position)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::RegisterBenchmark("delete40/store", StoreDelete40)->Iterations(20)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("delete40/plain", PlainDelete40)->Iterations(20)->Unit(benchmark::kMillisecond);

  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nsample image written in %.2f s\n", sampleSeconds);
  std::printf("ratios against plain SQLite on the same file:\n");
  for (int slot = -1; slot < static_cast<int>(g_sorts.size()); ++slot) {
    std::string suffix = slot < 0 ? "creation" : "sort" + std::to_string(slot);
    printRatio(reporter, "open in " + suffix + " order", "open/" + suffix + "/store", "open/" + suffix + "/plain", 1.5);
  }
  for (double position : kPositions) {
    std::string suffix = std::to_string(static_cast<int>(position * 100)) + "%";
    printRatio(reporter, "page of 40 at " + suffix, "page/" + suffix + "/store", "page/" + suffix + "/plain", 2.0);
  }
  printRatio(reporter, "delete 40", "delete40/store", "delete40/plain", 2.0);
  benchmark::Shutdown();
  std::filesystem::remove_all(g_dir);
  return 0;
}
