#include "gdi/IconDraw.h"

#include <algorithm>

namespace gdi {

std::vector<uint32_t> scaleArgb(const std::vector<uint32_t>& pixels, int fromWidth, int fromHeight, int width,
                                int height) {
  if (fromWidth == width && fromHeight == height) return pixels;
  std::vector<uint32_t> out(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    int y0 = static_cast<int>(static_cast<int64_t>(y) * fromHeight / height);
    int y1 = std::max(y0 + 1, static_cast<int>(static_cast<int64_t>(y + 1) * fromHeight / height));
    for (int x = 0; x < width; ++x) {
      int x0 = static_cast<int>(static_cast<int64_t>(x) * fromWidth / width);
      int x1 = std::max(x0 + 1, static_cast<int>(static_cast<int64_t>(x + 1) * fromWidth / width));
      // Colours weighted by alpha, so transparent pixels lend no colour.
      uint64_t a = 0, r = 0, g = 0, b = 0;
      int n = 0;
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx) {
          uint32_t p = pixels[static_cast<size_t>(sy) * fromWidth + sx];
          uint32_t pa = p >> 24;
          a += pa;
          r += ((p >> 16) & 0xFF) * pa;
          g += ((p >> 8) & 0xFF) * pa;
          b += (p & 0xFF) * pa;
          ++n;
        }
      uint32_t result = 0;
      if (a > 0) {
        result = (static_cast<uint32_t>((a + n / 2) / n) << 24) | (static_cast<uint32_t>((r + a / 2) / a) << 16) |
                 (static_cast<uint32_t>((g + a / 2) / a) << 8) | static_cast<uint32_t>((b + a / 2) / a);
      }
      out[static_cast<size_t>(y) * width + x] = result;
    }
  }
  return out;
}

void drawIcon(DeviceContext& dc, int x, int y, const kernel::Icon& icon, int width, int height, UINT flags) {
  if (icon.pixels.empty() || width <= 0 || height <= 0) return;
  std::vector<uint32_t> scaled = scaleArgb(icon.pixels, icon.width, icon.height, width, height);
  RECT area = dc.toSurface(RECT{x, y, x + width, y + height});
  bool image = (flags & DI_IMAGE) != 0;
  bool mask = (flags & DI_MASK) != 0;
  dc.apply(area, [&](uint32_t d, int px, int py) {
    uint32_t s = scaled[static_cast<size_t>(py - area.top) * width + (px - area.left)];
    unsigned alpha = s >> 24;
    if (image && mask) return mixPixels(d, s, alpha);
    // The image alone is drawn whole; the mask alone blacks out what the
    // icon covers and leaves the rest.
    if (image) return s & 0x00FFFFFF;
    return alpha ? 0u : d;
  });
}

}  // namespace gdi
