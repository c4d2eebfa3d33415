#include "shell/MenuBar.h"

#include <aygshell.h>

#include "device/Device.h"
#include "device/Dump.h"
#include "user/ControlState.h"
#include "user/Menu.h"
#include "user/MenuTracker.h"
#include "user/TextMeasure.h"
#include "user/WindowManager.h"

namespace shell {

namespace {

bool contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

HFONT barFont() {
  // The process keeps it: bars come and go, their font stays.
  static HFONT font = CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma");
  return font;
}

void fill(HDC hdc, const RECT& r, int colorIndex) { FillRect(hdc, &r, GetSysColorBrush(colorIndex)); }

}  // namespace

MenuBar::~MenuBar() {
  if (content_.menu) DestroyMenu(content_.menu);
  if (content_.images) DeleteObject(content_.images);
}

void MenuBar::setup(HWND parent, MenuBarContent content, bool wholeStrip, bool shownByProgram) {
  parent_ = parent;
  content_ = std::move(content);
  wholeStrip_ = wholeStrip;
  shownByProgram_ = shownByProgram;
  RECT r = placement();
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  layout();
}

RECT MenuBar::placement() const {
  device::Device& device = device::Device::instance();
  return wholeStrip_ ? device.menuStripRect() : device.menuBarRect();
}

void MenuBar::followOwner() {
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  bool show = shownByProgram_ && owner && IsWindowVisible(owner) && GetForegroundWindow() == owner;
  RECT r = placement();
  RECT now;
  GetWindowRect(hwnd_, &now);
  bool moved = now.left != r.left || now.top != r.top || now.right != r.right || now.bottom != r.bottom;
  if (show == (IsWindowVisible(hwnd_) != FALSE) && !moved) return;
  // Shown above its owner, which keeps it above when raised; never active.
  SetWindowPos(hwnd_, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | (show ? 0 : SWP_NOZORDER));
  if (moved) layout();
}

void MenuBar::layout() {
  RECT area;
  GetClientRect(hwnd_, &area);
  int x = 0;
  for (MenuBarButton& button : content_.buttons) {
    button.rect = {};
    if (button.style & TBSTYLE_SEP) {
      x += kMenuBarSeparatorWidth;
      continue;
    }
    if (button.state & TBSTATE_HIDDEN) continue;
    int width = button.image != I_IMAGENONE ? kMenuBarImageButtonWidth
                                            : user::textWidth(user::menuTextAsRead(button.text), barFont()) +
                                                  2 * kMenuBarTextPadding;
    button.rect = {x, area.top + 1, x + width, area.bottom};
    x += width;
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int MenuBar::buttonAt(POINT point) const {
  for (size_t i = 0; i < content_.buttons.size(); ++i)
    if (content_.buttons[i].shown() && contains(content_.buttons[i].rect, point)) return static_cast<int>(i);
  return -1;
}

RECT MenuBar::onScreen(int index) const {
  RECT r = content_.buttons[static_cast<size_t>(index)].rect;
  MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::optional<RECT> MenuBar::buttonOnScreen(std::u16string_view text) const {
  for (size_t i = 0; i < content_.buttons.size(); ++i) {
    const MenuBarButton& button = content_.buttons[i];
    if (button.shown() && user::menuTextAsRead(button.text) == text) return onScreen(static_cast<int>(i));
  }
  return std::nullopt;
}

LRESULT MenuBar::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;  // the owner stays the foreground window
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      stylusDown(point);
      return 0;
    case WM_MOUSEMOVE:
      stylusMove(point);
      return 0;
    case WM_LBUTTONUP:
      stylusUp(point);
      return 0;
    case WM_CAPTURECHANGED:
      if (holding_ >= 0 && reinterpret_cast<HWND>(lParam) != hwnd_) {
        holding_ = -1;
        setPressed(-1);
      }
      return 0;
    case WM_SHOWWINDOW:
      // The program's own ShowWindow: the bar keeps to it.
      shownByProgram_ = wParam != FALSE;
      return 0;
    case WM_SETTINGCHANGE:
      followOwner();
      return 0;
    case SHCMBM_GETMENU:
      return reinterpret_cast<LRESULT>(content_.menu);
    case SHCMBM_GETSUBMENU:
      for (const MenuBarButton& button : content_.buttons)
        if (button.command == static_cast<UINT>(lParam) && button.popup) return reinterpret_cast<LRESULT>(button.popup);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // paint() fills every pixel
    case WM_PAINT:
      paint();
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

void MenuBar::setPressed(int index) {
  if (index == pressed_) return;
  pressed_ = index;
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

void MenuBar::stylusDown(POINT point) {
  int index = buttonAt(point);
  if (index < 0 || !content_.buttons[static_cast<size_t>(index)].enabled()) return;
  if (content_.buttons[static_cast<size_t>(index)].popup) {
    openPopups(index);
    return;
  }
  holding_ = index;
  SetCapture(hwnd_);
  setPressed(index);
}

void MenuBar::stylusMove(POINT point) {
  if (holding_ < 0) return;
  setPressed(buttonAt(point) == holding_ ? holding_ : -1);
}

void MenuBar::stylusUp(POINT point) {
  if (holding_ < 0) return;
  int index = holding_;
  bool over = buttonAt(point) == index;
  release();
  // A button acts when the stylus is lifted where it went down.
  if (over && IsWindow(parent_))
    SendMessageW(parent_, WM_COMMAND, MAKEWPARAM(content_.buttons[static_cast<size_t>(index)].command, 0),
                 reinterpret_cast<LPARAM>(hwnd_));
}

void MenuBar::release() {
  holding_ = -1;
  if (GetCapture() == hwnd_) ReleaseCapture();
  setPressed(-1);
}

void MenuBar::openPopups(int index) {
  while (index >= 0) {
    const MenuBarButton& button = content_.buttons[static_cast<size_t>(index)];
    setPressed(index);
    RECT r = onScreen(index);
    RECT bar;
    GetWindowRect(hwnd_, &bar);
    TPMPARAMS params{sizeof(TPMPARAMS), r};
    TrackPopupMenuEx(button.popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN, r.left, bar.top, parent_, &params);
    if (!IsWindow(hwnd_)) return;
    setPressed(-1);
    int opened = index;
    index = -1;
    if (auto tap = user::lastDismissingTap()) {
      POINT inBar = *tap;
      ScreenToClient(hwnd_, &inBar);
      int other = buttonAt(inBar);
      if (other >= 0 && other != opened && content_.buttons[static_cast<size_t>(other)].popup &&
          content_.buttons[static_cast<size_t>(other)].enabled())
        index = other;
    }
  }
}

void MenuBar::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (!hdc) return;
  RECT area;
  GetClientRect(hwnd_, &area);
  fill(hdc, area, COLOR_BTNFACE);
  fill(hdc, {area.left, area.top, area.right, area.top + 1}, COLOR_BTNSHADOW);
  HGDIOBJ oldFont = SelectObject(hdc, barFont());
  SetBkMode(hdc, TRANSPARENT);
  for (size_t i = 0; i < content_.buttons.size(); ++i)
    if (content_.buttons[i].shown()) paintButton(hdc, content_.buttons[i], static_cast<int>(i) == pressed_);
  SelectObject(hdc, oldFont);
  EndPaint(hwnd_, &ps);
}

// A pressed button, or one whose popup is open, shows inverted.
void MenuBar::paintButton(HDC hdc, const MenuBarButton& button, bool pressed) const {
  const RECT& r = button.rect;
  if (pressed) fill(hdc, r, COLOR_BTNTEXT);
  if (button.image == I_IMAGENONE) {
    std::u16string text = user::menuTextAsRead(button.text);
    SetTextColor(hdc, GetSysColor(!button.enabled() ? COLOR_GRAYTEXT : pressed ? COLOR_BTNFACE : COLOR_BTNTEXT));
    RECT box = r;
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &box, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    return;
  }
  if (!content_.images || button.image < 0 || button.image >= content_.imageCount) return;
  HDC source = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(source, content_.images);
  int x = r.left + (r.right - r.left - kMenuBarImageSize) / 2;
  int y = r.top + (r.bottom - r.top - kMenuBarImageSize) / 2;
  BitBlt(hdc, x, y, kMenuBarImageSize, kMenuBarImageSize, source, button.image * kMenuBarImageSize, 0,
         pressed ? NOTSRCCOPY : SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  if (!button.enabled()) {
    // Greyed: every other pixel takes the face colour.
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int dy = 0; dy < kMenuBarImageSize; ++dy)
      for (int dx = (dy & 1); dx < kMenuBarImageSize; dx += 2) SetPixel(hdc, x + dx, y + dy, face);
  }
}

void MenuBar::dump(const std::string& indent, std::string& out) const {
  if (content_.images)
    out += indent + "strip bitmap=" + std::to_string(content_.imagesId) + " images=" + std::to_string(content_.imageCount) + '\n';
  for (const MenuBarButton& button : content_.buttons) {
    if (!button.shown()) continue;
    out += indent + "button";
    if (button.image != I_IMAGENONE)
      out += " image=" + std::to_string(button.image);
    else
      out += " " + device::quoteText(button.text);
    out += " command=" + std::to_string(button.command);
    if (button.popup) out += " popup";
    if (!button.enabled()) out += " disabled";
    out += '\n';
  }
}

}  // namespace shell
