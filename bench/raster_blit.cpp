// The raster work behind repainting: a full-screen BitBlt from a memory DC,
// a full-screen FillRect, scrolling the screen's pixels with ScrollDC and a
// push button from DrawFrameControl, against a memcpy of the framebuffer
// measured in the same run. Ratios are printed at the end.
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <windows.h>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

void Memcpy(benchmark::State& state) {
  std::vector<uint32_t> from(kWidth * kHeight, 0x123456), to(kWidth * kHeight);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}

HBITMAP makePicture(HDC memory) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* p = static_cast<uint32_t*>(bits);
  for (int i = 0; i < kWidth * kHeight; ++i) p[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  return bitmap;
}

void BlitToScreen(benchmark::State& state) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP picture = makePicture(memory);
  HGDIOBJ old = SelectObject(memory, picture);
  for (auto _ : state) BitBlt(screen, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

void FillScreen(benchmark::State& state) {
  HDC screen = GetDC(nullptr);
  RECT all{0, 0, kWidth, kHeight};
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  for (auto _ : state) FillRect(screen, &all, brush);
  DeleteObject(brush);
  ReleaseDC(nullptr, screen);
}

void ScrollScreen(benchmark::State& state) {
  HDC screen = GetDC(nullptr);
  RECT update;
  for (auto _ : state) ScrollDC(screen, 0, -13, nullptr, nullptr, nullptr, &update);
  ReleaseDC(nullptr, screen);
}

void PushButton(benchmark::State& state) {
  HDC screen = GetDC(nullptr);
  for (auto _ : state) {
    RECT r{0, 0, kWidth, 26};
    DrawFrameControl(screen, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
  ReleaseDC(nullptr, screen);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("memcpy_screen", Memcpy);
  benchmark::RegisterBenchmark("bitblt_screen", BlitToScreen);
  benchmark::RegisterBenchmark("fillrect_screen", FillScreen);
  benchmark::RegisterBenchmark("scrolldc_screen", ScrollScreen);
  benchmark::RegisterBenchmark("push_button_240x26", PushButton);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double base = reporter.times["memcpy_screen"];
  if (base <= 0) return 0;
  std::printf("\nagainst a memcpy of the framebuffer:\n");
  for (const char* what : {"bitblt_screen", "fillrect_screen", "scrolldc_screen", "push_button_240x26"})
    if (reporter.times.count(what)) std::printf("  %-20s %6.2fx\n", what, reporter.times[what] / base);
  return 0;
}
