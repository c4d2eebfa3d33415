// Frames, edges, frame controls, icons and scrolling a DC's pixels.
#include "gdi/DeviceContext.h"
#include "gdi/Edges.h"
#include "gdi/GdiObject.h"
#include "gdi/IconDraw.h"
#include "gdi/ScrollPixels.h"
#include "gdi/Shapes.h"

int WINAPI FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  gdi::GdiObject* b = gdi::brushFromArgument(brush);
  if (!dc || !rect || !b) {
    if (dc) SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (b->style != BS_NULL) gdi::frameRect(*dc, gdi::clampRect(*rect), b->color);
  return 1;
}

BOOL WINAPI DrawFocusRect(HDC hdc, const RECT* rect) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc || !rect) return FALSE;
  gdi::focusRect(*dc, gdi::clampRect(*rect));
  return TRUE;
}

BOOL WINAPI DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc || !rect) return FALSE;
  RECT r = gdi::clampRect(*rect);
  gdi::drawEdge(*dc, r, edge, flags);
  if (flags & BF_ADJUST) *rect = r;
  return TRUE;
}

BOOL WINAPI DrawFrameControl(HDC hdc, LPRECT rect, UINT type, UINT state) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc || !rect) return FALSE;
  RECT r = gdi::clampRect(*rect);
  if (!gdi::drawFrameControl(*dc, r, type, state)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (state & DFCS_ADJUSTRECT) *rect = r;
  return TRUE;
}

BOOL WINAPI DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flicker, UINT flags) {
  (void)step;  // icons have no animation steps here
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return FALSE;
  const kernel::Icon* image = kernel::iconFromHandle(icon);
  if (!image || image->pixels.empty()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (cx == 0) cx = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : image->width;
  if (cy == 0) cy = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : image->height;
  if (cx < 0 || cy < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!(flags & DI_NORMAL)) flags |= DI_NORMAL;
  // Without flicker-free drawing through a bitmap, the brush simply goes
  // under the icon.
  if (flicker)
    if (gdi::GdiObject* b = gdi::brushFromArgument(flicker); b && b->style != BS_NULL)
      dc->fill(gdi::extentRect(x, y, cx, cy), b->color);
  gdi::drawIcon(*dc, x, y, *image, cx, cy, flags);
  return TRUE;
}

BOOL WINAPI DrawIcon(HDC hdc, int x, int y, HICON icon) { return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

BOOL WINAPI ScrollDC(HDC hdc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect) {
  gdi::DeviceContext* dc = gdi::dcOrError(hdc);
  if (!dc) return FALSE;
  // Regions as objects do not exist on this platform; the rectangle serves.
  if (update) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  POINT origin = dc->origin();
  RECT everything = dc->clip().bounds();
  RECT area = scroll ? dc->toSurface(*scroll) : everything;
  RECT limit = clip ? dc->toSurface(*clip) : everything;
  dx = gdi::clampCoordinate(dx);
  dy = gdi::clampCoordinate(dy);
  gdi::Region uncovered = gdi::scrollPixels(dc->surface(), dc->clip(), area, limit, dx, dy);
  if (updateRect) *updateRect = gdi::rectOffset(uncovered.bounds(), -origin.x, -origin.y);
  if (updateRect && uncovered.empty()) *updateRect = {0, 0, 0, 0};
  return TRUE;
}
