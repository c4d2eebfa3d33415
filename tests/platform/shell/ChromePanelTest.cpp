// The input panel: its button in the menu-bar strip, its keyboard and what
// it types, and the windows it covers.
#include <aygshell.h>

#include "ChromeHarness.h"

namespace chrometest {
namespace {

using Type = display::InputEvent::Type;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr RECT kAboveMenuBar{0, 26, 240, 294};

device::Device& dev() { return device::Device::instance(); }
RECT sipButton() { return shell::sipButtonRect(dev().menuStripRect()); }
int area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

// The key of the panel that types c, or is labelled so.
RECT keyFor(char16_t c, const char16_t* label = nullptr) {
  for (const shell::PlacedKey& placed : chrome().panelKeys()) {
    const shell::PanelKey& key = *placed.key;
    if (label ? (key.label && std::u16string(key.label) == label) : (!key.vk && !key.shift && key.plain == c))
      return placed.rect;
  }
  ADD_FAILURE() << "no key for " << static_cast<int>(c);
  return {};
}

using PanelTest = ChromeTest;

TEST_F(PanelTest, TheButtonShowsAndHidesThePanelAndWindowsFollowOrArePaintedAgain) {
  HWND main = window(u"Vantor", kAboveMenuBar, kRed, WS_EX_CAPTIONOKBTN, true);
  settle();
  const RECT panel = dev().sipRect();
  EXPECT_EQ(countColour(panel, kRed), area(panel));
  tap(centre(sipButton()));
  settle();
  EXPECT_TRUE(dev().sipVisible());
  ASSERT_EQ(receivedOf(WM_SETTINGCHANGE).size(), 1u);
  EXPECT_EQ(receivedOf(WM_SETTINGCHANGE)[0].wParam, WPARAM{SPI_SETSIPINFO});
  SIPINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
  EXPECT_EQ(info.rcVisibleDesktop.bottom, panel.top);
  // The window gave the panel its 80 pixels; the panel is drawn where it was.
  RECT r;
  GetWindowRect(main, &r);
  EXPECT_EQ(r.bottom, kAboveMenuBar.bottom - device::Device::kSipHeight);
  EXPECT_EQ(countColour(panel, kRed), 0);
  EXPECT_GT(countColour(panel, RGB(255, 255, 255)), area(panel) / 2);
  EXPECT_TRUE(receivedOf(WM_LBUTTONDOWN).empty());
  tap(centre(sipButton()));
  settle();
  EXPECT_FALSE(dev().sipVisible());
  GetWindowRect(main, &r);
  EXPECT_EQ(r.bottom, kAboveMenuBar.bottom);
  EXPECT_EQ(countColour(panel, kRed), area(panel));

  // A window that does not follow the panel lies under it while it shows,
  // and is painted again when it goes.
  HWND dialog = window(u"Dialog", {10, 150, 230, 280}, kGreen);
  dev().setSipVisible(true);
  settle();
  EXPECT_NE(pixel(120, 250), fb(kGreen));
  received().clear();
  dev().setSipVisible(false);
  settle();
  ASSERT_FALSE(receivedOf(WM_PAINT).empty());
  EXPECT_EQ(receivedOf(WM_PAINT)[0].hwnd, dialog);
  EXPECT_EQ(pixel(120, 250), fb(kGreen));
}

TEST_F(PanelTest, TappingKeysTypesIntoTheFocusedWindow) {
  struct Tap { char16_t c; const char16_t* label; };
  struct Case {
    const char* name;
    std::vector<Tap> taps;
    std::u16string chars;      // WM_CHAR, in order
    std::vector<WPARAM> keys;  // WM_KEYDOWN, in order
  };
  const Case cases[] = {
      {"letters and digits", {{u'q', nullptr}, {u'7', nullptr}, {u' ', nullptr}}, u"q7 ", {}},
      {"shift holds for one character", {{0, u"Shift"}, {u'q', nullptr}, {u'w', nullptr}}, u"Qw", {}},
      {"shifted digits and punctuation", {{0, u"Shift"}, {u'1', nullptr}, {0, u"Shift"}, {u';', nullptr}}, u"!:", {}},
      {"shift pressed twice is off", {{0, u"Shift"}, {0, u"Shift"}, {u'a', nullptr}}, u"a", {}},
      {"backspace and enter are keys", {{u'x', nullptr}, {0, u"\u2190"}, {0, u"\u21B5"}}, u"x\b\r",
       {VK_BACK, VK_RETURN}},
      {"arrows type nothing", {{0, u"\u25C4"}, {0, u"\u25BA"}}, u"", {VK_LEFT, VK_RIGHT}},
  };
  HWND focused = window(u"Notes", kAboveMenuBar, kRed, 0, true);
  SetFocus(focused);
  dev().setSipVisible(true);
  settle();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    received().clear();
    for (const Tap& t : c.taps) tap(centre(keyFor(t.c, t.label)));
    pump();
    EXPECT_EQ(typed(), c.chars);
    std::vector<WPARAM> keys;
    for (const Received& r : receivedOf(WM_KEYDOWN)) keys.push_back(r.wParam);
    EXPECT_EQ(keys, c.keys);
    for (const Received& r : received()) EXPECT_EQ(r.hwnd, focused);
    EXPECT_TRUE(receivedOf(WM_LBUTTONDOWN).empty());
    EXPECT_FALSE(chrome().shiftOn());
  }
  // A key is drawn down while pressed, and types only when lifted on it.
  received().clear();
  const RECT g = keyFor(u'g');
  const std::vector<uint32_t> up = pixels(g);
  stylus(Type::StylusDown, centre(g));
  settle();
  EXPECT_NE(pixels(g), up);
  stylus(Type::StylusMove, centre(keyFor(u'h')));
  stylus(Type::StylusUp, centre(keyFor(u'h')));
  settle();
  EXPECT_EQ(pixels(g), up);
  EXPECT_EQ(typed(), u"");
}

}  // namespace
}  // namespace chrometest
