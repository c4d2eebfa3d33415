#include "gdi/Shapes.h"

#include <algorithm>
#include <utility>

#include "gdi/GdiObject.h"
#include "gdi/Plotter.h"

namespace gdi {

namespace {

// A dashed cosmetic pen: 18 pixels drawn, 6 left out.
constexpr int kDashOn = 18;
constexpr int kDashPeriod = 24;
// Wider pens draw this wide: every point of a line stamps a square nib.
constexpr int kMaxPenWidth = 64;

}  // namespace

void drawLine(DeviceContext& dc, POINT a, POINT b) {
  GdiObject* pen = objectFromHandle(dc.pen());
  if (!pen || pen->style == PS_NULL) return;
  uint32_t ink = toPixel(pen->color);
  uint32_t paper = toPixel(dc.bkColor);
  bool dashed = pen->style == PS_DASH && pen->width <= 1;
  int width = std::clamp(pen->width, 1, kMaxPenWidth);
  // A wide pen is a square nib centred on the line.
  int before = (width - 1) / 2;
  int after = width / 2;
  POINT from = dc.toSurface(a.x, a.y), to = dc.toSurface(b.x, b.y);
  // A line wholly beside the surface draws nothing and is not walked.
  RECT reach{std::min(from.x, to.x) - before, std::min(from.y, to.y) - before, std::max(from.x, to.x) + after + 1,
             std::max(from.y, to.y) + after + 1};
  if (rectEmpty(rectIntersection(reach, dc.surfaceBounds()))) return;
  Plotter plot(dc);
  int step = 0;
  forEachLinePoint(from, to, [&](int x, int y) {
    if (dashed) {
      bool on = step++ % kDashPeriod < kDashOn;
      if (on)
        plot.set(x, y, ink);
      else if (dc.bkMode == OPAQUE)
        plot.set(x, y, paper);
      return;
    }
    for (int ny = y - before; ny <= y + after; ++ny)
      for (int nx = x - before; nx <= x + after; ++nx) plot.set(nx, ny, ink);
  });
}

void drawRectangle(DeviceContext& dc, const RECT& rect) {
  RECT r = rect;
  if (r.right < r.left) std::swap(r.left, r.right);
  if (r.bottom < r.top) std::swap(r.top, r.bottom);
  if (r.right - r.left < 1 || r.bottom - r.top < 1) return;
  GdiObject* pen = objectFromHandle(dc.pen());
  bool outlined = pen && pen->style != PS_NULL;
  RECT inside = outlined ? RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}
                         : RECT{r.left, r.top, r.right - 1, r.bottom - 1};
  GdiObject* brush = objectFromHandle(dc.brush());
  if (brush && brush->style != BS_NULL && !rectEmpty(inside)) dc.fill(inside, brush->color);
  if (!outlined) return;
  POINT corners[] = {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
  if (r.right - r.left == 1 || r.bottom - r.top == 1) {
    // A line of a rectangle: the closing stroke would draw nothing for a
    // single point, so draw it through.
    POINT end = r.right - r.left == 1 ? POINT{r.left, r.bottom} : POINT{r.right, r.top};
    drawLine(dc, corners[0], end);
    return;
  }
  for (int i = 0; i < 4; ++i) drawLine(dc, corners[i], corners[(i + 1) % 4]);
}

void frameRect(DeviceContext& dc, const RECT& r, COLORREF color) {
  if (rectEmpty(r)) return;
  dc.fill({r.left, r.top, r.right, r.top + 1}, color);
  dc.fill({r.left, r.bottom - 1, r.right, r.bottom}, color);
  dc.fill({r.left, r.top + 1, r.left + 1, r.bottom - 1}, color);
  dc.fill({r.right - 1, r.top + 1, r.right, r.bottom - 1}, color);
}

void focusRect(DeviceContext& dc, const RECT& rect) {
  if (rectEmpty(rect)) return;
  RECT r = dc.toSurface(rect);
  Plotter plot(dc);
  // Alternate pixels along the frame, each once, so drawing it twice
  // restores what was there.
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) == 0) plot.invert(x, y);
  };
  // Walk only the stretches of the frame that lie on the surface.
  RECT on = dc.surfaceBounds();
  int x0 = std::max(r.left, on.left), x1 = std::min(r.right, on.right);
  int y0 = std::max(r.top + 1, on.top), y1 = std::min(r.bottom - 1, on.bottom);
  for (int x = x0; x < x1; ++x) dot(x, r.top);
  if (r.bottom - 1 > r.top)
    for (int x = x0; x < x1; ++x) dot(x, r.bottom - 1);
  for (int y = y0; y < y1; ++y) {
    dot(r.left, y);
    if (r.right - 1 > r.left) dot(r.right - 1, y);
  }
}

}  // namespace gdi
