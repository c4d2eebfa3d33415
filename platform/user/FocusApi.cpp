// Focus, activation, foreground, capture and the state of keys and stylus.
#include "user/Activation.h"
#include "user/InputRouter.h"
#include "user/RemoteWindows.h"
#include "user/WindowManager.h"

using user::Activation;
using user::Window;
using user::WindowManager;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

}  // namespace

HWND WINAPI SetFocus(HWND hwnd) {
  Window* window = nullptr;
  if (hwnd) {
    window = wm().checked(hwnd);
    if (!window || window->isDesktop()) return nullptr;
  }
  HWND previous = nullptr;
  return Activation::instance().setFocus(window, previous) ? previous : nullptr;
}

HWND WINAPI GetFocus() { return Activation::instance().focus(); }

HWND WINAPI SetActiveWindow(HWND hwnd) {
  Window* window = wm().checked(hwnd);
  if (!window || window->isDesktop()) return nullptr;
  HWND previous = Activation::instance().active();
  Window* top = window->topLevel();
  if (!top->visibleFlag() || !top->enabledFlag()) return nullptr;
  Activation::instance().activate(top, WA_ACTIVE);
  return previous;
}

HWND WINAPI GetActiveWindow() { return Activation::instance().active(); }

BOOL WINAPI SetForegroundWindow(HWND hwnd) {
  if (user::isRemoteWindow(hwnd)) return user::raiseRemoteWindow(hwnd) ? TRUE : FALSE;
  Window* window = wm().checked(hwnd);
  if (!window || window->isDesktop()) return FALSE;
  Activation::instance().activate(window->topLevel(), WA_ACTIVE);
  return TRUE;
}

HWND WINAPI GetForegroundWindow() { return Activation::instance().active(); }

HWND WINAPI SetCapture(HWND hwnd) {
  Window* window = wm().checked(hwnd);
  if (!window || window->isDesktop()) return nullptr;
  return Activation::instance().setCapture(window);
}

BOOL WINAPI ReleaseCapture() { return Activation::instance().releaseCapture() ? TRUE : FALSE; }

HWND WINAPI GetCapture() { return Activation::instance().capture(); }

SHORT WINAPI GetKeyState(int virtKey) { return user::InputRouter::instance().keyState(virtKey); }

SHORT WINAPI GetAsyncKeyState(int virtKey) {
  return static_cast<SHORT>(user::InputRouter::instance().keyState(virtKey) & 0x8000);
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = user::InputRouter::instance().cursor();
  return TRUE;
}

// The device's speaker has no counterpart on the host.
BOOL WINAPI MessageBeep(UINT) { return TRUE; }
