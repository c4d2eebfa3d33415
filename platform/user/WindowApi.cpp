// Creating and destroying windows, their state, words and text.
#include <cstring>

#include "user/Painter.h"
#include "user/RemoteWindows.h"
#include "user/WindowClass.h"
#include "user/WindowManager.h"
#include "user/Activation.h"

using user::Window;
using user::WindowManager;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

template <typename T>
bool readExtra(const Window& w, int index, T& value) {
  if (index < 0 || static_cast<size_t>(index) + sizeof(T) > w.extra.size()) return false;
  std::memcpy(&value, w.extra.data() + index, sizeof(T));
  return true;
}

template <typename T>
bool writeExtra(Window& w, int index, T value, T& previous) {
  if (!readExtra(w, index, previous)) return false;
  std::memcpy(w.extra.data() + index, &value, sizeof(T));
  return true;
}

LONG_PTR parentWord(const Window& w) {
  const Window* related = w.isChild() ? w.parent : w.owner;
  return reinterpret_cast<LONG_PTR>(related ? related->handle : nullptr);
}

// GWL_STYLE and GWL_EXSTYLE changes are announced before and after.
DWORD changeStyle(Window& w, int index, DWORD value) {
  DWORD& field = index == GWL_STYLE ? w.style : w.exStyle;
  STYLESTRUCT change{field, value};
  wm().call(&w, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
  if (w.dead) return change.styleOld;
  DWORD previous = field;
  field = change.styleNew;
  wm().call(&w, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
  return previous;
}

bool getWord(const Window& w, int index, LONG_PTR& value) {
  switch (index) {
    case GWLP_WNDPROC:
      value = reinterpret_cast<LONG_PTR>(w.proc);
      return true;
    case GWLP_HINSTANCE:
      value = reinterpret_cast<LONG_PTR>(w.instance);
      return true;
    case GWLP_HWNDPARENT:
      value = parentWord(w);
      return true;
    case GWLP_ID:
      value = static_cast<LONG_PTR>(w.id);
      return true;
    case GWL_STYLE:
      value = static_cast<LONG>(w.style);
      return true;
    case GWL_EXSTYLE:
      value = static_cast<LONG>(w.exStyle);
      return true;
    case GWLP_USERDATA:
      value = w.userData;
      return true;
    default:
      return false;
  }
}

bool setWord(Window& w, int index, LONG_PTR value, LONG_PTR& previous) {
  if (!getWord(w, index, previous)) return false;
  switch (index) {
    case GWLP_WNDPROC:
      w.proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GWLP_HINSTANCE:
      w.instance = reinterpret_cast<HINSTANCE>(value);
      break;
    case GWLP_HWNDPARENT:
      if (!w.isChild()) {
        Window* owner = wm().fromHandle(reinterpret_cast<HWND>(value));
        w.owner = owner && !owner->isDesktop() && owner != &w ? owner->topLevel() : nullptr;
      }
      break;
    case GWLP_ID:
      w.id = static_cast<UINT_PTR>(value);
      break;
    case GWL_STYLE:
    case GWL_EXSTYLE:
      previous = static_cast<LONG>(changeStyle(w, index, static_cast<DWORD>(value)));
      break;
    case GWLP_USERDATA:
      w.userData = value;
      break;
  }
  return true;
}

}  // namespace

HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  user::CreateArgs args{exStyle, className, windowName, style, x, y, width, height, parent, menu, instance, param};
  return wm().create(args);
}

BOOL WINAPI DestroyWindow(HWND hwnd) {
  Window* window = wm().checked(hwnd);
  return window && wm().destroy(window) ? TRUE : FALSE;
}

BOOL WINAPI IsWindow(HWND hwnd) { return wm().fromHandle(hwnd) || user::isRemoteWindow(hwnd) ? TRUE : FALSE; }

