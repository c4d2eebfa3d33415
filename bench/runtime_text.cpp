// The kernel's text runtime, which renders every list cell and heading,
// against the host C library doing the same work: wsprintfW against
// snprintf, _fcvt against snprintf("%.3f"), _ultow against snprintf("%u").
// Ratios are printed at the end, from times measured in this run.
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cstdio>
#include <map>
#include <string>

#include <windows.h>

namespace {

const double kValues[] = {0.05, 2.5, -1234.5678, 1e15, 3.14159265358979};

void WideFormat(benchmark::State& state) {
  WCHAR buffer[1024];
  unsigned id = 0;
  for (auto _ : state) benchmark::DoNotOptimize(wsprintfW(buffer, u"0x%04hx (%s) %d", id++, u"VT_LPWSTR", -42));
}

void HostFormat(benchmark::State& state) {
  char buffer[1024];
  unsigned id = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(std::snprintf(buffer, sizeof buffer, "0x%04hx (%s) %d", (unsigned short)id++, "VT_LPWSTR", -42));
}

void RuntimeFixed(benchmark::State& state) {
  int point, sign;
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(_fcvt(kValues[i++ % std::size(kValues)], 3, &point, &sign));
}

void HostFixed(benchmark::State& state) {
  char buffer[400];
  size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(std::snprintf(buffer, sizeof buffer, "%.3f", kValues[i++ % std::size(kValues)]));
}

void RuntimeUnsigned(benchmark::State& state) {
  WCHAR buffer[34];
  ULONG v = 0;
  for (auto _ : state) benchmark::DoNotOptimize(_ultow(v += 7919, buffer, 10));
}

void HostUnsigned(benchmark::State& state) {
  char buffer[34];
  unsigned v = 0;
  for (auto _ : state) benchmark::DoNotOptimize(std::snprintf(buffer, sizeof buffer, "%u", v += 7919));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("format/kernel", WideFormat);
  benchmark::RegisterBenchmark("format/host", HostFormat);
  benchmark::RegisterBenchmark("fixed/kernel", RuntimeFixed);
  benchmark::RegisterBenchmark("fixed/host", HostFixed);
  benchmark::RegisterBenchmark("unsigned/kernel", RuntimeUnsigned);
  benchmark::RegisterBenchmark("unsigned/host", HostUnsigned);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nratios against the host C library:\n");
  for (const char* what : {"format", "fixed", "unsigned"}) {
    std::string kernel = std::string(what) + "/kernel", host = std::string(what) + "/host";
    if (reporter.times.count(kernel) && reporter.times.count(host))
      std::printf("  %-10s %6.2fx\n", what, reporter.times[kernel] / reporter.times[host]);
  }
  benchmark::Shutdown();
  return 0;
}
