// Window geometry: placement, showing, coordinates and hit testing.
#include "gdi/Region.h"
#include "user/Geometry.h"
#include "user/InputRouter.h"
#include "user/WindowManager.h"

using user::Window;
using user::WindowManager;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

bool contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// Screen position of a window's client origin; the desktop's (null) is 0,0.
bool originOf(HWND hwnd, POINT& origin) {
  if (!hwnd) {
    origin = {0, 0};
    return true;
  }
  Window* window = wm().checked(hwnd);
  if (!window) return false;
  origin = window->clientOrigin();
  return true;
}

}  // namespace

BOOL WINAPI SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* window = wm().checked(hwnd);
  return window && user::geometry::setWindowPos(window, insertAfter, x, y, cx, cy, flags) ? TRUE : FALSE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
  return SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
}

BOOL WINAPI ShowWindow(HWND hwnd, int command) {
  Window* window = wm().checked(hwnd);
  return window && user::geometry::showWindow(window, command) ? TRUE : FALSE;
}

BOOL WINAPI BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* window = wm().checked(hwnd);
  if (!window || !rect) return FALSE;
  *rect = window->screenRect();
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT rect) {
  Window* window = wm().checked(hwnd);
  if (!window || !rect) return FALSE;
  *rect = window->clientArea();
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT point) {
  POINT origin;
  if (!point || !hwnd || !originOf(hwnd, origin)) return FALSE;
  point->x -= origin.x;
  point->y -= origin.y;
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT point) {
  POINT origin;
  if (!point || !hwnd || !originOf(hwnd, origin)) return FALSE;
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}

int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT a, b;
  if (!originOf(from, a) || !originOf(to, b)) return 0;
  int dx = a.x - b.x;
  int dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(ERROR_SUCCESS);
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  // Scroll bars are not counted, as on the desktop.
  RECT insets = WindowManager::nonClientInsets(style & ~(WS_VSCROLL | WS_HSCROLL), exStyle);
  rect->left -= insets.left;
  rect->top -= insets.top + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
  rect->right += insets.right;
  rect->bottom += insets.bottom;
  return TRUE;
}

HWND WINAPI WindowFromPoint(POINT point) {
  Window* window = user::hitTest(point);
  // Disabled children are passed over for their parent.
  while (window && window->isChild() && !window->enabledFlag()) window = window->parent;
  return window ? window->handle : nullptr;
}

HWND WINAPI ChildWindowFromPoint(HWND parent, POINT point) {
  Window* window = wm().checked(parent);
  if (!window) return nullptr;
  if (!contains(window->clientArea(), point) && !window->isDesktop()) return nullptr;
  for (Window* child : window->children) {
    if (contains(child->rect, point)) return child->handle;
  }
  return window->handle;
}
