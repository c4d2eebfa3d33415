// Frame controls as the device draws them: push buttons with raised 3-D
// edges that sink when pushed; check boxes and radio buttons with a thin
// black outline on white; scroll arrows on small raised buttons.
#include <algorithm>

#include "gdi/Edges.h"
#include "gdi/Plotter.h"
#include "gdi/Shapes.h"

namespace gdi {

namespace {

// Check boxes and radio buttons are never drawn larger than this.
constexpr int kMaxBoxSide = 1024;

// The largest square of rect (up to kMaxBoxSide), centred in it.
RECT centredSquare(const RECT& rect) {
  int side = std::min({rect.right - rect.left, rect.bottom - rect.top, kMaxBoxSide});
  int left = rect.left + (rect.right - rect.left - side) / 2;
  int top = rect.top + (rect.bottom - rect.top - side) / 2;
  return {left, top, left + side, top + side};
}

void drawPushButton(DeviceContext& dc, RECT& rect, UINT state) {
  bool down = (state & (DFCS_PUSHED | DFCS_CHECKED)) != 0;
  UINT flags = BF_RECT | BF_ADJUST;
  if (state & DFCS_FLAT) flags |= BF_FLAT;
  if (state & DFCS_MONO) flags |= BF_MONO;
  RECT face = rect;
  drawEdge(dc, face, down ? EDGE_SUNKEN : EDGE_RAISED, flags);
  // A latched (checked, not pushed) button shows a lighter face.
  bool latched = (state & DFCS_CHECKED) && !(state & DFCS_PUSHED);
  if (!rectEmpty(face)) dc.fill(face, GetSysColor(latched ? COLOR_3DLIGHT : COLOR_3DFACE));
  if (state & DFCS_ADJUSTRECT) rect = face;
}

COLORREF markColor(UINT state) {
  if (state & DFCS_INACTIVE) return GetSysColor(COLOR_GRAYTEXT);
  return GetSysColor(COLOR_WINDOWTEXT);
}

COLORREF boxFace(UINT state) {
  return GetSysColor((state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_3DFACE : COLOR_WINDOW);
}

void drawCheckBox(DeviceContext& dc, const RECT& rect, UINT state) {
  RECT box = centredSquare(rect);
  if (rectEmpty(box)) return;
  frameRect(dc, box, GetSysColor(COLOR_WINDOWFRAME));
  RECT inside{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
  if (rectEmpty(inside)) return;
  dc.fill(inside, boxFace(state));
  if (!(state & DFCS_CHECKED)) return;
  // A tick: down from the left third, then up to the top right, two
  // pixels thick, inside a one-pixel margin.
  int n = inside.right - inside.left - 2;
  if (n < 3) return;
  int left = inside.left + 1, top = inside.top + 1;
  uint32_t ink = toPixel((state & DFCS_BUTTON3STATE) ? GetSysColor(COLOR_GRAYTEXT) : markColor(state));
  POINT a = dc.toSurface(left, top + n / 2 - 1);
  POINT b = dc.toSurface(left + n / 3, top + n - 2);
  POINT c = dc.toSurface(left + n - 1, top);
  Plotter plot(dc);
  auto stroke = [&](int x, int y) {
    plot.set(x, y, ink);
    plot.set(x, y + 1, ink);
  };
  forEachLinePoint(a, b, stroke);
  forEachLinePoint(b, {c.x + 1, c.y - 1}, stroke);
}

void drawRadio(DeviceContext& dc, const RECT& rect, UINT state) {
  RECT box = centredSquare(rect);
  if (rectEmpty(box)) return;
  // Distances are compared doubled so the centre may fall between pixels.
  int d = box.right - box.left;
  int centreX2 = box.left * 2 + d - 1, centreY2 = box.top * 2 + d - 1;
  long outer = static_cast<long>(d) * d;
  long ring = static_cast<long>(d - 2) * (d - 2);
  long dot = static_cast<long>(d * 2 / 5) * (d * 2 / 5);
  uint32_t frame = toPixel(GetSysColor(COLOR_WINDOWFRAME));
  uint32_t face = toPixel(boxFace(state));
  uint32_t ink = toPixel(markColor(state));
  bool checked = (state & DFCS_CHECKED) != 0;
  Plotter plot(dc);
  // Only the part of the box on the surface is walked.
  RECT on = rectIntersection(dc.toSurface(box), dc.surfaceBounds());
  POINT shift = dc.origin();
  for (int y = on.top - shift.y; y < on.bottom - shift.y; ++y)
    for (int x = on.left - shift.x; x < on.right - shift.x; ++x) {
      long dx = 2 * x - centreX2, dy = 2 * y - centreY2;
      long r2 = dx * dx + dy * dy;
      if (r2 > outer) continue;
      POINT p = dc.toSurface(x, y);
      if (r2 > ring)
        plot.set(p.x, p.y, frame);
      else
        plot.set(p.x, p.y, checked && r2 <= dot ? ink : face);
    }
}

void drawScrollArrow(DeviceContext& dc, RECT& rect, UINT state) {
  bool pushed = (state & DFCS_PUSHED) != 0;
  UINT flags = BF_RECT | BF_ADJUST | BF_MIDDLE;
  if ((state & DFCS_FLAT) || pushed) flags |= BF_FLAT;
  RECT face = rect;
  drawEdge(dc, face, EDGE_RAISED, flags);
  if (rectEmpty(face)) return;
  int w = face.right - face.left, h = face.bottom - face.top;
  UINT direction = state & 0x000F;
  bool vertical = direction == DFCS_SCROLLUP || direction == DFCS_SCROLLDOWN;
  // The arrow's length along its direction; its base is twice as wide.
  int length = std::max(1, (vertical ? std::min(h, w / 2) : std::min(w, h / 2)) / 2);
  int cx = face.left + w / 2 - (w % 2 == 0 && vertical ? 1 : 0) + (pushed ? 1 : 0);
  int cy = face.top + h / 2 - (h % 2 == 0 && !vertical ? 1 : 0) + (pushed ? 1 : 0);
  COLORREF color = GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  // The tip's row (or column) and the direction the arrow widens in.
  bool growsForward = direction == DFCS_SCROLLUP || direction == DFCS_SCROLLLEFT;
  int centre = vertical ? cy : cx;
  int tip = growsForward ? centre - length / 2 : centre + (length - 1) / 2;
  int step = growsForward ? 1 : -1;
  // Only rows (or columns) on the surface are walked.
  RECT on = rectIntersection(dc.toSurface(face), dc.surfaceBounds());
  if (rectEmpty(on)) return;
  POINT o = dc.origin();
  int first = vertical ? on.top - o.y : on.left - o.x;
  int last = vertical ? on.bottom - o.y : on.right - o.x;
  int from = growsForward ? std::max(0, first - tip) : std::max(0, tip - last + 1);
  int to = growsForward ? std::min(length, last - tip) : std::min(length, tip - first + 1);
  for (int i = from; i < to; ++i) {
    // Row i from the tip is 2i + 1 pixels wide.
    int at = tip + step * i;
    if (vertical)
      dc.fill({cx - i, at, cx + i + 1, at + 1}, color);
    else
      dc.fill({at, cy - i, at + 1, cy + i + 1}, color);
  }
}

}  // namespace

bool drawFrameControl(DeviceContext& dc, RECT& rect, UINT type, UINT state) {
  switch (type) {
    case DFC_BUTTON:
      if (state & DFCS_BUTTONPUSH) {
        drawPushButton(dc, rect, state);
      } else if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
        drawRadio(dc, rect, state);
      } else {
        drawCheckBox(dc, rect, state);
      }
      return true;
    case DFC_SCROLL:
      if ((state & 0x000F) == DFCS_SCROLLCOMBOBOX) state = (state & ~0x000Fu) | DFCS_SCROLLDOWN;
      if ((state & 0x000F) > DFCS_SCROLLRIGHT) return false;
      drawScrollArrow(dc, rect, state);
      return true;
  }
  return false;
}

}  // namespace gdi