BOOL WINAPI IsWindowVisible(HWND hwnd) {
  Window* window = wm().fromHandle(hwnd);
  return window && window->reallyVisible() ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd) {
  Window* window = wm().fromHandle(hwnd);
  return window && window->enabledFlag() ? TRUE : FALSE;
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable) {
  Window* window = wm().checked(hwnd);
  if (!window) return FALSE;
  BOOL wasDisabled = window->enabledFlag() ? FALSE : TRUE;
  if (bool(enable) == !wasDisabled) return wasDisabled;
  user::WindowPin pin(window);
  if (enable) {
    window->style &= ~WS_DISABLED;
  } else {
    window->style |= WS_DISABLED;
    user::Activation& activation = user::Activation::instance();
    Window* focus = wm().fromHandle(activation.focus());
    if (focus && (focus == window || focus->isDescendantOf(window))) {
      HWND ignored;
      activation.setFocus(nullptr, ignored);
    }
    Window* capture = wm().fromHandle(activation.capture());
    if (capture && (capture == window || capture->isDescendantOf(window))) activation.releaseCapture();
  }
  if (!window->dead) wm().call(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL WINAPI IsChild(HWND parent, HWND hwnd) {
  Window* ancestor = wm().fromHandle(parent);
  Window* w = wm().fromHandle(hwnd);
  if (!ancestor || !w) return FALSE;
  while (w->isChild() && w->parent) {
    w = w->parent;
    if (w == ancestor) return TRUE;
  }
  return FALSE;
}

LONG_PTR WINAPI GetWindowLongPtrW(HWND hwnd, int index) {
  Window* window = wm().checked(hwnd);
  if (!window) return 0;
  LONG_PTR value = 0;
  if (getWord(*window, index, value) || readExtra(*window, index, value)) return value;
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  Window* window = wm().checked(hwnd);
  if (!window) return 0;
  user::WindowPin pin(window);
  LONG_PTR previous = 0;
  if (setWord(*window, index, value, previous) || writeExtra(*window, index, value, previous)) return previous;
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

// The 32-bit forms cannot carry a procedure's address on this host, as on
// 64-bit Windows; everything else keeps its low 32 bits.
LONG WINAPI GetWindowLongW(HWND hwnd, int index) {
  Window* window = wm().checked(hwnd);
  if (!window) return 0;
  LONG_PTR value = 0;
  if (index != GWL_WNDPROC && getWord(*window, index, value)) return static_cast<LONG>(value);
  LONG word = 0;
  if (readExtra(*window, index, word)) return word;
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LONG WINAPI SetWindowLongW(HWND hwnd, int index, LONG value) {
  Window* window = wm().checked(hwnd);
  if (!window) return 0;
  user::WindowPin pin(window);
  LONG_PTR previous = 0;
  if (index != GWL_WNDPROC && setWord(*window, index, value, previous)) return static_cast<LONG>(previous);
  LONG word = 0;
  if (writeExtra(*window, index, value, word)) return word;
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}

LRESULT WINAPI CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  Window* window = wm().fromHandle(hwnd);
  if (!window) return proc(hwnd, msg, wParam, lParam);
  user::WindowPin pin(window);
  return proc(hwnd, msg, wParam, lParam);
}

int WINAPI GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount) {
  Window* window = wm().checked(hwnd);
  if (!window || !text || maxCount <= 0) return 0;
  text[0] = 0;
  LRESULT copied = wm().call(window, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(text));
  if (copied < 0) copied = 0;
  if (copied > maxCount - 1) copied = maxCount - 1;
  text[copied] = 0;
  return static_cast<int>(copied);
}

int WINAPI GetWindowTextLengthW(HWND hwnd) {
  Window* window = wm().checked(hwnd);
  return window ? static_cast<int>(wm().call(window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}

BOOL WINAPI SetWindowTextW(HWND hwnd, LPCWSTR text) {
  Window* window = wm().checked(hwnd);
  return window && wm().call(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}
