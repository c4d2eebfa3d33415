// One screen's pixels: 32-bit 0x00RRGGBB, row-major, no padding, whatever
// the screen's depth; the depth decides only what the screen shows of them.
#pragma once

#include <cstdint>
#include <cstddef>
#include <vector>

namespace display {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  Rect intersected(const Rect& o) const;
  Rect united(const Rect& o) const;
  Rect translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  bool operator==(const Rect&) const = default;
};

// The grey-scale screen's depth: four greys.
constexpr int kGreyDepth = 2;

// What a screen of that depth shows of a pixel: a grey-scale screen shows
// the grey nearest to its luminance (0x00, 0x55, 0xAA or 0xFF), a colour
// screen the pixel itself. The window and the screenshots both show this.
uint32_t shownPixel(uint32_t pixel, int bitsPerPixel);

class Framebuffer {
 public:
  Framebuffer(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  Rect bounds() const { return {0, 0, width_, height_}; }
  uint32_t* row(int y) { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const uint32_t* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  uint32_t pixel(int x, int y) const { return row(y)[x]; }
  const std::vector<uint32_t>& pixels() const { return pixels_; }
  // Bits per pixel of the screen it stands for (GetDeviceCaps's BITSPIXEL).
  int bitsPerPixel() const { return bitsPerPixel_; }
  void setBitsPerPixel(int bits) { bitsPerPixel_ = bits; }

  // Reallocates for a new size (rotation); the content is cleared.
  void resize(int width, int height);
  // Fills the part of rect that lies on the screen.
  void fill(const Rect& rect, uint32_t color);

  // Regions changed since the last takeDirty(); the display presents only these.
  void markDirty(const Rect& rect);
  Rect takeDirty();
  // What changed since the last takeDirty(), left in place.
  const Rect& dirty() const { return dirty_; }
  // How many drawing operations changed pixels since the framebuffer was
  // made: an idle device adds none.
  uint64_t writeCount() const { return writes_; }

 private:
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
  int bitsPerPixel_ = 16;
  Rect dirty_;
  uint64_t writes_ = 0;
};

}  // namespace display
