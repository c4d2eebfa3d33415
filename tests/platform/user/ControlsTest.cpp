// The static and button controls: how they look, checked on the screen's
// pixels region by region against the measured text (the program's dialogs
// and the gallery's controls page are checked whole in their own tests), and
// how they act; dialog keys outside a template and default processing.
#include <string>

#include "Recorder.h"
#include "user/TextMeasure.h"

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

constexpr uint32_t kWhite = 0x00FFFFFF;

// Groups of rows with ink: the lines of text shown.
int inkLines(const RECT& area, uint32_t background) {
  int lines = 0;
  bool previous = false;
  for (int y = area.top; y < area.bottom; ++y) {
    bool any = inkIn({area.left, y, area.right, y + 1}, background).right > 0;
    lines += any && !previous;
    previous = any;
  }
  return lines;
}

class ControlPaintTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    parent_ = createTopLevel(WS_VISIBLE);
  }
  HWND control(const char16_t* cls, const char16_t* text, DWORD style, RECT r, int id = 50) {
    HWND hwnd = createControl(parent_, cls, text, style, id, r);
    UpdateWindow(parent_);
    return hwnd;
  }
  HWND parent_ = nullptr;
};

TEST_F(ControlPaintTest, StaticTextFollowsItsAlignmentWrapsAtWordsAndHonoursPrefixes) {
  const int width = 200;
  int text = user::textWidth(u"Records");
  const std::pair<DWORD, int> cases[] = {{SS_LEFT, 0}, {SS_CENTER, (width - text) / 2}, {SS_RIGHT, width - text}};
  for (auto [style, left] : cases) {
    HWND label = control(WC_STATIC, u"Records", style, {10, 10, 10 + width, 30});
    RECT r = screenRect(label), ink = inkIn(r, kWhite);
    EXPECT_GE(ink.left, r.left + left) << style;
    EXPECT_LE(ink.right, r.left + left + text) << style;
    EXPECT_GE(ink.right, r.left + left + text - 2) << style;
    DestroyWindow(label);
  }
  std::u16string words = u"Select a database in the tree to list its records";
  RECT r = screenRect(control(WC_STATIC, words.c_str(), SS_LEFT, {10, 10, 90, 10 + 6 * user::textLineHeight()}));
  EXPECT_EQ(inkLines(r, kWhite), static_cast<int>(user::wrapText(words, 80).size()));
  EXPECT_GT(inkLines(r, kWhite), 2);
  EXPECT_LE(inkIn(r, kWhite).right, r.right);
  // "&&" shows one ampersand unless prefixes are off.
  RECT a = inkIn(screenRect(control(WC_STATIC, u"&&", SS_LEFT, {10, 100, 90, 120}, 51)), kWhite);
  RECT b = inkIn(screenRect(control(WC_STATIC, u"&&", SS_LEFT | SS_NOPREFIX, {10, 130, 90, 150}, 52)), kWhite);
  EXPECT_GT(b.right - b.left, a.right - a.left + 3);
}

TEST_F(ControlPaintTest, StaticUsesTheParentsColoursAndGreysWhenDisabled) {
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  react(parent_, WM_CTLCOLORSTATIC, [&](HWND, UINT, WPARAM wParam, LPARAM) {
    SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(red);
  });
  HWND label = control(WC_STATIC, u"Size", SS_LEFT, {10, 10, 110, 30});
  RECT r = screenRect(label);
  EXPECT_EQ(screen().pixel(r.right - 1, r.bottom - 1), 0x00FF0000u);
  // Glyph pixels mix the parent's blue into its red; nothing else is mixed in.
  auto blueInk = [](uint32_t p) { return (p & 0xFF) > 0 && ((p >> 8) & 0xFF) == 0; };
  auto greyInk = [](uint32_t p) { return ((p >> 8) & 0xFF) > 0; };
  EXPECT_GT(countPixels(r, blueInk), 5);
  EXPECT_EQ(countPixels(r, greyInk), 0);
  EnableWindow(label, FALSE);
  UpdateWindow(parent_);
  EXPECT_EQ(countPixels(r, blueInk), 0);
  EXPECT_GT(countPixels(r, greyInk), 5) << "disabled text is grey";
  DestroyWindow(label);
  DeleteObject(red);
}

TEST_F(ControlPaintTest, PushButtonCentresItsTextAndSinksWhenPressed) {
  HWND button = control(WC_BUTTON, u"Cancel", BS_PUSHBUTTON, {20, 20, 100, 44});
  RECT r = screenRect(button), inner{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
  uint32_t face = pixelOf(GetSysColor(COLOR_BTNFACE));
  RECT text = inkIn(inner, face);
  EXPECT_NEAR((text.left + text.right) / 2, (r.left + r.right) / 2, 2);
  EXPECT_NEAR((text.top + text.bottom) / 2, (r.top + r.bottom) / 2, 3);
  uint32_t topLeft = screen().pixel(r.left, r.top);

  SendMessageW(button, BM_SETSTATE, TRUE, 0);
  UpdateWindow(parent_);
  RECT pressed = inkIn(inner, face);
  EXPECT_EQ(pressed.left, text.left + 1) << "the label moves with the face";
  EXPECT_EQ(pressed.top, text.top + 1);
  EXPECT_NE(screen().pixel(r.left, r.top), topLeft) << "the edges turn";

  SendMessageW(button, BM_SETSTATE, FALSE, 0);
  SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  UpdateWindow(parent_);
  auto black = [](uint32_t p) { return p == 0; };
  EXPECT_EQ(countPixels({r.left, r.bottom - 1, r.right, r.bottom}, black), r.right - r.left) << "the default's frame";
  EXPECT_EQ(countPixels({r.left, r.top, r.left + 1, r.bottom}, black), r.bottom - r.top);
}

}  // namespace
}  // namespace usertest
