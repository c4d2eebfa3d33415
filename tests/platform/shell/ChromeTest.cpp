// The chrome: the navigation bar (title, clock, the OK button and what it or closing the host
// sends) and the input panel (its button, its keys, what they type, the window it covers).
#include <aygshell.h>

#include "ChromeHarness.h"
#include "shell/ChromeKeyboard.h"
#include "shell/ChromeLayout.h"

namespace chrometest {
namespace {

using Type = display::InputEvent::Type;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

RECT navBar() { return dev().navBarRect(); }
shell::NavBarLayout layout(bool ok) { return shell::layoutNavBar(navBar(), ok); }

SYSTEMTIME at(WORD hour, WORD minute, WORD second = 0) { return SYSTEMTIME{2003, 4, 2, 1, hour, minute, second, 0}; }

// Lets the windows paint, then the chrome draw itself as at t.
void drawnAt(const SYSTEMTIME& t) {
  pump();
  chrome().update(t);
  dev().backend().present();
}

using NavBarTest = ChromeTest;

TEST_F(NavBarTest, ShowsTheTitleClockAndOkButtonOnlyForAWindowThatAsksAndTheButtonOrHostAskTheWindowToClose) {
  // The button takes the right end; the clock and then the title give way to it.
  const shell::NavBarLayout withOk = layout(true);
  const shell::NavBarLayout without = layout(false);
  EXPECT_EQ(withOk.ok.right, navBar().right);
  EXPECT_EQ(withOk.clock.right, withOk.ok.left);
  EXPECT_EQ(withOk.title.right, withOk.clock.left);
  EXPECT_LE(without.ok.right, without.ok.left);
  EXPECT_EQ(without.clock.right, navBar().right);
  EXPECT_GT(without.title.right, withOk.title.right);
  // The top of the button's outline: a white line across it.
  const RECT ok = withOk.ok;
  const RECT outline{ok.left + 4, ok.top + 4, ok.right - 5, ok.top + 5};
  const int length = outline.right - outline.left;
  HWND first = window(u"Alpha", kAboveMenuBar, kRed);
  drawnAt(at(9, 41));
  const RECT title = without.title;
  const std::vector<uint32_t> alpha = pixels(title);
  EXPECT_GT(countColour(title, kWhite), 20) << "the title's text";
  EXPECT_GT(countColour(title, shell::kNavBarColor), (title.right - title.left) * (title.bottom - title.top) / 2);
  EXPECT_EQ(countColour(outline, shell::kNavBarColor), length);
  // The clock shows the time, and a new minute draws it again.
  const RECT clock = without.clock;
  const std::vector<uint32_t> nine41 = pixels(clock);
  EXPECT_GT(countColour(clock, kWhite), 0) << "the time's text";
  drawnAt(at(9, 42));
  EXPECT_NE(pixels(clock), nine41);
  // Another window in front: its title and its button; back again: the same picture.
  HWND second = window(u"Gamma", {20, 60, 200, 200}, kRed, WS_EX_CAPTIONOKBTN);
  drawnAt(at(9, 41));
  EXPECT_NE(pixels(title), alpha);
  EXPECT_EQ(countColour(outline, kWhite), length);
  // Back again: the same picture; a window drawing under the bar is covered again.
  DestroyWindow(second);
  SetForegroundWindow(first);
  drawnAt(at(9, 41));
  EXPECT_EQ(pixels(title), alpha);
  MoveWindow(first, 0, 0, 240, 320, TRUE);
  pump();
  EXPECT_EQ(pixel(2, 2), fb(kRed));
  chrome().update(at(9, 41));
  EXPECT_EQ(countColour(navBar(), kRed), 0);
  DestroyWindow(first);

  // How it is asked: IDOK in WM_COMMAND with a non-zero code to a window with
  // the button, WM_CLOSE to one without, WM_QUIT with nobody left; 0: nothing.
  enum How { kTap, kSlideOff, kCaptured, kHostClose };  // captured: as by an open menu
  struct Case { const char* name; DWORD exStyle; How how; UINT asked; };
  const Case cases[] = {
      {"tap on the button", WS_EX_CAPTIONOKBTN, kTap, WM_COMMAND},
      {"a window without the button", 0, kTap, 0},
      {"slid off before lifting", WS_EX_CAPTIONOKBTN, kSlideOff, 0},
      {"the window holds the stylus", WS_EX_CAPTIONOKBTN, kCaptured, 0},
      {"host closed, the button", WS_EX_CAPTIONOKBTN, kHostClose, WM_COMMAND},
      {"host closed, no button", 0, kHostClose, WM_CLOSE},
      {"host closed, no window", DWORD(-1), kHostClose, WM_QUIT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND hwnd = c.exStyle == DWORD(-1) ? nullptr : window(u"Vantor", kAboveMenuBar, kRed, c.exStyle);
    drawnAt(at(10, 0));
    received.clear();
    if (c.how == kCaptured) SetCapture(hwnd);
    const POINT button = centre(layout(true).ok), away{120, 160};
    if (c.how == kHostClose) {
      dev().hostRequest(display::HostRequest::Close);
    } else {
      stylus(Type::StylusDown, button);
      if (c.how == kSlideOff) stylus(Type::StylusMove, away);
      stylus(Type::StylusUp, c.how == kSlideOff ? away : button);
    }
    pump();
    std::vector<std::pair<HWND, UINT>> seen, expected;
    for (const Received& r : received)
      if (r.msg == WM_COMMAND || r.msg == WM_CLOSE || r.msg == WM_QUIT) seen.emplace_back(r.hwnd, r.msg);
    if (c.asked) expected.emplace_back(hwnd, c.asked);
    EXPECT_EQ(seen, expected);
    for (const Received& r : receivedOf(WM_COMMAND)) EXPECT_TRUE(LOWORD(r.wParam) == IDOK && HIWORD(r.wParam) != 0);
    // The stylus on the bar is the bar's, unless a window holds it.
    EXPECT_EQ(receivedOf(WM_LBUTTONDOWN).size(), c.how == kCaptured ? 1u : 0u);
    if (hwnd) DestroyWindow(hwnd);
  }
}


RECT sipButton() { return shell::sipButtonRect(dev().menuStripRect()); }
int area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

// The key of the panel that types c, else the one labelled c; '^' is Shift.
RECT keyFor(char16_t c) {
  for (bool byLabel : {false, true})
    for (const shell::PlacedKey& placed : chrome().panelKeys()) {
      const shell::PanelKey& key = *placed.key;
      if (byLabel ? key.label && std::u16string(key.label) == (c == u'^' ? u"Shift" : std::u16string(1, c))
                  : !key.vk && !key.shift && key.plain == c)
        return placed.rect;
    }
  ADD_FAILURE() << "no key for " << static_cast<int>(c);
  return {};
}

using PanelTest = ChromeTest;

TEST_F(PanelTest, TheButtonShowsThePanelWhoseKeysTypeIntoTheFocusedWindow) {
  // The keys tapped, then WM_CHAR's characters and WM_KEYDOWN's keys, in order.
  struct Case { const char* name; std::u16string taps, chars; std::vector<WPARAM> keys; };
  const Case cases[] = {
      {"letters and digits", u"q7 ", u"q7 ", {}},
      {"shift holds for one character", u"^qw", u"Qw", {}},
      {"shifted digits and punctuation", u"^1^;", u"!:", {}},
      {"shift pressed twice is off", u"^^a", u"a", {}},
      {"backspace and enter are keys", u"x\u2190\u21B5", u"x\b\r", {VK_BACK, VK_RETURN}},
      {"arrows type nothing", u"\u25C4\u25BA", u"", {VK_LEFT, VK_RIGHT}},
  };
  HWND focused = window(u"Notes", kAboveMenuBar, kRed, WS_EX_CAPTIONOKBTN);
  SetFocus(focused);
  settle();
  const RECT panel = dev().sipRect();
  EXPECT_EQ(countColour(panel, kRed), area(panel));
  // The button shows and hides the panel; the window under it is painted again.
  for (bool shown : {true, false, true}) {
    received.clear();
    tap(centre(sipButton()));
    settle();
    EXPECT_EQ(dev().sipVisible(), shown);
    EXPECT_TRUE(receivedOf(WM_LBUTTONDOWN).empty()) << "the button's tap is the chrome's";
    EXPECT_EQ(countColour(panel, kRed), shown ? 0 : area(panel)) << shown;
    EXPECT_EQ(countColour(panel, kWhite) > area(panel) / 2, shown) << "the keys";
  }
  // The keys cover the panel without gaps, and nothing outside it.
  for (int y = panel.top; y < panel.bottom; y += 2)
    for (int x = panel.left; x < panel.right; x += 2) ASSERT_NE(shell::keyAt(chrome().panelKeys(), {x, y}), -1) << x << "," << y;
  EXPECT_EQ(shell::keyAt(chrome().panelKeys(), {120, panel.top - 1}), -1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    received.clear();
    for (char16_t t : c.taps) tap(centre(keyFor(t)));
    pump();
    EXPECT_EQ(typed(), c.chars);
    std::vector<WPARAM> keys;
    for (const Received& r : receivedOf(WM_KEYDOWN)) keys.push_back(r.wParam);
    EXPECT_EQ(keys, c.keys);
    for (const Received& r : received) EXPECT_EQ(r.hwnd, focused);
    EXPECT_TRUE(receivedOf(WM_LBUTTONDOWN).empty());
    EXPECT_FALSE(chrome().shiftOn());
  }
  // A key types only when lifted on it.
  received.clear();
  stylus(Type::StylusDown, centre(keyFor(u'g')));
  stylus(Type::StylusMove, centre(keyFor(u'h')));
  stylus(Type::StylusUp, centre(keyFor(u'h')));
  settle();
  EXPECT_EQ(typed(), u"");
}

}  // namespace
}  // namespace chrometest
