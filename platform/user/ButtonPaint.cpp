#include "user/ButtonPaint.h"

#include <algorithm>

#include "kernel/Icons.h"

namespace user {

namespace {

DWORD typeOf(const ButtonLook& look) { return look.style & BS_TYPEMASK; }

bool isPush(const ButtonLook& look) {
  DWORD t = typeOf(look);
  return t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON || t == BS_OWNERDRAW || (look.style & BS_PUSHLIKE);
}

bool isRadio(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

HBRUSH parentColours(HWND button, HDC hdc, UINT msg) {
  HWND parent = GetParent(button);
  auto brush = parent ? reinterpret_cast<HBRUSH>(SendMessageW(parent, msg, reinterpret_cast<WPARAM>(hdc),
                                                              reinterpret_cast<LPARAM>(button)))
                      : nullptr;
  if (!brush)
    brush = reinterpret_cast<HBRUSH>(
        DefWindowProcW(button, msg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(button)));
  return brush;
}

// The label's DrawTextW format from the button's alignment styles; centre
// is the default of push buttons, left that of the others.
UINT labelFormat(const ButtonLook& look, bool push) {
  UINT format = (look.style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  DWORD horizontal = look.style & BS_CENTER;
  if (horizontal == BS_CENTER || (horizontal == 0 && push))
    format |= DT_CENTER;
  else if (horizontal == BS_RIGHT)
    format |= DT_RIGHT;
  DWORD vertical = look.style & BS_VCENTER;
  if (vertical == BS_TOP)
    format |= DT_TOP;
  else if (vertical == BS_BOTTOM)
    format |= DT_BOTTOM;
  else
    format |= DT_VCENTER;
  return format;
}

// Draws the label inside box; returns the rectangle the text took.
RECT drawLabel(HDC hdc, const ButtonLook& look, const RECT& box, UINT format) {
  RECT bounds = box;
  DrawTextW(hdc, look.text.c_str(), -1, &bounds, (format & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  int width = bounds.right - bounds.left;
  int height = bounds.bottom - bounds.top;
  RECT place = box;
  // A label of several lines is placed as a block; one line DrawTextW places.
  if (format & DT_WORDBREAK) {
    if (format & DT_VCENTER) place.top = box.top + (box.bottom - box.top - height) / 2;
    if (format & DT_BOTTOM) place.top = box.bottom - height;
    place.bottom = place.top + height;
  }
  if (!look.enabled) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(hdc, TRANSPARENT);
  DrawTextW(hdc, look.text.c_str(), -1, &place, format);
  int left = box.left;
  if (format & DT_CENTER)
    left = box.left + (box.right - box.left - width) / 2;
  else if (format & DT_RIGHT)
    left = box.right - width;
  int top = place.top;
  if (!(format & DT_WORDBREAK)) {
    if (format & DT_VCENTER)
      top = box.top + (box.bottom - box.top - height) / 2;
    else if (format & DT_BOTTOM)
      top = box.bottom - height;
  }
  return {left, top, left + width, top + height};
}

// An icon or a bitmap in place of the label, centred.
bool drawImage(HDC hdc, const ButtonLook& look, const RECT& box) {
  if (!look.image) return false;
  int w = box.right - box.left, h = box.bottom - box.top;
  if (look.style & BS_ICON) {
    const kernel::Icon* icon = kernel::iconFromHandle(static_cast<HICON>(look.image));
    if (!icon) return false;
    return DrawIconEx(hdc, box.left + (w - icon->width) / 2, box.top + (h - icon->height) / 2,
                      static_cast<HICON>(look.image), 0, 0, 0, nullptr, DI_NORMAL) != FALSE;
  }
  if (look.style & BS_BITMAP) {
    BITMAP bm{};
    if (!GetObjectW(look.image, sizeof(bm), &bm)) return false;
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(memory, look.image);
    BitBlt(hdc, box.left + (w - bm.bmWidth) / 2, box.top + (h - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, memory, 0,
           0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return true;
  }
  return false;
}

void paintPush(HDC hdc, const RECT& area, const ButtonLook& look) {
  RECT face = area;
  bool pressed = look.pushed || ((look.style & BS_PUSHLIKE) && look.check != BST_UNCHECKED);
  if (typeOf(look) == BS_DEFPUSHBUTTON) {
    // The default button wears a black frame outside its edges.
    FrameRect(hdc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&face, -1, -1);
  }
  UINT state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0) | (look.enabled ? 0 : DFCS_INACTIVE);
  DrawFrameControl(hdc, &face, DFC_BUTTON, state);
  SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
  RECT label = face;
  InflateRect(&label, -1, -1);
  if (pressed) OffsetRect(&label, 1, 1);
  if (!drawImage(hdc, look, label)) drawLabel(hdc, look, label, labelFormat(look, true));
  if (look.focused) {
    RECT focus = face;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(hdc, &focus);
  }
}

void paintCheck(HDC hdc, const RECT& area, const ButtonLook& look) {
  DWORD type = typeOf(look);
  bool leftText = (look.style & BS_LEFTTEXT) != 0;
  int top = area.top + (area.bottom - area.top - kCheckBoxSize) / 2;
  int boxLeft = leftText ? area.right - kCheckBoxSize : area.left;
  RECT box{boxLeft, top, boxLeft + kCheckBoxSize, top + kCheckBoxSize};
  UINT state = isRadio(type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
  if (look.check == BST_CHECKED) state |= DFCS_CHECKED;
  if (look.check == BST_INDETERMINATE) state |= DFCS_CHECKED | DFCS_BUTTON3STATE;
  if (look.pushed) state |= DFCS_PUSHED;
  if (!look.enabled) state |= DFCS_INACTIVE;
  DrawFrameControl(hdc, &box, DFC_BUTTON, state);

  RECT label = area;
  if (leftText)
    label.right = box.left - kCheckLabelGap;
  else
    label.left = box.right + kCheckLabelGap;
  RECT text = drawLabel(hdc, look, label, labelFormat(look, false));
  if (look.focused && !look.text.empty()) {
    InflateRect(&text, 1, 1);
    text = {std::max(text.left, area.left), std::max(text.top, area.top), std::min(text.right, area.right),
            std::min(text.bottom, area.bottom)};
    DrawFocusRect(hdc, &text);
  }
}

void paintGroup(HDC hdc, const RECT& area, const ButtonLook& look, HBRUSH background) {
  // The frame runs through the middle of the title; the inside is the
  // parent's (controls inside the group are drawn over it).
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc, &tm);
  RECT frame = area;
  frame.top += tm.tmHeight / 2;
  DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
  if (look.text.empty()) return;
  constexpr int kIndent = 6;
  constexpr int kPad = 2;
  RECT title{area.left + kIndent, area.top, area.right - kIndent, area.top + tm.tmHeight};
  RECT bounds = title;
  DrawTextW(hdc, look.text.c_str(), -1, &bounds, DT_SINGLELINE | DT_CALCRECT);
  RECT plate{title.left, title.top, std::min(title.right, bounds.right + 2 * kPad), title.bottom};
  FillRect(hdc, &plate, background);
  title.left += kPad;
  title.right = plate.right;
  drawLabel(hdc, look, title, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_END_ELLIPSIS);
}

}  // namespace

void paintButton(HWND button, HDC hdc, const RECT& area, const ButtonLook& look) {
  DWORD type = typeOf(look);
  if (isPush(look)) {
    // Push buttons ask, but always wear the system's button colours.
    parentColours(button, hdc, WM_CTLCOLORBTN);
    paintPush(hdc, area, look);
    return;
  }
  // Boxes, radio buttons and group boxes sit on the parent's background as
  // its static text does.
  HBRUSH background = parentColours(button, hdc, WM_CTLCOLORSTATIC);
  if (type == BS_GROUPBOX) {
    paintGroup(hdc, area, look, background);
    return;
  }
  FillRect(hdc, &area, background);
  paintCheck(hdc, area, look);
}

}  // namespace user
