#include "user/StaticControl.h"

#include "user/ControlState.h"

namespace user {

LRESULT CALLBACK StaticControl::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  StaticControl* control = controlState<StaticControl>(hwnd);
  return control ? control->handle(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD StaticControl::type() const { return controlStyle(hwnd_) & SS_TYPEMASK; }

LRESULT StaticControl::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      return create(reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_SETTEXT:
      return setText(msg, wParam, lParam);
    case STM_SETICON:
      return reinterpret_cast<LRESULT>(setIcon(reinterpret_cast<HICON>(wParam)));
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(icon_);
    case WM_LBUTTONDOWN:
      tap(STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
      tap(STN_DBLCLK);
      return 0;
    case WM_ENABLE:
      enable(wParam != FALSE);
      return 0;
    case WM_SETFONT:
      setFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_ERASEBKGND:
      return 1;  // the background is painted with the parent's colours in paint()
    case WM_PAINT:
      paint();
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

LRESULT StaticControl::create(const CREATESTRUCTW* cs) {
  // An icon static names its icon resource in the window text.
  if (type() == SS_ICON && cs && cs->lpszName && cs->hInstance) {
    LPCWSTR name = cs->lpszName;
    if (name[0] == 0xFFFF) name = MAKEINTRESOURCEW(name[1]);
    if (HICON icon = LoadIconW(cs->hInstance, name)) setIcon(icon);
  }
  return 0;
}

LRESULT StaticControl::setText(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = DefWindowProcW(hwnd_, msg, wParam, lParam);
  InvalidateRect(hwnd_, nullptr, TRUE);
  return result;
}

HICON StaticControl::setIcon(HICON icon) {
  HICON previous = icon_;
  icon_ = icon;
  InvalidateRect(hwnd_, nullptr, TRUE);
  return previous;
}

void StaticControl::tap(UINT code) {
  if (controlStyle(hwnd_) & SS_NOTIFY) notifyParent(hwnd_, code);
}

void StaticControl::enable(bool enabled) {
  if (controlStyle(hwnd_) & SS_NOTIFY) notifyParent(hwnd_, enabled ? STN_ENABLE : STN_DISABLE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void StaticControl::setFont(HFONT font, bool redraw) {
  font_ = font;
  if (redraw) InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH StaticControl::backgroundBrush(HDC hdc) {
  switch (type()) {
    case SS_BLACKRECT:
      return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    case SS_GRAYRECT:
      return static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    case SS_WHITERECT:
      return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    default:
      break;
  }
  HWND parent = GetParent(hwnd_);
  LRESULT brush = parent ? SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                        reinterpret_cast<LPARAM>(hwnd_))
                         : 0;
  if (!brush) brush = DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                     reinterpret_cast<LPARAM>(hwnd_));
  return reinterpret_cast<HBRUSH>(brush);
}

void StaticControl::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (!hdc) return;
  if (font_) SelectObject(hdc, font_);
  RECT area;
  GetClientRect(hwnd_, &area);
  if (type() != SS_BLACKFRAME) FillRect(hdc, &area, backgroundBrush(hdc));
  EndPaint(hwnd_, &ps);
}

}  // namespace user
