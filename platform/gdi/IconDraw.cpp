#include "gdi/IconDraw.h"

#include "kernel/IconResources.h"

namespace gdi {

uint32_t sampleIcon(const kernel::Icon& icon, int width, int height, int x, int y) {
  return kernel::sampleArgb(icon.pixels.data(), icon.width, icon.height, width, height, x, y);
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
