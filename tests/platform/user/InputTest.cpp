// Input routing: the stylus to the window under it or to the capture, keys to
// the focus, TranslateMessage, accelerators, focus and activation (double taps
// are the list box's).
#include "Recorder.h"

namespace usertest {
namespace {

using InputTest = UserTest;
using Type = display::InputEvent::Type;

TEST_F(InputTest, TapGoesToTheDeepestVisibleWindowOrTheCaptureWindowInClientCoordinates) {
  HWND top = createTopLevel(WS_VISIBLE, {0, 26, 240, 294});
  HWND child = createChild(top, 1, {20, 30, 120, 130});
  HWND inner = createChild(child, 2, {10, 10, 50, 50});
  HWND other = createChild(top, 4, {130, 30, 230, 130});
  createChild(top, 3, {0, 0, 100, 100}, 0);  // hidden, over inner
  POINT pts[2] = {{0, 0}, {5, 5}};
  EXPECT_EQ(MapWindowPoints(inner, nullptr, pts, 2), MAKELONG(30, 66));
  EXPECT_EQ(pts[1].y, 71);
  react(child, WM_LBUTTONDOWN, [](HWND h, UINT, WPARAM, LPARAM) { return SetCapture(h), LRESULT(0); });
  react(child, WM_LBUTTONUP, [](HWND, UINT, WPARAM, LPARAM) { return LRESULT(ReleaseCapture()); });
  pump();
  log().clear();
  tap(35, 70);                                     // inner's client (5, 4)
  stylus(Type::StylusDown, 100, 100, true, true);  // child's client (80, 44) with Shift and Control
  pump();
  EXPECT_LT(GetKeyState(VK_LBUTTON), 0);
  stylus(Type::StylusMove, 150, 100);  // over the other child, but captured
  stylus(Type::StylusUp, 150, 100);
  stylus(Type::StylusMove, 150, 100);
  pump();
  EXPECT_GE(GetKeyState(VK_LBUTTON), 0);
  EXPECT_TRUE(sameSequence({msgWL(inner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 4)),
                            msgWL(inner, WM_LBUTTONUP, 0, MAKELPARAM(5, 4)),
                            msgWL(child, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, MAKELPARAM(80, 44)),
                            msgWL(child, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(130, 44)),
                            msgWL(child, WM_LBUTTONUP, 0, MAKELPARAM(130, 44)), msgWL(child, WM_CAPTURECHANGED, 0, 0),
                            msg(other, WM_MOUSEMOVE)},
                           log().only({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_CAPTURECHANGED})));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, KeysGoToTheFocusOrTheActiveWindowAndTranslateIntoCharacters) {
  HWND top = createTopLevel(WS_VISIBLE, {0, 26, 240, 294});
  HWND edit = createChild(top, 1, {0, 0, 100, 20});
  SetFocus(edit);
  pump();
  const struct { UINT vk; bool shift, control; WPARAM ch; } cases[] = {  // ch 0: none
      {'A', false, false, u'a'}, {'A', true, false, u'A'},     {'C', false, true, 3},
      {'1', true, false, u'!'},  {VK_RETURN, false, false, u'\r'}, {VK_ESCAPE, false, false, 0x1B},
      {VK_BACK, false, false, 8}, {VK_OEM_2, true, false, u'?'}, {VK_LEFT, false, false, 0},
  };
  for (const auto& c : cases) {
    log().clear();
    key(c.vk, true, c.shift, c.control);
    key(c.vk, false, c.shift, c.control);
    pump();
    std::vector<Expect> expected{msgWL(edit, WM_KEYDOWN, c.vk, 1)};
    if (c.ch) expected.push_back(msgWL(edit, WM_CHAR, c.ch, 1));
    expected.push_back(msgWL(edit, WM_KEYUP, c.vk, static_cast<LPARAM>(0xC0000001u)));
    EXPECT_TRUE(sameSequence(expected, log().only({WM_KEYDOWN, WM_CHAR, WM_KEYUP}))) << "key " << c.vk;
  }
  SetFocus(nullptr);
  key(VK_DOWN, true);
  pump();
  EXPECT_EQ(log().count(top, WM_KEYDOWN), 1u) << "with nothing focused keys go to the active window";
}

TEST_F(InputTest, FocusAndActivationChangesTellTheOldWindowThenTheNewAndFollowTapsShowingAndDestroying) {
  HWND first = createTopLevel(WS_VISIBLE, {0, 26, 100, 126});
  HWND top = createTopLevel(WS_VISIBLE, {120, 26, 220, 126});
  createTopLevel(0);
  EXPECT_EQ(GetActiveWindow(), top) << "the last visible top-level window made is active, a hidden one is not";
  HWND b = createChild(top, 2, {60, 0, 110, 50});
  SetFocus(b);
  log().clear();
  EnableWindow(b, FALSE);
  EXPECT_EQ(GetFocus(), nullptr) << "disabling the focus window takes the focus away";
  EXPECT_EQ(log().count(b, WM_ENABLE), 1u);

  SetFocus(top);
  log().clear();
  EXPECT_EQ(SetActiveWindow(first), top);
  EXPECT_TRUE(sameSequence({msgWL(top, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(first)),
                            msgWL(first, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(top)),
                            msgW(top, WM_KILLFOCUS, reinterpret_cast<WPARAM>(first)),
                            msgW(first, WM_SETFOCUS, reinterpret_cast<WPARAM>(top))},
                           log().only({WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS})));
  EXPECT_EQ(GetForegroundWindow(), first);
  EXPECT_TRUE(SetForegroundWindow(top));
  // A tap activates an inactive window first and brings it to the front.
  pump();
  log().clear();
  tap(50, 50);
  pump();
  auto topLevel = reinterpret_cast<WPARAM>(first);  // the top-level window of the one tapped
  EXPECT_TRUE(sameSequence({msgWL(first, WM_MOUSEACTIVATE, topLevel, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
                            msgWL(top, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(first)),
                            msgWL(first, WM_ACTIVATE, WA_CLICKACTIVE, reinterpret_cast<LPARAM>(top)),
                            msg(first, WM_LBUTTONDOWN), msg(first, WM_LBUTTONUP)},
                           log().only({WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN, WM_LBUTTONUP})));
  EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), first);
  HWND popup = createTopLevel(WS_VISIBLE | WS_POPUP, {20, 40, 100, 100}, first);
  ASSERT_EQ(GetActiveWindow(), popup);
  DestroyWindow(popup);
  EXPECT_EQ(GetActiveWindow(), first) << "destroying the active window activates its owner";
  ShowWindow(first, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), top) << "hiding the active window moves activation on";
  DestroyWindow(top);
  EXPECT_EQ(GetActiveWindow(), nullptr) << "only a hidden window is left";
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(InputTest, AcceleratorsFromResourcesBecomeCommandsForTheirKeysAndModifiersOnly) {
  HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  HWND top = createTopLevel(WS_VISIBLE);
  const struct { UINT message, key; bool shift, control; WORD command; } cases[] = {  // command 0: no match
      {WM_KEYDOWN, 'N', false, true, 100}, {WM_KEYDOWN, 'N', false, false, 0}, {WM_KEYDOWN, 'N', true, true, 0},
      {WM_KEYDOWN, VK_F5, false, false, 101}, {WM_KEYUP, VK_F5, false, false, 0}, {WM_CHAR, u'q', false, false, 102},
      {WM_KEYDOWN, 'Q', false, false, 0},
  };
  for (const auto& c : cases) {
    stylus(Type::StylusMove, 0, 0, c.shift, c.control);  // carries the modifier state
    pump();
    log().clear();
    MSG m{top, c.message, c.key, 1, 0, {0, 0}};
    EXPECT_EQ(TranslateAcceleratorW(top, table, &m), c.command != 0) << c.key;
    std::vector<Expect> sent{msgWL(top, WM_COMMAND, MAKEWPARAM(c.command, 1), 0)};
    EXPECT_TRUE(sameSequence(c.command ? sent : std::vector<Expect>{}, log().only({WM_COMMAND}))) << c.key;
  }
  MSG m{top, WM_KEYDOWN, VK_F5, 1, 0, {0, 0}};
  EXPECT_TRUE(DestroyAcceleratorTable(table));
  EXPECT_EQ(TranslateAcceleratorW(top, table, &m), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_ACCEL_HANDLE));
  EXPECT_FALSE(DestroyAcceleratorTable(table));
  EXPECT_EQ(LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(2)), nullptr);
}

}  // namespace
}  // namespace usertest
