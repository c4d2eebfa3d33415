#include "user/ButtonControl.h"

#include <utility>

#include "user/ButtonPaint.h"
#include "user/ControlState.h"

namespace user {

DWORD ButtonControl::type() const { return controlStyle(hwnd_) & BS_TYPEMASK; }

bool ButtonControl::isRadio() const { return type() == BS_RADIOBUTTON || type() == BS_AUTORADIOBUTTON; }

bool ButtonControl::isCheckable() const {
  DWORD t = type();
  return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE || isRadio();
}

LRESULT ButtonControl::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      stylusDown();
      return 0;
    case WM_MOUSEMOVE:
      stylusMove(lParam);
      return 0;
    case WM_LBUTTONUP:
      stylusUp(lParam);
      return 0;
    case WM_CAPTURECHANGED:
      captureLost();
      return 0;
    case WM_KEYDOWN:
      keyDown(wParam);
      return 0;
    case WM_KEYUP:
      keyUp(wParam);
      return 0;
    case WM_SETFOCUS:
      focusChanged(true);
      return 0;
    case WM_KILLFOCUS:
      focusChanged(false);
      return 0;
    case BM_GETCHECK:
      return isCheckable() ? check_ : BST_UNCHECKED;
    case BM_SETCHECK:
      setCheck(wParam);
      return 0;
    case BM_GETSTATE:
      return (isCheckable() ? check_ : 0) | (pushed_ ? BST_PUSHED : 0) | (focused_ ? BST_FOCUS : 0);
    case BM_SETSTATE:
      setPushed(wParam != FALSE);
      return 0;
    case BM_SETSTYLE:
      setStyle(wParam, LOWORD(lParam) != 0);
      return 0;
    case BM_CLICK:
      click();
      return 0;
    case BM_SETIMAGE:
      InvalidateRect(hwnd_, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(std::exchange(image_, reinterpret_cast<HANDLE>(lParam)));
    case BM_GETIMAGE:
      return reinterpret_cast<LRESULT>(image_);
    case WM_GETDLGCODE:
      return dialogCode();
    case WM_SETFONT:
      setFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT:
    case WM_ENABLE: {
      LRESULT result = DefWindowProcW(hwnd_, msg, wParam, lParam);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return result;
    }
    case WM_ERASEBKGND:
      return 1;  // painted with the button's colours in paint()
    case WM_PAINT:
      paint();
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

bool ButtonControl::inside(LPARAM lParam) const {
  RECT area;
  GetClientRect(hwnd_, &area);
  POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return PtInRect(&area, p) != FALSE;
}

void ButtonControl::stylusDown() {
  if (type() == BS_GROUPBOX) return;
  SetFocus(hwnd_);
  if (!IsWindow(hwnd_)) return;
  SetCapture(hwnd_);
  tracking_ = true;
  setPushed(true);
}

void ButtonControl::stylusMove(LPARAM lParam) {
  if (tracking_) setPushed(inside(lParam));
}

void ButtonControl::stylusUp(LPARAM lParam) {
  if (!tracking_) return;
  tracking_ = false;
  bool clicked = inside(lParam);
  setPushed(false);
  ReleaseCapture();
  if (!clicked) return;
  if (type() == BS_AUTOCHECKBOX) setCheck(check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  if (type() == BS_AUTO3STATE) setCheck((check_ + 1) % 3);
  if (type() == BS_AUTORADIOBUTTON) checkInGroup();
  notifyParent(hwnd_, BN_CLICKED);
}

void ButtonControl::captureLost() {
  if (!tracking_) return;
  tracking_ = false;
  setPushed(false);
}

void ButtonControl::keyDown(WPARAM key) {
  if (key == VK_SPACE && type() != BS_GROUPBOX) setPushed(true);
}

void ButtonControl::keyUp(WPARAM key) {
  if (key != VK_SPACE || !pushed_) return;
  setPushed(false);
  if (type() == BS_AUTOCHECKBOX) setCheck(check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  if (type() == BS_AUTO3STATE) setCheck((check_ + 1) % 3);
  if (type() == BS_AUTORADIOBUTTON) checkInGroup();
  notifyParent(hwnd_, BN_CLICKED);
}

void ButtonControl::click() {
  // As a tap would: press and release inside.
  if (!IsWindowEnabled(hwnd_)) return;
  SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  if (IsWindow(hwnd_)) SendMessageW(hwnd_, WM_LBUTTONUP, 0, 0);
}

void ButtonControl::setCheck(WPARAM check) {
  if (!isCheckable()) return;
  UINT next = static_cast<UINT>(check) & (BST_CHECKED | BST_INDETERMINATE);
  if (next == BST_INDETERMINATE && type() != BS_3STATE && type() != BS_AUTO3STATE) next = BST_CHECKED;
  // The checked radio button of a group is the one Tab stops at.
  if (isRadio()) {
    LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    SetWindowLongW(hwnd_, GWL_STYLE, next ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
  if (next == check_) return;
  check_ = next;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ButtonControl::checkInGroup() {
  // The group runs from the nearest sibling with WS_GROUP at or before this
  // button to the next one with WS_GROUP.
  HWND first = hwnd_;
  while (!(GetWindowLongW(first, GWL_STYLE) & WS_GROUP)) {
    HWND previous = GetWindow(first, GW_HWNDPREV);
    if (!previous) break;
    first = previous;
  }
  for (HWND w = first; w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w != first && (GetWindowLongW(w, GWL_STYLE) & WS_GROUP)) break;
    if (w == hwnd_) continue;
    if (SendMessageW(w, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) SendMessageW(w, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  setCheck(BST_CHECKED);
}

void ButtonControl::setPushed(bool pushed) {
  if (pushed == pushed_) return;
  pushed_ = pushed;
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ButtonControl::setStyle(WPARAM style, bool redraw) {
  LONG current = GetWindowLongW(hwnd_, GWL_STYLE);
  SetWindowLongW(hwnd_, GWL_STYLE, (current & ~BS_TYPEMASK) | (static_cast<LONG>(style) & BS_TYPEMASK));
  if (redraw) InvalidateRect(hwnd_, nullptr, TRUE);
}

void ButtonControl::focusChanged(bool focused) {
  focused_ = focused;
  if (!focused && pushed_) {
    tracking_ = false;
    setPushed(false);
    if (GetCapture() == hwnd_) ReleaseCapture();
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
  if (controlStyle(hwnd_) & BS_NOTIFY) notifyParent(hwnd_, focused ? BN_SETFOCUS : BN_KILLFOCUS);
}

LRESULT ButtonControl::dialogCode() const {
  switch (type()) {
    case BS_PUSHBUTTON:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
      return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
      return DLGC_STATIC;
    default:
      return DLGC_BUTTON;
  }
}

void ButtonControl::setFont(HFONT font, bool redraw) {
  font_ = font;
  if (redraw) InvalidateRect(hwnd_, nullptr, TRUE);
}

void ButtonControl::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (!hdc) return;
  if (font_) SelectObject(hdc, font_);
  ButtonLook look;
  look.style = controlStyle(hwnd_);
  look.check = isCheckable() ? check_ : BST_UNCHECKED;
  look.pushed = pushed_;
  look.focused = focused_;
  look.enabled = IsWindowEnabled(hwnd_) != FALSE;
  look.image = image_;
  look.text.resize(static_cast<size_t>(GetWindowTextLengthW(hwnd_)));
  GetWindowTextW(hwnd_, look.text.data(), static_cast<int>(look.text.size()) + 1);
  RECT area;
  GetClientRect(hwnd_, &area);
  paintButton(hwnd_, hdc, area, look);
  EndPaint(hwnd_, &ps);
}

}  // namespace user
