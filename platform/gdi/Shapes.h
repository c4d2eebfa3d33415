// Lines and rectangles drawn with a DC's pen and brush.
#pragma once

#include "gdi/DeviceContext.h"

namespace gdi {

// The pixels of a line from a to b, b excluded, in order (Bresenham).
template <typename F>
void forEachLinePoint(POINT a, POINT b, F&& f) {
  int dx = b.x > a.x ? b.x - a.x : a.x - b.x;
  int dy = b.y > a.y ? b.y - a.y : a.y - b.y;
  int sx = a.x < b.x ? 1 : -1;
  int sy = a.y < b.y ? 1 : -1;
  int err = dx - dy;
  int x = a.x, y = a.y;
  while (x != b.x || y != b.y) {
    f(x, y);
    int e2 = 2 * err;
    if (e2 > -dy) {
      err -= dy;
      x += sx;
    }
    if (e2 < dx) {
      err += dx;
      y += sy;
    }
  }
}

// A line with the selected pen from a to b (logical), b excluded.
void drawLine(DeviceContext& dc, POINT a, POINT b);
// The outline with the pen and the inside with the brush, right and bottom
// excluded; with a null pen the filled area is one pixel smaller.
void drawRectangle(DeviceContext& dc, const RECT& rect);
// A one-pixel frame inside rect (logical) in color.
void frameRect(DeviceContext& dc, const RECT& rect, COLORREF color);
// A dotted frame inside rect (logical), every other pixel inverted.
void focusRect(DeviceContext& dc, const RECT& rect);

}  // namespace gdi
