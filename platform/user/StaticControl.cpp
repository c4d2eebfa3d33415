#include "user/StaticControl.h"

#include <string>

#include "kernel/Icons.h"
#include "user/ControlState.h"

namespace user {

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

UINT StaticControl::textFormat() const {
  DWORD style = controlStyle(hwnd_);
  UINT format = DT_EXPANDTABS;
  switch (type()) {
    case SS_CENTER:
      format |= DT_CENTER | DT_WORDBREAK;
      break;
    case SS_RIGHT:
      format |= DT_RIGHT | DT_WORDBREAK;
      break;
    case SS_LEFTNOWORDWRAP:
      format |= DT_LEFT;
      break;
    default:
      format |= DT_LEFT | DT_WORDBREAK;
      break;
  }
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_EDITCONTROL) format |= DT_EDITCONTROL;
  if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  return format;
}

void StaticControl::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (!hdc) return;
  if (font_) SelectObject(hdc, font_);
  RECT area;
  GetClientRect(hwnd_, &area);
  DWORD t = type();
  if (t == SS_BLACKFRAME) {
    FrameRect(hdc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(hwnd_, &ps);
    return;
  }
  // The parent's colours (WM_CTLCOLORSTATIC) also set the DC's text colours.
  FillRect(hdc, &area, backgroundBrush(hdc));
  if (controlStyle(hwnd_) & SS_SUNKEN) DrawEdge(hdc, &area, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  if (t == SS_ICON) {
    paintIcon(hdc, area);
  } else if (t != SS_BLACKRECT && t != SS_GRAYRECT && t != SS_WHITERECT && t != SS_BITMAP) {
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)), u'\0');
    GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()) + 1);
    if (!IsWindowEnabled(hwnd_)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(hdc, text.c_str(), -1, &area, textFormat());
  }
  EndPaint(hwnd_, &ps);
}

void StaticControl::paintIcon(HDC hdc, const RECT& area) {
  const kernel::Icon* icon = kernel::iconFromHandle(icon_);
  if (!icon) return;
  int x = area.left;
  int y = area.top;
  // Centred with SS_CENTERIMAGE, else at the top left at its own size.
  if (controlStyle(hwnd_) & SS_CENTERIMAGE) {
    x += (area.right - area.left - icon->width) / 2;
    y += (area.bottom - area.top - icon->height) / 2;
  }
  DrawIconEx(hdc, x, y, icon_, 0, 0, 0, nullptr, DI_NORMAL);
}

}  // namespace user
