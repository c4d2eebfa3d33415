#include "gdi/IconDraw.h"

#include <algorithm>

namespace gdi {

namespace {

// Source pixels [first, last) covering destination pixel i of n.
void coverage(int i, int n, int from, int& first, int& last) {
  first = static_cast<int>(static_cast<int64_t>(i) * from / n);
  last = std::max(first + 1, static_cast<int>(static_cast<int64_t>(i + 1) * from / n));
}

}  // namespace

uint32_t sampleIcon(const kernel::Icon& icon, int width, int height, int x, int y) {
  int x0, x1, y0, y1;
  coverage(x, width, icon.width, x0, x1);
  coverage(y, height, icon.height, y0, y1);
  // Colours weighted by alpha, so transparent pixels lend no colour.
  uint64_t a = 0, r = 0, g = 0, b = 0;
  int n = 0;
  for (int sy = y0; sy < y1; ++sy)
    for (int sx = x0; sx < x1; ++sx) {
      uint32_t p = icon.pixels[static_cast<size_t>(sy) * icon.width + sx];
      uint32_t pa = p >> 24;
      a += pa;
      r += ((p >> 16) & 0xFF) * pa;
      g += ((p >> 8) & 0xFF) * pa;
      b += (p & 0xFF) * pa;
      ++n;
    }
  if (n == 1) return icon.pixels[static_cast<size_t>(y0) * icon.width + x0];
  if (a == 0) return 0;
  return (static_cast<uint32_t>((a + n / 2) / n) << 24) | (static_cast<uint32_t>((r + a / 2) / a) << 16) |
         (static_cast<uint32_t>((g + a / 2) / a) << 8) | static_cast<uint32_t>((b + a / 2) / a);
}

void drawIcon(DeviceContext& dc, int x, int y, const kernel::Icon& icon, int width, int height, UINT flags) {
  if (icon.width <= 0 || icon.height <= 0 || width <= 0 || height <= 0) return;
  if (icon.pixels.size() < static_cast<size_t>(icon.width) * icon.height) return;
  RECT area = dc.toSurface(extentRect(x, y, width, height));
  bool image = (flags & DI_IMAGE) != 0;
  bool mask = (flags & DI_MASK) != 0;
  dc.apply(area, [&](uint32_t d, int px, int py) {
    uint32_t s = sampleIcon(icon, width, height, px - area.left, py - area.top);
    unsigned alpha = s >> 24;
    if (image && mask) return mixPixels(d, s, alpha);
    // The image alone is drawn whole; the mask alone blacks out what the
    // icon covers and leaves the rest.
    if (image) return s & 0x00FFFFFF;
    return alpha ? 0u : d;
  });
}

}  // namespace gdi
