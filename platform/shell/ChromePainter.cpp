#include "shell/ChromePainter.h"

#include "gdi/DeviceContext.h"

namespace shell {

namespace {

constexpr COLORREF kKeyFace = RGB(255, 255, 255);
constexpr COLORREF kKeyText = RGB(0, 0, 0);
constexpr COLORREF kKeyDown = RGB(0, 0, 0);
constexpr COLORREF kKeyDownText = RGB(255, 255, 255);

void fill(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void frame(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

void text(HDC dc, const std::u16string& s, RECT r, HFONT font, COLORREF color, UINT format) {
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, color);
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &r, format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, old);
}

// The "ok" button: a rounded white outline, filled when pressed.
void paintOk(HDC dc, const RECT& area, bool pressed, HFONT font) {
  RECT r{area.left + 2, area.top + 4, area.right - 3, area.bottom - 4};
  if (pressed) fill(dc, r, kNavTextColor);
  frame(dc, r, kNavTextColor);
  for (POINT corner : {POINT{r.left, r.top}, POINT{r.right - 1, r.top}, POINT{r.left, r.bottom - 1},
                       POINT{r.right - 1, r.bottom - 1}})
    SetPixel(dc, corner.x, corner.y, kNavBarColor);
  text(dc, u"ok", r, font, pressed ? kNavBarColor : kNavTextColor, DT_CENTER);
}

// A small keyboard: its outline, three rows of keys and the space bar.
void paintKeyboardGlyph(HDC dc, int left, int top, COLORREF ink) {
  frame(dc, {left, top, left + 17, top + 11}, ink);
  for (int row = 0; row < 3; ++row)
    for (int key = 0; key < 6; ++key) {
      int x = left + 2 + key * 2 + (row == 1 ? 1 : 0);
      if (row < 2) fill(dc, {x, top + 2 + row * 2, x + 1, top + 3 + row * 2}, ink);
    }
  fill(dc, {left + 4, top + 7, left + 13, top + 8}, ink);
}

// The arrow beside the glyph points where the panel would go.
void paintArrow(HDC dc, int left, int top, bool down, COLORREF ink) {
  for (int i = 0; i < 3; ++i) {
    int y = down ? top + i : top + 2 - i;
    fill(dc, {left + i, y, left + 5 - i, y + 1}, ink);
  }
}

}  // namespace

ChromeFonts::ChromeFonts()
    : title(CreateFontW(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma")),
      clock(CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma")),
      ok(CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma")),
      key(CreateFontW(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma")) {}

ChromeFonts::~ChromeFonts() {
  for (HFONT font : {title, clock, ok, key}) DeleteObject(font);
}

ScreenCanvas::ScreenCanvas(gdi::Region clip) : dc_(gdi::createDC(nullptr, {0, 0}, std::move(clip))) {}

ScreenCanvas::~ScreenCanvas() { gdi::deleteDC(dc_); }

void paintNavBar(HDC dc, const RECT& bar, const NavBarLook& look, const ChromeFonts& fonts) {
  fill(dc, bar, kNavBarColor);
  NavBarLayout layout = layoutNavBar(bar, look.ok);
  text(dc, look.title, layout.title, fonts.title, kNavTextColor, DT_LEFT | DT_END_ELLIPSIS);
  text(dc, look.clock, layout.clock, fonts.clock, kNavTextColor, DT_CENTER);
  if (look.ok) paintOk(dc, layout.ok, look.okPressed, fonts.ok);
}

void paintMenuStrip(HDC dc, const RECT& strip) {
  fill(dc, strip, GetSysColor(COLOR_BTNFACE));
  fill(dc, {strip.left, strip.top, strip.right, strip.top + 1}, GetSysColor(COLOR_BTNSHADOW));
}

void paintSipButton(HDC dc, const RECT& button, const SipButtonLook& look) {
  const COLORREF face = look.pressed ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_BTNFACE);
  const COLORREF ink = look.pressed ? GetSysColor(COLOR_BTNFACE) : GetSysColor(COLOR_BTNTEXT);
  fill(dc, button, face);
  fill(dc, {button.left, button.top, button.right, button.top + 1}, GetSysColor(COLOR_BTNSHADOW));
  const int width = 17 + 2 + 5;
  const int left = button.left + (button.right - button.left - width) / 2;
  const int top = button.top + (button.bottom - button.top - 11) / 2;
  paintKeyboardGlyph(dc, left, top, ink);
  paintArrow(dc, left + 19, top + 4, look.panelShown, ink);
}

void paintPanel(HDC dc, const RECT& panel, const std::vector<PlacedKey>& keys, int pressed, bool shift,
                const ChromeFonts& fonts) {
  fill(dc, panel, GetSysColor(COLOR_BTNFACE));
  for (size_t i = 0; i < keys.size(); ++i) {
    const PanelKey& key = *keys[i].key;
    const bool down = static_cast<int>(i) == pressed || (key.shift && shift);
    RECT face{keys[i].rect.left + 1, keys[i].rect.top + 1, keys[i].rect.right, keys[i].rect.bottom};
    fill(dc, face, down ? kKeyDown : kKeyFace);
    frame(dc, face, GetSysColor(COLOR_BTNSHADOW));
    std::u16string label = key.label ? key.label : std::u16string(1, shift ? key.shifted : key.plain);
    text(dc, label, face, fonts.key, down ? kKeyDownText : kKeyText, DT_CENTER);
  }
}

}  // namespace shell
