// Block transfers, lines, rectangles and single pixels.
#include <utility>

#include "gdi/Blit.h"
#include "gdi/DeviceContext.h"
#include "gdi/GdiObject.h"
#include "gdi/Plotter.h"
#include "gdi/Shapes.h"

BOOL WINAPI BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int srcX, int srcY, DWORD rop) {
  gdi::DeviceContext* to = gdi::dcOrError(dst);
  if (!to) return FALSE;
  gdi::DeviceContext* from = nullptr;
  if (gdi::ropUsesSource(rop)) {
    from = gdi::dcOrError(src);
    if (!from) return FALSE;
  }
  return gdi::blit(*to, x, y, cx, cy, from, srcX, srcY, rop) ? TRUE : FALSE;
}

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int cx, int cy, DWORD rop) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return FALSE;
  if (gdi::ropUsesSource(rop)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // A negative extent counts from the other side.
  RECT r = gdi::extentRect(x, y, cx, cy);
  if (r.right < r.left) std::swap(r.left, r.right);
  if (r.bottom < r.top) std::swap(r.top, r.bottom);
  return gdi::blit(*dc, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, 0, 0, rop) ? TRUE : FALSE;
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->position;
  dc->position = {x, y};
  return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return FALSE;
  gdi::drawLine(*dc, dc->position, {x, y});
  dc->position = {x, y};
  return TRUE;
}

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return FALSE;
  gdi::drawRectangle(*dc, gdi::clampRect({left, top, right, bottom}));
  return TRUE;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return CLR_INVALID;
  POINT p = dc->toSurface(x, y);
  if (!dc->visible(p.x, p.y)) return CLR_INVALID;
  {
    gdi::Plotter plot(*dc);
    plot.set(p.x, p.y, gdi::toPixel(color));
  }
  // The colour the surface could hold (a monochrome bitmap, a DIB's depth).
  return gdi::toColor(dc->surface().pixel(p.x, p.y));
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return CLR_INVALID;
  POINT p = dc->toSurface(x, y);
  if (!dc->visible(p.x, p.y)) return CLR_INVALID;
  return gdi::toColor(dc->surface().pixel(p.x, p.y));
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return GDI_ERROR;
  UINT previous = dc->textAlign;
  dc->textAlign = align;
  return previous;
}

UINT WINAPI GetTextAlign(HDC hdc) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  return dc ? dc->textAlign : GDI_ERROR;
}
