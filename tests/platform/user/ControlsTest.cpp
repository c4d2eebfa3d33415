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
  using Type = display::InputEvent::Type;
  HWND top = createTopLevel(WS_VISIBLE);
  HWND button = createControl(top, WC_BUTTON, u"OK", WS_VISIBLE | BS_PUSHBUTTON, IDOK, {10, 10, 70, 30});
  pump();
  log().clear();
  const struct { Type type; int x, y; UINT pushed; bool captured; size_t clicks; } steps[] = {
      {Type::StylusDown, 20, 40, BST_PUSHED, true, 0},
      {Type::StylusMove, 200, 200, 0, true, 0},  // off the button: shown released
      {Type::StylusUp, 200, 200, 0, false, 0},
      {Type::StylusDown, 20, 40, BST_PUSHED, true, 0},
      {Type::StylusUp, 20, 40, 0, false, 1},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(testing::Message() << "step " << &s - steps);
    stylus(s.type, s.x, s.y);
    pump();
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), s.pushed | BST_FOCUS) << "pressing focuses it";
    EXPECT_EQ(GetCapture() == button, s.captured);
    EXPECT_EQ(commands().size(), s.clicks);
  }
  EXPECT_TRUE(sameSequence({msgWL(top, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(button))},
                           commands()));
  press(VK_SPACE);
  pump();
  EXPECT_EQ(commands().size(), 2u) << "Space presses it too";
}

TEST_F(ControlsTest, StaticTextGreysWhenDisabledAndAPushButtonCentresItsTextAndSinks) {
  HWND parent = createTopLevel(WS_VISIBLE);
  HWND label = createControl(parent, WC_STATIC, u"Size", WS_VISIBLE | SS_LEFT, 50, {10, 10, 110, 30});
  UpdateWindow(parent);
  RECT r = screenRect(label);
  // Black text blends into the background at its edges; grey text stays light.
  auto dark = [](uint32_t p) { return (p & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 && (p >> 16) < 0x60; };
  EXPECT_GT(countPixels(r, dark), 5);
  EnableWindow(label, FALSE);
  UpdateWindow(parent);
  EXPECT_EQ(countPixels(r, dark), 0) << "disabled text is grey";
  EXPECT_GT(inkIn(r, pixelOf(GetSysColor(COLOR_STATIC))).right, r.left) << "and still shown";
  DestroyWindow(label);

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
