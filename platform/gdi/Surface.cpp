#include "gdi/Surface.h"

#include <algorithm>

#include "device/Device.h"
#include "display/Framebuffer.h"
#include "gdi/Bitmap.h"
#include "gdi/Region.h"

namespace gdi {

uint32_t toPixel(COLORREF color) {
  return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

COLORREF toColor(uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

uint32_t mixPixels(uint32_t under, uint32_t over, unsigned alpha) {
  if (alpha >= 255) return over & 0x00FFFFFF;
  if (alpha == 0) return under & 0x00FFFFFF;
  uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    uint32_t u = (under >> shift) & 0xFF;
    uint32_t o = (over >> shift) & 0xFF;
    uint32_t c = (o * alpha + u * (255 - alpha) + 127) / 255;
    result |= c << shift;
  }
  return result;
}

Surface Surface::screen() {
  display::Framebuffer& fb = device::Device::instance().backend().framebuffer();
  Surface s;
  if (fb.width() <= 0 || fb.height() <= 0) return s;
  s.first_ = fb.row(0);
  s.stride_ = fb.width();
  s.width_ = fb.width();
  s.height_ = fb.height();
  s.screen_ = &fb;
  return s;
}

Surface Surface::of(Bitmap& bitmap) {
  Surface s;
  if (bitmap.pixels.empty()) return s;
  bitmap.pull();
  s.width_ = bitmap.width;
  s.height_ = bitmap.height;
  if (bitmap.bottomUp) {
    s.first_ = bitmap.pixels.data() + static_cast<ptrdiff_t>(bitmap.height - 1) * bitmap.width;
    s.stride_ = -static_cast<ptrdiff_t>(bitmap.width);
  } else {
    s.first_ = bitmap.pixels.data();
    s.stride_ = bitmap.width;
  }
  s.bitmap_ = &bitmap;
  return s;
}

void Surface::fill(const RECT& rect, uint32_t color) const {
  RECT r = rectIntersection(rect, bounds());
  if (rectEmpty(r)) return;
  for (int y = r.top; y < r.bottom; ++y) std::fill(row(y) + r.left, row(y) + r.right, color);
  markDirty(r);
}

void Surface::invert(const RECT& rect, uint32_t mask) const {
  RECT r = rectIntersection(rect, bounds());
  if (rectEmpty(r)) return;
  for (int y = r.top; y < r.bottom; ++y) {
    uint32_t* p = row(y);
    for (int x = r.left; x < r.right; ++x) p[x] ^= mask;
  }
  markDirty(r);
}

void Surface::blend(int x, int y, uint32_t color, unsigned alpha) const {
  if (!contains(x, y)) return;
  uint32_t& p = row(y)[x];
  p = mixPixels(p, color, alpha);
}

void Surface::markDirty(const RECT& rect) const {
  RECT r = rectIntersection(rect, bounds());
  if (rectEmpty(r)) return;
  if (screen_) screen_->markDirty({r.left, r.top, r.right, r.bottom});
  if (bitmap_) bitmap_->commit(r);
}

}  // namespace gdi
