// Vantor's start-up on the sample image, headless and in-process: the main
// window made, its tree and first records filled and every window painted,
// against opening the image and walking its databases with the store's API
// alone, measured in the same run. The ratio is printed at the end; the
// target is at most 3x.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <windows.h>
#include <commctrl.h>
#include <windbase.h>

#include "ProgramBench.h"
#include "RatioReporter.h"
#include "browser/BrowserWnd.h"
#include "device/Device.h"
#include "framework/CeApp.h"
#include "store/DeviceImage.h"

namespace {

std::string g_sample;

void OpenSample() {
  std::string error;
  if (!store::openDeviceImage(g_sample, error)) std::fprintf(stderr, "%s\n", error.c_str());
}

void WalkDatabases(benchmark::State& state) {
  for (auto _ : state) {
    OpenSample();
    HANDLE walk = CeFindFirstDatabase(0);
    int databases = 0;
    for (CEOID oid = CeFindNextDatabase(walk); oid != 0; oid = CeFindNextDatabase(walk)) {
      CEOIDINFO info = {};
      databases += CeOidGetInfo(oid, &info) ? 1 : 0;
    }
    CloseHandle(walk);
    store::closeDeviceImage();
    benchmark::DoNotOptimize(databases);
  }
}

void StartVantor(benchmark::State& state) {
  for (auto _ : state) {
    OpenSample();
    {
      BrowserWnd window;
      window.Create(nullptr, nullptr, 0, 26, 240, 268, u"Vantor", WS_VISIBLE, WS_EX_CAPTIONOKBTN, nullptr, nullptr);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      device::Device::instance().refreshScreen();
      DestroyWindow(window.hwnd);
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      }
    }
    store::closeDeviceImage();
  }
}

}  // namespace

int main(int argc, char** argv) {
  SampleDirectory directory("startup");
  g_sample = directory.sample();
  if (g_sample.empty()) return 1;
  StartProgramDevice();

  benchmark::RegisterBenchmark("walk_databases_with_the_store", WalkDatabases)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("vantor_to_first_frame", StartVantor)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double base = reporter.times["walk_databases_with_the_store"];
  int result = 0;
  if (base > 0 && reporter.times.count("vantor_to_first_frame")) {
    const double ratio = reporter.times["vantor_to_first_frame"] / base;
    std::printf("\nstart-up to the first frame against the store's own walk: %.2fx (target at most 3x)\n", ratio);
    result = ratio <= 3.0 ? 0 : 1;
  }
  return result;
}
