// Default processing of window messages.
#include <algorithm>
#include <cstring>
#include <utility>

#include "gdi/GdiObject.h"
#include "user/Activation.h"
#include "user/WindowClass.h"
#include "user/WindowManager.h"

using user::Window;
using user::WindowManager;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

LRESULT getText(Window& w, WPARAM size, LPARAM buffer) {
  auto* out = reinterpret_cast<WCHAR*>(buffer);
  if (!out || size == 0) return 0;
  size_t count = std::min(w.text.size(), static_cast<size_t>(size) - 1);
  std::memcpy(out, w.text.data(), count * sizeof(WCHAR));
  out[count] = 0;
  return static_cast<LRESULT>(count);
}

LRESULT eraseBackground(Window& w, HDC hdc) {
  HBRUSH brush = w.cls->background;
  if (!brush || !gdi::brushFromArgument(brush)) return 0;
  RECT area = w.clientArea();
  FillRect(hdc, &area, brush);
  return 1;
}

LRESULT controlColor(UINT msg, HDC hdc) {
  int background = COLOR_WINDOW;
  int text = COLOR_WINDOWTEXT;
  if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORDLG || msg == WM_CTLCOLORMSGBOX) {
    background = COLOR_STATIC;
    text = COLOR_STATICTEXT;
  } else if (msg == WM_CTLCOLORBTN) {
    background = COLOR_BTNFACE;
    text = COLOR_BTNTEXT;
  } else if (msg == WM_CTLCOLORSCROLLBAR) {
    background = COLOR_SCROLLBAR;
  }
  SetTextColor(hdc, GetSysColor(text));
  SetBkColor(hdc, GetSysColor(background));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

LRESULT hitTestCode(Window& w, LPARAM lParam) {
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  auto in = [&](const RECT& r) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; };
  RECT window = w.screenRect();
  if (!in(window)) return HTNOWHERE;
  RECT client = w.screenClient();
  if (in(client)) return HTCLIENT;
  if ((w.style & WS_VSCROLL) && p.x >= client.right && p.y >= client.top && p.y < client.bottom) return HTVSCROLL;
  if ((w.style & WS_HSCROLL) && p.y >= client.bottom && p.x >= client.left && p.x < client.right) return HTHSCROLL;
  if ((w.style & WS_CAPTION) == WS_CAPTION && p.y < client.top &&
      p.y >= window.top + GetSystemMetrics(SM_CYBORDER))
    return HTCAPTION;
  return HTBORDER;
}

void windowPosChanged(Window& w, const WINDOWPOS* pos) {
  if (!pos) return;
  if (!(pos->flags & SWP_NOCLIENTMOVE)) wm().call(&w, WM_MOVE, 0, MAKELPARAM(w.client.left, w.client.top));
  if (!(pos->flags & SWP_NOCLIENTSIZE) && !w.dead)
    wm().call(&w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w.clientWidth(), w.clientHeight()));
}

}  // namespace

LRESULT WINAPI DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* window = wm().fromHandle(hwnd);
  if (!window) return 0;
  Window& w = *window;
  user::WindowPin pin(window);
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w.text = cs->lpszName;
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SETTEXT: {
      auto* text = reinterpret_cast<const WCHAR*>(lParam);
      w.text = text ? text : u"";
      return TRUE;
    }
    case WM_GETTEXT:
      return getText(w, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w.text.size());
    case WM_SETICON: {
      HICON icon = reinterpret_cast<HICON>(lParam);
      if (wParam == ICON_SMALL) return reinterpret_cast<LRESULT>(std::exchange(w.smallIcon, icon));
      if (wParam == ICON_BIG) return reinterpret_cast<LRESULT>(std::exchange(w.bigIcon, icon));
      return 0;
    }
    case WM_GETICON:
      if (wParam == ICON_SMALL) return reinterpret_cast<LRESULT>(w.smallIcon);
      if (wParam == ICON_BIG) return reinterpret_cast<LRESULT>(w.bigIcon);
      return 0;
    case WM_ERASEBKGND:
      return eraseBackground(w, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return controlColor(msg, reinterpret_cast<HDC>(wParam));
    case WM_NCHITTEST:
      return hitTestCode(w, lParam);
    case WM_MOUSEACTIVATE:
      // A child asks its parent first.
      if (w.isChild() && w.parent) {
        LRESULT answer = SendMessageW(w.parent->handle, WM_MOUSEACTIVATE, wParam, lParam);
        if (answer) return answer;
      }
      return MA_ACTIVATE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hwnd);
      return 0;
    case WM_WINDOWPOSCHANGED:
      windowPosChanged(w, reinterpret_cast<const WINDOWPOS*>(lParam));
      return 0;
    case WM_SETREDRAW:
      // Redrawing off hides the window without a trace; on shows it again.
      if (wParam)
        w.style |= WS_VISIBLE;
      else
        w.style &= ~WS_VISIBLE;
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_NOTIFYFORMAT:
      return lParam == NF_QUERY ? NFR_UNICODE : 0;
    default:
      return 0;
  }
}
