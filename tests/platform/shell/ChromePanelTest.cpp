// The menu-bar strip and the input panel: the panel's button, the panel's
// keyboard and what it types, windows placed in the strip, and the stylus
// on windows, which the chrome leaves alone.
#include <aygshell.h>

#include "ChromeHarness.h"
#include "user/MenuTracker.h"

namespace chrometest {
namespace {

using Type = display::InputEvent::Type;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
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

class PanelTest : public ChromeTest {
 protected:
  // A main window that follows the panel, focused, with the panel shown.
  HWND editor() {
    HWND hwnd = window(u"Notes", kAboveMenuBar, kRed, 0, true);
    SetFocus(hwnd);
    dev().setSipVisible(true);
    settle();
    return hwnd;
  }
};

TEST_F(PanelTest, TheButtonShowsAndHidesThePanelAndWindowsFollow) {
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
  EXPECT_GT(countColour(panel, kWhite), area(panel) / 2);
  EXPECT_TRUE(receivedOf(WM_LBUTTONDOWN).empty());

  tap(centre(sipButton()));
  settle();
  EXPECT_FALSE(dev().sipVisible());
  GetWindowRect(main, &r);
  EXPECT_EQ(r.bottom, kAboveMenuBar.bottom);
  EXPECT_EQ(countColour(panel, kRed), area(panel));
}

TEST_F(PanelTest, AWindowThePanelUncoversIsPaintedAgain) {
  // A window that does not follow the panel lies under it while it shows.
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
  struct Tap {
    char16_t c;
    const char16_t* label;
  };
  struct Case {
    const char* name;
    std::vector<Tap> taps;
    std::u16string chars;       // WM_CHAR, in order
    std::vector<WPARAM> keys;   // WM_KEYDOWN, in order
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
  HWND focused = editor();
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
}

TEST_F(PanelTest, AKeyIsDrawnDownWhilePressedAndTypesOnlyWhenLiftedOnIt) {
  editor();
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

TEST_F(PanelTest, AWindowInTheStripKeepsItsPixelsAndItsTapsAndTheStripComesBackWhenItGoes) {
  window(u"Vantor", kAboveMenuBar, kRed, WS_EX_CAPTIONOKBTN);
  HWND menuBar = window(u"", dev().menuBarRect(), kGreen);
  settle();
  const RECT bar = dev().menuBarRect();
  EXPECT_EQ(countColour(bar, kGreen), area(bar));
  // The panel's button stays the chrome's, at the right of the strip.
  EXPECT_EQ(countColour(sipButton(), kGreen), 0);
  EXPECT_EQ(bar.right, sipButton().left);

  tap(centre(bar));
  pump();
  ASSERT_EQ(receivedOf(WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(receivedOf(WM_LBUTTONDOWN)[0].hwnd, menuBar);
  // Drawn again, it still shows: the strip is drawn around it.
  InvalidateRect(menuBar, nullptr, TRUE);
  settle();
  EXPECT_EQ(countColour(bar, kGreen), area(bar));

  ShowWindow(menuBar, SW_HIDE);
  settle();
  EXPECT_EQ(countColour(bar, kGreen), 0);
  EXPECT_EQ(pixel(bar.left + 5, bar.top + 10), fb(GetSysColor(COLOR_BTNFACE)));
}

TEST_F(PanelTest, APopupMenuShowsAboveThePanelAndTakesItsTaps) {
  HWND main = editor();
  const RECT panel = dev().sipRect();
  const std::vector<uint32_t> keys = pixels(panel);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 101, u"Refresh");
  AppendMenuW(menu, MF_STRING, 102, u"Options...");
  dev().script().add([&] {
    RECT item{};
    std::string why;
    ASSERT_TRUE(user::findOpenMenuItem(u"Options...", item, why)) << why;
    ASSERT_GT(item.bottom, panel.top) << "the menu lies over the panel";
    // The chrome has had its turn: the menu is still there, above the keys.
    const std::vector<uint32_t> shown = pixels(item);
    dev().refreshScreen();
    EXPECT_EQ(pixels(item), shown);
    EXPECT_NE(pixels(panel), keys);
    tap(centre(item));
  });
  EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_BOTTOMALIGN, 20, 280, main, nullptr), 102u);
  EXPECT_EQ(typed(), u"") << "the tap was the menu's, not a key's";
  DestroyMenu(menu);
  // Where the menu was, the panel is drawn again.
  settle();
  EXPECT_EQ(pixels(panel), keys);
}

TEST_F(PanelTest, TheStylusOnWindowsIsTheirsEvenOnTheBarsButAnEmptyStripKeepsItsOwn) {
  HWND main = window(u"Vantor", kAboveMenuBar, kRed);
  settle();
  const RECT strip = dev().menuStripRect();
  EXPECT_EQ(countColour(strip, kRed), 0);
  tap({20, strip.top + 10});
  pump();
  EXPECT_TRUE(receivedOf(WM_LBUTTONDOWN).empty());
  EXPECT_EQ(GetForegroundWindow(), main);

  stylus(Type::StylusDown, {120, 160});
  stylus(Type::StylusMove, {120, 10});
  stylus(Type::StylusMove, {120, 310});
  stylus(Type::StylusUp, {120, 310});
  pump();
  std::vector<UINT> seen;
  for (const Received& r : received())
    if (r.msg == WM_LBUTTONDOWN || r.msg == WM_MOUSEMOVE || r.msg == WM_LBUTTONUP) {
      EXPECT_EQ(r.hwnd, main);
      seen.push_back(r.msg);
    }
  EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_MOUSEMOVE, WM_LBUTTONUP}));
}

TEST_F(PanelTest, TurningTheDeviceDrawsTheChromeForTheNewShape) {
  editor();
  dev().rotate();
  settle();
  ASSERT_EQ(dev().screenWidth(), 320);
  // The bar reaches the new right edge, and so do the panel and its button.
  EXPECT_EQ(countColour({150, 0, 250, 26}, shell::kNavBarColor), 100 * 26);
  EXPECT_EQ(dev().navBarRect().right, 320);
  const RECT panel = dev().sipRect();
  EXPECT_EQ(panel.right, 320);
  EXPECT_EQ(countColour(panel, kRed), 0);
  EXPECT_EQ(countColour(sipButton(), kRed), 0);
  EXPECT_EQ(sipButton().right, 320);
}

}  // namespace
}  // namespace chrometest
