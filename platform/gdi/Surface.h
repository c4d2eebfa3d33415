// The pixels a device context draws on: the screen's framebuffer or a
// bitmap's. A Surface is a short-lived view, taken for one drawing call:
// the framebuffer may be reallocated by a rotation and a bitmap by
// selecting another one, so a view is never kept across calls.
//
// Pixels are 0x00RRGGBB. Drawing code writes through row() or the helpers
// and then reports what it changed with markDirty(): the screen presents
// only changed areas, and a bitmap whose caller-visible bits are in another
// format (a DIB section below 32 bits per pixel, a monochrome bitmap) brings
// them up to date there.
#pragma once

#include <cstddef>
#include <cstdint>

#include <windef.h>

namespace display {
class Framebuffer;
}

namespace gdi {

struct Bitmap;

class Surface {
 public:
  // Nothing to draw on: zero size, every operation does nothing.
  Surface() = default;
  static Surface screen();
  static Surface of(Bitmap& bitmap);

  bool valid() const { return first_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  RECT bounds() const { return {0, 0, width_, height_}; }

  // Row y, 0 <= y < height(); width() pixels long.
  uint32_t* row(int y) const { return first_ + static_cast<ptrdiff_t>(y) * stride_; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  uint32_t pixel(int x, int y) const { return row(y)[x]; }

  // Fills the part of rect on the surface and marks it dirty.
  void fill(const RECT& rect, uint32_t color) const;
  // XORs the part of rect on the surface with mask and marks it dirty.
  void invert(const RECT& rect, uint32_t mask = 0x00FFFFFF) const;
  // Mixes color over the pixel with coverage alpha (0..255); no dirty mark.
  void blend(int x, int y, uint32_t color, unsigned alpha) const;
  // After writing through row(): the screen presents rect, a bitmap updates
  // its caller-visible bits there.
  void markDirty(const RECT& rect) const;

 private:
  uint32_t* first_ = nullptr;  // row 0
  ptrdiff_t stride_ = 0;       // pixels from one row to the next; negative bottom-up
  int width_ = 0;
  int height_ = 0;
  display::Framebuffer* screen_ = nullptr;
  Bitmap* bitmap_ = nullptr;
};

// 0x00BBGGRR to the surface's 0x00RRGGBB, and back.
uint32_t toPixel(COLORREF color);
COLORREF toColor(uint32_t pixel);

// Coverage-weighted mix of two pixels (alpha 0: under, 255: over).
uint32_t mixPixels(uint32_t under, uint32_t over, unsigned alpha);

}  // namespace gdi
