// The static and button controls, dialog keyboard handling outside a
// template, default processing and the tree of windows.
#include "Recorder.h"

namespace usertest {
namespace {

using ControlsTest = UserTest;

std::vector<Entry> commands() { return log().only({WM_COMMAND}); }

// Static controls report taps in ScriptedDialogTest and take the parent's colours in ControlPaintTest.
TEST_F(ControlsTest, PushButtonShowsPushedWhileHeldAndClicksOnlyWhenReleasedInside) {
  HWND top = createTopLevel(WS_VISIBLE);
  HWND button = createControl(top, WC_BUTTON, u"OK", BS_PUSHBUTTON, IDOK, {10, 10, 70, 30});
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
  EnableWindow(button, FALSE);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(commands().size(), 2u) << "a disabled button does not click";
}

// Check boxes and radio groups are walked in DialogKeysTest and the gallery's test.
TEST_F(ControlsTest, DialogMessagesAreOnlyTakenForTheDialogAndItsControls) {
  HWND dialog = createTopLevel(WS_VISIBLE);
  HWND third = createControl(dialog, WC_BUTTON, u"Two", BS_DEFPUSHBUTTON | WS_TABSTOP, 12, {0, 60, 50, 80});
  MSG elsewhere{createTopLevel(WS_VISIBLE), WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageW(dialog, &elsewhere));

  SetFocus(nullptr);
  log().clear();
  MSG enter{dialog, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageW(dialog, &enter));
  DestroyWindow(third);
  EXPECT_TRUE(IsDialogMessageW(dialog, &enter));
  EXPECT_TRUE(sameSequence({msgWL(dialog, WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), reinterpret_cast<LPARAM>(third)),
                            msgWL(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0)},
                           commands()))
      << "without a default button Enter means IDOK";
  HWND other = createChild(dialog, 13, {60, 0, 100, 20});
  MSG user{other, WM_USER, 0, 0, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageW(dialog, &user));
  EXPECT_EQ(log().count(other, WM_USER), 1u) << "anything else is dispatched to its window";
}

// Default colours and erasing show in ControlPaintTest and PaintTest.
TEST_F(ControlsTest, DefaultProcessingHitTestsAsksTheParentAndCloses) {
  HWND top = createTopLevel(WS_VISIBLE);
  RECT r = screenRect(top);
  EXPECT_EQ(DefWindowProcW(top, WM_NCHITTEST, 0, MAKELPARAM(r.left + 5, r.top + 5)), HTCLIENT);
  EXPECT_EQ(DefWindowProcW(top, WM_NCHITTEST, 0, MAKELPARAM(r.right + 5, r.top + 5)), HTNOWHERE);
  HWND child = createChild(top, 1, {0, 0, 10, 10});
  react(top, WM_MOUSEACTIVATE, [](HWND, UINT, WPARAM, LPARAM) { return LRESULT(MA_NOACTIVATE); });
  EXPECT_EQ(DefWindowProcW(child, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE) << "a child asks its parent";
  SendMessageW(top, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(top));
}

TEST_F(ControlsTest, ZOrderIsEnumeratedFromTheDesktopAndChangedBySetWindowPos) {
  HWND a = createTopLevel(WS_VISIBLE);
  HWND b = createTopLevel(WS_VISIBLE);
  HWND c = createTopLevel(WS_VISIBLE);
  auto order = [] {
    std::vector<HWND> out;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) out.push_back(w);
    return out;
  };
  EXPECT_EQ(order(), (std::vector<HWND>{c, b, a}));
  SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(order(), (std::vector<HWND>{b, a, c}));
  EXPECT_EQ(GetWindow(a, GW_HWNDPREV), b);
  SetWindowTextW(a, u"Vantor");
  EXPECT_EQ(FindWindowW(u"RECORDER", u"Vantor"), a) << "class names ignore case";
}

}  // namespace
}  // namespace usertest
