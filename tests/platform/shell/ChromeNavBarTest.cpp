// The navigation bar: the foreground window's title, the clock, the "ok"
// button and what a tap on it or closing the host window sends.
#include "ChromeHarness.h"

namespace chrometest {
namespace {

using Type = display::InputEvent::Type;

constexpr RECT kDesktop{0, 26, 240, 294};
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

RECT navBar() { return device::Device::instance().navBarRect(); }
shell::NavBarLayout layout(bool ok) { return shell::layoutNavBar(navBar(), ok); }

SYSTEMTIME at(WORD hour, WORD minute, WORD second = 0) { return SYSTEMTIME{2003, 4, 2, 1, hour, minute, second, 0}; }

// Lets the windows paint, then the chrome draw itself as at t.
void drawnAt(const SYSTEMTIME& t) {
  pump();
  chrome().update(t);
  device::Device::instance().backend().present();
}

using NavBarTest = ChromeTest;

TEST_F(NavBarTest, ShowsTheTitleTheClockAndTheOkButtonOnlyForAWindowThatAsksForIt) {
  // The top of the button's outline: a white line across it.
  const RECT ok = layout(true).ok;
  const RECT outline{ok.left + 4, ok.top + 4, ok.right - 5, ok.top + 5};
  const int length = outline.right - outline.left;
  HWND first = window(u"Alpha", kDesktop, kRed);
  drawnAt(at(9, 41));
  const RECT title = layout(false).title;
  const std::vector<uint32_t> alpha = pixels(title);
  EXPECT_GT(countColour(title, kWhite), 20) << "the title's text";
  EXPECT_GT(countColour(title, shell::kNavBarColor), (title.right - title.left) * (title.bottom - title.top) / 2);
  EXPECT_EQ(countColour(outline, shell::kNavBarColor), length);
  // The clock shows the time, and a new minute draws it again.
  const RECT clock = layout(false).clock;
  const std::vector<uint32_t> nine41 = pixels(clock);
  EXPECT_GT(countColour(clock, kWhite), 0) << "the time's text";
  drawnAt(at(9, 42));
  EXPECT_NE(pixels(clock), nine41);
  // Another window in front: its title and its button; back again: the same picture.
  HWND second = window(u"Gamma", {20, 60, 200, 200}, kRed, WS_EX_CAPTIONOKBTN);
  drawnAt(at(9, 41));
  EXPECT_NE(pixels(title), alpha);
  EXPECT_EQ(countColour(outline, kWhite), length);
  DestroyWindow(second);
  SetForegroundWindow(first);
  drawnAt(at(9, 41));
  EXPECT_EQ(pixels(title), alpha);
  EXPECT_EQ(countColour(outline, shell::kNavBarColor), length);
}

TEST_F(NavBarTest, TappingOkSendsIdOkWithANonZeroCode) {
  // captured: the window holds the stylus, as an open menu does.
  struct Case { const char* name; DWORD exStyle; bool slideOff, captured; size_t commands; };
  const Case cases[] = {
      {"tap on the button", WS_EX_CAPTIONOKBTN, false, false, 1},
      {"a window without the button", 0, false, false, 0},
      {"slid off before lifting", WS_EX_CAPTIONOKBTN, true, false, 0},
      {"the window holds the stylus", WS_EX_CAPTIONOKBTN, false, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    received().clear();
    HWND hwnd = window(u"Vantor", kDesktop, kRed, c.exStyle);
    drawnAt(at(10, 0));
    if (c.captured) SetCapture(hwnd);
    const POINT button = centre(layout(true).ok);
    const POINT away{120, 160};
    stylus(Type::StylusDown, button);
    if (c.slideOff) stylus(Type::StylusMove, away);
    stylus(Type::StylusUp, c.slideOff ? away : button);
    pump();
    const std::vector<Received> commands = receivedOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), c.commands);
    for (const Received& r : commands) {
      EXPECT_EQ(r.hwnd, hwnd);
      EXPECT_EQ(LOWORD(r.wParam), IDOK);
      EXPECT_NE(HIWORD(r.wParam), 0);
    }
    // The stylus on the bar is the bar's, unless a window holds it.
    EXPECT_EQ(receivedOf(WM_LBUTTONDOWN).size(), c.captured ? 1u : 0u);
    EXPECT_TRUE(receivedOf(WM_CLOSE).empty());
    DestroyWindow(hwnd);
  }
}

TEST_F(NavBarTest, ClosingTheHostWindowAsksTheForegroundWindowAsTheOkButtonWould) {
  // What each close asks: the window with the button gets IDOK with a
  // code, a plain one WM_CLOSE; with nobody left, the program is asked to quit.
  for (DWORD exStyle : {DWORD(WS_EX_CAPTIONOKBTN), DWORD(0), DWORD(-1)}) {
    SCOPED_TRACE(exStyle);
    HWND hwnd = exStyle == DWORD(-1) ? nullptr : window(u"Vantor", kDesktop, kRed, exStyle);
    received().clear();
    device::Device::instance().hostRequest(display::HostRequest::Close);
    pump();
    std::vector<std::pair<HWND, UINT>> seen;
    for (const Received& r : received())
      if (r.msg == WM_COMMAND || r.msg == WM_CLOSE || r.msg == WM_QUIT) seen.emplace_back(r.hwnd, r.msg);
    UINT expected = exStyle == WS_EX_CAPTIONOKBTN ? WM_COMMAND : hwnd ? WM_CLOSE : WM_QUIT;
    EXPECT_EQ(seen, (std::vector<std::pair<HWND, UINT>>{{hwnd, expected}}));
    for (const Received& r : receivedOf(WM_COMMAND)) EXPECT_TRUE(LOWORD(r.wParam) == IDOK && HIWORD(r.wParam) != 0);
    if (hwnd) DestroyWindow(hwnd);
  }
}

TEST_F(NavBarTest, AWindowDrawingUnderTheBarIsCoveredAgain) {
  window(u"Full screen", {0, 0, 240, 320}, kRed);
  drawnAt(at(10, 0));
  EXPECT_EQ(pixel(2, 2), fb(shell::kNavBarColor));
  InvalidateRect(GetForegroundWindow(), nullptr, TRUE);
  pump();
  EXPECT_EQ(pixel(2, 2), fb(kRed));
  chrome().update(at(10, 0));
  EXPECT_EQ(countColour(navBar(), kRed), 0);
}

TEST_F(NavBarTest, ClockWakesTheDeviceAtTheNextMinute) {
  struct Case { WORD second, ms; int wait; };
  for (Case c : {Case{0, 0, 60000}, Case{30, 500, 29500}, Case{59, 999, 1}}) {
    SYSTEMTIME t = at(10, 0, c.second);
    t.wMilliseconds = c.ms;
    EXPECT_EQ(shell::Chrome::msUntilNextMinute(t), c.wait) << c.second << "." << c.ms;
  }
}

}  // namespace
}  // namespace chrometest
