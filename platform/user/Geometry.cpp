#include "user/Geometry.h"

#include <utility>
#include <vector>

#include "user/Activation.h"
#include "user/Painter.h"
#include "user/WindowManager.h"

namespace user::geometry {

namespace {

WindowManager& wm() { return WindowManager::instance(); }

bool sameSize(const RECT& a, const RECT& b) {
  return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
}

bool restack(Window* window, HWND insertAfter) {
  if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)
    return wm().raise(window);
  if (insertAfter == HWND_BOTTOM) return wm().lower(window);
  Window* sibling = wm().fromHandle(insertAfter);
  return sibling && wm().placeBelow(window, sibling);
}

}  // namespace

bool setWindowPos(Window* window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (window->isDesktop()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  WindowPin pin(window);
  if (flags & SWP_NOMOVE) {
    x = window->rect.left;
    y = window->rect.top;
  }
  if (flags & SWP_NOSIZE) {
    cx = window->rect.right - window->rect.left;
    cy = window->rect.bottom - window->rect.top;
  }
  if ((flags & SWP_SHOWWINDOW) && window->visibleFlag()) flags &= ~SWP_SHOWWINDOW;
  if ((flags & SWP_HIDEWINDOW) && !window->visibleFlag()) flags &= ~SWP_HIDEWINDOW;

  WINDOWPOS pos{window->handle, insertAfter, x, y, cx < 0 ? 0 : cx, cy < 0 ? 0 : cy, flags};
  if (!(flags & SWP_NOSENDCHANGING)) {
    wm().call(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (window->dead) return false;
  }
  pos.cx = pos.cx < 0 ? 0 : pos.cx;
  pos.cy = pos.cy < 0 ? 0 : pos.cy;

  bool wasShowing = window->reallyVisible();
  RECT oldScreen = window->screenRect();
  RECT oldRect = window->rect;
  RECT oldClient = window->client;

  RECT rect = oldRect;
  if (!(pos.flags & SWP_NOMOVE)) rect = {pos.x, pos.y, pos.x + (rect.right - rect.left), pos.y + (rect.bottom - rect.top)};
  if (!(pos.flags & SWP_NOSIZE)) rect = {rect.left, rect.top, rect.left + pos.cx, rect.top + pos.cy};
  window->rect = rect;
  wm().updateClient(window);

  // Restacking uncovers parts of the window, or of siblings it goes below.
  std::vector<std::pair<Window*, gdi::Region>> shownBefore;
  if (!(pos.flags & SWP_NOZORDER) && window->parent)
    for (Window* sibling : window->parent->children)
      shownBefore.emplace_back(sibling, painter::visibleRegion(sibling, false, false));
  bool restacked = !(pos.flags & SWP_NOZORDER) && restack(window, pos.hwndInsertAfter);
  if (pos.flags & SWP_SHOWWINDOW) window->style |= WS_VISIBLE;
  if (pos.flags & SWP_HIDEWINDOW) window->style &= ~WS_VISIBLE;

  bool showing = window->reallyVisible();
  bool moved = oldRect.left != rect.left || oldRect.top != rect.top;
  bool resized = !sameSize(oldRect, rect) || !sameSize(oldClient, window->client);
  bool clientMoved = oldClient.left != window->client.left || oldClient.top != window->client.top;

  if (!(pos.flags & SWP_NOREDRAW) || (pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) {
    // Nothing is copied on the screen: what the window leaves is exposed and
    // the window repaints wherever it now is.
    if (wasShowing && (moved || resized || !showing)) painter::exposeScreen(oldScreen);
    if (showing && (moved || resized || (pos.flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED)) || !wasShowing))
      painter::invalidateAll(window);
    else if (showing && restacked)
      for (auto& [sibling, before] : shownBefore) painter::exposeGain(sibling, before);
  }

  if (pos.flags & SWP_HIDEWINDOW) Activation::instance().windowGoing(window);
  if (!(pos.flags & SWP_NOACTIVATE) && window->isTopLevel() && showing && !window->dead)
    Activation::instance().activate(window, WA_ACTIVE);
  if (window->dead) return true;

  if (!clientMoved && !moved) pos.flags |= SWP_NOCLIENTMOVE;
  if (!resized) pos.flags |= SWP_NOCLIENTSIZE;
  pos.x = window->rect.left;
  pos.y = window->rect.top;
  pos.cx = window->rect.right - window->rect.left;
  pos.cy = window->rect.bottom - window->rect.top;
  wm().call(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  return true;
}

bool showWindow(Window* window, int command) {
  WindowPin pin(window);
  bool wasVisible = window->visibleFlag();
  bool hide = command == SW_HIDE;
  bool activate = !hide && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE &&
                  command != SW_MINIMIZE && command != SW_SHOWMINIMIZED;
  if (hide == !wasVisible) {
    // Already in that state; a plain show still activates.
    if (activate && window->isTopLevel() && window->reallyVisible())
      Activation::instance().activate(window, WA_ACTIVE);
    return wasVisible;
  }
  wm().call(window, WM_SHOWWINDOW, hide ? FALSE : TRUE, 0);
  if (window->dead) return wasVisible;
  UINT flags = SWP_NOMOVE | SWP_NOSIZE | (hide ? SWP_HIDEWINDOW : SWP_SHOWWINDOW);
  if (!activate || window->isChild()) flags |= SWP_NOACTIVATE;
  if (window->isChild() || !activate) flags |= SWP_NOZORDER;
  setWindowPos(window, HWND_TOP, 0, 0, 0, 0, flags);
  return wasVisible;
}

}  // namespace user::geometry
