// Relations between windows: parents, owners, siblings, enumeration, lookup.
#include <algorithm>

#include "device/Bus.h"
#include "user/Activation.h"
#include "user/Painter.h"
#include "user/RemoteWindows.h"
#include "user/WindowManager.h"

using user::Window;
using user::WindowManager;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

HWND handleOf(const Window* w) { return w ? w->handle : nullptr; }

std::vector<HWND> handles(const std::vector<Window*>& windows) {
  std::vector<HWND> out;
  for (Window* w : windows) out.push_back(w->handle);
  return out;
}

}  // namespace

HWND WINAPI GetDesktopWindow() { return wm().desktop()->handle; }

HWND WINAPI GetWindow(HWND hwnd, UINT command) {
  Window* window = wm().checked(hwnd);
  if (!window) return nullptr;
  if (command == GW_CHILD) return window->children.empty() ? nullptr : window->children.front()->handle;
  if (command == GW_OWNER) return handleOf(window->owner);
  if (!window->parent) return nullptr;
  const auto& siblings = window->parent->children;
  auto self = std::find(siblings.begin(), siblings.end(), window);
  switch (command) {
    case GW_HWNDFIRST:
      return siblings.front()->handle;
    case GW_HWNDLAST:
      return siblings.back()->handle;
    case GW_HWNDNEXT:
      return self + 1 == siblings.end() ? nullptr : (*(self + 1))->handle;
    case GW_HWNDPREV:
      return self == siblings.begin() ? nullptr : (*(self - 1))->handle;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

HWND WINAPI GetParent(HWND hwnd) {
  Window* window = wm().checked(hwnd);
  if (!window) return nullptr;
  if (window->isChild()) return handleOf(window->parent);
  if (window->style & WS_POPUP) return handleOf(window->owner);
  return nullptr;
}

HWND WINAPI SetParent(HWND child, HWND newParent) {
  Window* window = wm().checked(child);
  if (!window || window->isDesktop()) return nullptr;
  Window* parent = newParent ? wm().checked(newParent) : wm().desktop();
  if (!parent) return nullptr;
  if (parent == window || parent->isDescendantOf(window)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Window* old = window->parent;
  if (old == parent) return old->handle;
  bool wasShowing = window->reallyVisible();
  RECT before = window->screenRect();
  wm().unlink(window);
  wm().linkChild(window, parent, true);
  if (parent->isDesktop()) window->owner = nullptr;
  if (wasShowing) user::painter::exposeScreen(before);
  user::painter::invalidateAll(window);
  return old->handle;
}

HWND WINAPI GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD); }

BOOL WINAPI EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  for (HWND hwnd : handles(wm().topLevelWindows()))
    if (wm().fromHandle(hwnd) && !proc(hwnd, lParam)) return FALSE;
  return TRUE;
}

BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  Window* window = parent ? wm().checked(parent) : wm().desktop();
  if (!window || !proc) return FALSE;
  std::vector<Window*> all;
  WindowManager::collectDescendants(window, all);
  for (HWND hwnd : handles(all))
    if (wm().fromHandle(hwnd) && !proc(hwnd, lParam)) return FALSE;
  return TRUE;
}

HWND WINAPI FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  if (HWND local = user::findLocalWindow(className, windowName)) return local;
  if (className && IS_INTRESOURCE(className)) return nullptr;
  auto remote = device::Bus::instance().findRemote(className ? className : u"", windowName ? windowName : u"");
  return remote ? user::remoteWindowHandle(*remote) : nullptr;
}
