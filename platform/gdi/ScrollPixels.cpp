#include "gdi/ScrollPixels.h"

#include <vector>

#include "gdi/DeviceContext.h"

namespace gdi {

Region scrollPixels(const Surface& surface, const Region& visible, const RECT& scroll, const RECT& clip, int dx,
                    int dy) {
  dx = clampCoordinate(dx);
  dy = clampCoordinate(dy);
  Region onSurface = visible;
  onSurface.intersect(surface.bounds());
  // Where pixels may be written.
  Region target = onSurface;
  target.intersect(clip);
  // Pixels worth moving, and where they land.
  Region source = onSurface;
  source.intersect(scroll);
  Region moved = source;
  moved.offset(dx, dy);
  moved.intersect(target);

  RECT from = moved.bounds();
  if (!moved.empty()) {
    // Read what will move before writing anything: source and destination
    // overlap on one surface.
    from = rectOffset(from, -dx, -dy);
    int w = from.right - from.left, h = from.bottom - from.top;
    std::vector<uint32_t> copy(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
      const uint32_t* row = surface.row(from.top + y) + from.left;
      std::copy(row, row + w, copy.begin() + static_cast<ptrdiff_t>(y) * w);
    }
    for (const RECT& r : moved.rects()) {
      for (int y = r.top; y < r.bottom; ++y) {
        const uint32_t* src = copy.data() + static_cast<size_t>(y - dy - from.top) * w + (r.left - dx - from.left);
        std::copy(src, src + (r.right - r.left), surface.row(y) + r.left);
      }
      surface.markDirty(r);
    }
  }

  Region uncovered(scroll);
  uncovered.unite(rectOffset(scroll, dx, dy));
  uncovered.intersect(target);
  uncovered.subtract(moved);
  return uncovered;
}

Region scrollScreenPixels(const Region& visible, const RECT& scroll, const RECT& clip, int dx, int dy) {
  return scrollPixels(Surface::screen(), visible, scroll, clip, dx, dy);
}

}  // namespace gdi
