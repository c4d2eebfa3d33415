// Helpers of the raster tests: a 32-bit canvas behind a memory DC whose
// pixels the test reads directly, pictures of pixel areas for readable
// failures, and a window whose painting a test supplies.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>

// RECT lives in the global namespace, so its operators do too.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace rastertest {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

// A memory DC holding a top-down 32-bit DIB section, filled with fill.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  // 0x00RRGGBB.
  uint32_t at(int x, int y) const { return bits_[y * width_ + x] & 0xFFFFFF; }
  void set(int x, int y, uint32_t pixel) { bits_[y * width_ + x] = pixel; }
  // One character per pixel: legend maps a pixel to its character, '?' for
  // one not in it.
  std::vector<std::string> picture(const std::vector<std::pair<uint32_t, char>>& legend) const;
  int count(uint32_t pixel) const;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
  uint32_t* bits_ = nullptr;
  int width_, height_;
};

uint32_t screenPixel(int x, int y);
void fillScreen(COLORREF color);
uint32_t sysPixel(int index);  // a system colour as a pixel

// A top-level or child window of the test class; paint runs for WM_PAINT
// between BeginPaint and EndPaint, and the background is never erased.
using PaintFn = std::function<void(HDC, const PAINTSTRUCT&)>;
HWND createWindow(RECT rect, HWND parent = nullptr, PaintFn paint = nullptr);
// Dispatches every pending WM_PAINT.
void paintAll();

// Destroys the test's windows at the end.
class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override { fillScreen(RGB(0, 0, 0)); }
  void TearDown() override;
};

}  // namespace rastertest
