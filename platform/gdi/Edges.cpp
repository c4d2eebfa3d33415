#include "gdi/Edges.h"


namespace gdi {

namespace {

struct EdgeColors {
  COLORREF topLeft;
  COLORREF bottomRight;
};

// Colours of one border (outer or inner) of an edge; null when the edge has
// no such border.
bool borderColors(UINT edge, bool outer, UINT flags, EdgeColors& colors) {
  UINT raised = outer ? BDR_RAISEDOUTER : BDR_RAISEDINNER;
  UINT sunken = outer ? BDR_SUNKENOUTER : BDR_SUNKENINNER;
  if (!(edge & (raised | sunken))) return false;
  if (flags & BF_MONO) {
    COLORREF c = GetSysColor(outer ? COLOR_WINDOWFRAME : COLOR_WINDOW);
    colors = {c, c};
    return true;
  }
  if (flags & BF_FLAT) {
    COLORREF c = GetSysColor(outer ? COLOR_3DSHADOW : COLOR_3DFACE);
    colors = {c, c};
    return true;
  }
  bool soft = (flags & BF_SOFT) != 0;
  if (edge & raised) {
    // Light above and to the left, dark below and to the right.
    if (outer)
      colors = {GetSysColor(soft ? COLOR_3DHIGHLIGHT : COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW)};
    else
      colors = {GetSysColor(soft ? COLOR_3DLIGHT : COLOR_3DHIGHLIGHT), GetSysColor(COLOR_3DSHADOW)};
  } else {
    if (outer)
      colors = {GetSysColor(soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW), GetSysColor(COLOR_3DHIGHLIGHT)};
    else
      colors = {GetSysColor(soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT)};
  }
  return true;
}

// One pixel wide border on the requested sides; shrinks r by it.
void drawBorder(DeviceContext& dc, RECT& r, const EdgeColors& c, UINT flags) {
  if (rectEmpty(r)) return;
  // The top-left colour owns the top and left lines; the bottom-right
  // colour the bottom and right ones, corners included.
  if (flags & BF_TOP) dc.fill({r.left, r.top, r.right - 1, r.top + 1}, c.topLeft);
  if (flags & BF_LEFT) dc.fill({r.left, r.top, r.left + 1, r.bottom - 1}, c.topLeft);
  if (flags & BF_BOTTOM) dc.fill({r.left, r.bottom - 1, r.right, r.bottom}, c.bottomRight);
  if (flags & BF_RIGHT) dc.fill({r.right - 1, r.top, r.right, r.bottom}, c.bottomRight);
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_RIGHT) --r.right;
  if (flags & BF_BOTTOM) --r.bottom;
}

}  // namespace

void drawEdge(DeviceContext& dc, RECT& rect, UINT edge, UINT flags) {
  RECT r = rect;
  EdgeColors c{};
  if (borderColors(edge, true, flags, c)) drawBorder(dc, r, c, flags);
  if (borderColors(edge, false, flags, c)) drawBorder(dc, r, c, flags);
  if ((flags & BF_MIDDLE) && !rectEmpty(r))
    dc.fill(r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE));
  if (flags & BF_ADJUST) rect = r;
}

}  // namespace gdi
