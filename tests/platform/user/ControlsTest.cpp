// The static and button controls: how they look, checked on the screen's
// pixels region by region (their text is laid out by DrawText, TextTest), and
// how a push button acts under the stylus.
#include "Recorder.h"

namespace usertest {
namespace {

using ControlsTest = UserTest;

std::vector<Entry> commands() { return log().only({WM_COMMAND}); }

// Static controls report taps in the framework's DialogProc test.
TEST_F(ControlsTest, PushButtonShowsPushedWhileHeldAndClicksOnlyWhenReleasedInside) {
  HWND top = createTopLevel(WS_VISIBLE);
  HWND button = createControl(top, WC_BUTTON, u"OK", WS_VISIBLE | BS_PUSHBUTTON, IDOK, {10, 10, 70, 30});
  pump();
  log().clear();
  auto pushed = [&] { return SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED; };
  stylus(display::InputEvent::Type::StylusDown, 20, 40);
  pump();
  EXPECT_EQ(pushed(), BST_PUSHED);
  EXPECT_EQ(GetCapture(), button);
  EXPECT_EQ(GetFocus(), button);
  stylus(display::InputEvent::Type::StylusMove, 200, 200);  // off the button: shown released
  pump();
  EXPECT_EQ(pushed(), 0);
  stylus(display::InputEvent::Type::StylusUp, 200, 200);
  pump();
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(GetCapture(), nullptr);
  tap(20, 40);
  pump();
  EXPECT_TRUE(sameSequence({msgWL(top, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(button))},
                           commands()));
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), BST_FOCUS);
  press(VK_SPACE);
  pump();
  EXPECT_EQ(commands().size(), 2u) << "Space presses it too";
}

TEST_F(ControlsTest, StaticTakesTheParentsColoursAndGreysWhenDisabledAndAPushButtonCentresItsTextAndSinks) {
  HWND parent = createTopLevel(WS_VISIBLE);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  react(parent, WM_CTLCOLORSTATIC, [&](HWND, UINT, WPARAM wParam, LPARAM) {
    SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(red);
  });
  HWND label = createControl(parent, WC_STATIC, u"Size", WS_VISIBLE | SS_LEFT, 50, {10, 10, 110, 30});
  UpdateWindow(parent);
  RECT r = screenRect(label);
  EXPECT_EQ(screen().pixel(r.right - 1, r.bottom - 1), 0x00FF0000u);
  // Glyph pixels mix the parent's blue into its red; nothing else is mixed in.
  auto blueInk = [](uint32_t p) { return (p & 0xFF) > 0 && ((p >> 8) & 0xFF) == 0; };
  auto greyInk = [](uint32_t p) { return ((p >> 8) & 0xFF) > 0; };
  EXPECT_GT(countPixels(r, blueInk), 5);
  EXPECT_EQ(countPixels(r, greyInk), 0);
  EnableWindow(label, FALSE);
  UpdateWindow(parent);
  EXPECT_EQ(countPixels(r, blueInk), 0);
  EXPECT_GT(countPixels(r, greyInk), 5) << "disabled text is grey";
  DestroyWindow(label);
  DeleteObject(red);

  HWND button = createControl(parent, WC_BUTTON, u"Cancel", WS_VISIBLE | BS_PUSHBUTTON, 51, {20, 20, 100, 44});
  UpdateWindow(parent);
  r = screenRect(button);
  RECT inner{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
  uint32_t face = pixelOf(GetSysColor(COLOR_BTNFACE));
  RECT text = inkIn(inner, face);
  EXPECT_NEAR((text.left + text.right) / 2, (r.left + r.right) / 2, 2);
  EXPECT_NEAR((text.top + text.bottom) / 2, (r.top + r.bottom) / 2, 3);
  uint32_t topLeft = screen().pixel(r.left, r.top);

  SendMessageW(button, BM_SETSTATE, TRUE, 0);
  UpdateWindow(parent);
  RECT pressed = inkIn(inner, face);
  EXPECT_EQ(pressed.left, text.left + 1) << "the label moves with the face";
  EXPECT_EQ(pressed.top, text.top + 1);
  EXPECT_NE(screen().pixel(r.left, r.top), topLeft) << "the edges turn";

  SendMessageW(button, BM_SETSTATE, FALSE, 0);
  SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  UpdateWindow(parent);
  auto black = [](uint32_t p) { return p == 0; };
  EXPECT_EQ(countPixels({r.left, r.bottom - 1, r.right, r.bottom}, black), r.right - r.left) << "the default's frame";
  EXPECT_EQ(countPixels({r.left, r.top, r.left + 1, r.bottom}, black), r.bottom - r.top);
}

}  // namespace
}  // namespace usertest
