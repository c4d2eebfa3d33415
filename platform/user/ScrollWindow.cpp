// ScrollWindowEx: the pixels of a window's client area move on the screen,
// its children move with them when asked, and what the move uncovered is
// reported and, when asked, invalidated.
#include "gdi/ScrollPixels.h"
#include "user/Painter.h"
#include "user/WindowManager.h"

using user::Window;
using user::WindowManager;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

// The invalid part of the scrolled area moves with its pixels.
void moveUpdate(Window* window, const RECT& area, int dx, int dy) {
  gdi::Region moving = window->update;
  moving.intersect(area);
  if (moving.empty()) return;
  window->update.subtract(area);
  moving.offset(dx, dy);
  moving.intersect(area);
  window->update.unite(moving);
}

void moveChildren(Window* window, const RECT* scroll, int dx, int dy) {
  for (Window* child : std::vector<Window*>(window->children)) {
    if (child->dead || child->parent != window) continue;
    if (scroll && gdi::rectEmpty(gdi::rectIntersection(child->rect, *scroll))) continue;
    // The pixels have moved already; only the place changes.
    SetWindowPos(child->handle, nullptr, child->rect.left + dx, child->rect.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
}

}  // namespace

int WINAPI ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                          LPRECT updateRect, UINT flags) {
  Window* window = wm().checked(hwnd);
  if (!window) return RGN_ERROR;
  // There are no region objects on the device's graphics for this to fill.
  if (update || window->isDesktop()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return RGN_ERROR;
  }
  user::WindowPin pin(window);
  RECT client = window->clientArea();
  RECT area = scroll ? gdi::rectIntersection(*scroll, client) : client;
  RECT limit = clip ? gdi::rectIntersection(*clip, client) : client;
  bool children = (flags & SW_SCROLLCHILDREN) != 0;

  gdi::Region uncovered;
  if ((dx || dy) && window->reallyVisible() && !gdi::rectEmpty(area)) {
    POINT origin = window->clientOrigin();
    // Children move with their parent's pixels only when they move too.
    gdi::Region visible = user::painter::visibleRegion(window, true, !children);
    uncovered = gdi::scrollScreenPixels(visible, gdi::rectOffset(area, origin.x, origin.y),
                                        gdi::rectOffset(limit, origin.x, origin.y), dx, dy);
    uncovered.offset(-origin.x, -origin.y);
  }
  if (dx || dy) {
    moveUpdate(window, area, dx, dy);
    if (children) moveChildren(window, scroll, dx, dy);
  }
  if ((flags & SW_INVALIDATE) && !window->dead)
    for (const RECT& r : uncovered.rects()) user::painter::invalidate(window, &r, (flags & SW_ERASE) != 0);
  if (updateRect) *updateRect = uncovered.bounds();
  if (uncovered.empty()) return NULLREGION;
  return uncovered.rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
