// How the static and button controls and the message box look: checked on
// the screen's pixels, region by region, against the measured text.
#include <algorithm>
#include <string>

#include "Recorder.h"
#include "user/TextMeasure.h"

namespace usertest {
namespace {

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

TEST_F(ControlPaintTest, StaticTextFollowsItsAlignment) {
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
}

TEST_F(ControlPaintTest, StaticTextWrapsAtWordsAndHonoursPrefixes) {
  std::u16string text = u"Select a database in the tree to list its records";
  RECT r = screenRect(control(WC_STATIC, text.c_str(), SS_LEFT, {10, 10, 90, 10 + 6 * user::textLineHeight()}));
  EXPECT_EQ(inkLines(r, kWhite), static_cast<int>(user::wrapText(text, 80).size()));
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

TEST_F(ControlPaintTest, CheckBoxShowsItsStateInTheBoxOnly) {
  HWND box = control(WC_BUTTON, u"Bold", BS_AUTOCHECKBOX, {10, 10, 110, 26});
  RECT r = screenRect(box), label{r.left + 16, r.top, r.right, r.bottom};
  std::vector<uint32_t> before(screen().pixels());
  RECT labelInk = inkIn(label, kWhite);
  EXPECT_GT(labelInk.right, labelInk.left);
  SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
  UpdateWindow(parent_);
  int changedInBox = 0, changedInLabel = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      (x < label.left ? changedInBox : changedInLabel) +=
          screen().pixel(x, y) != before[static_cast<size_t>(y) * screen().width() + x];
  EXPECT_GT(changedInBox, 4);
  EXPECT_EQ(changedInLabel, 0);
  SetFocus(box);
  UpdateWindow(parent_);
  RECT focused = inkIn(label, kWhite);
  EXPECT_LT(focused.left, labelInk.left) << "focus draws a dotted frame around the label";
  EXPECT_GT(focused.right, labelInk.right);
}

TEST_F(ControlPaintTest, GroupBoxTitleInterruptsItsFrame) {
  RECT r = screenRect(control(WC_BUTTON, u"Style:", BS_GROUPBOX, {10, 10, 130, 90}));
  int lineHeight = user::textLineHeight();
  // The frame shows on the left, right and bottom; the middle stays the parent's.
  EXPECT_NE(inkIn({r.left, r.top + lineHeight, r.left + 2, r.bottom}, kWhite).right, 0);
  EXPECT_NE(inkIn({r.right - 2, r.top + lineHeight, r.right, r.bottom}, kWhite).right, 0);
  EXPECT_NE(inkIn({r.left + 20, r.bottom - 2, r.right - 20, r.bottom}, kWhite).right, 0);
  EXPECT_EQ(inkIn({r.left + 4, r.top + lineHeight + 2, r.right - 4, r.bottom - 4}, kWhite).right, 0);
  // The title sits on the top line, which breaks around it.
  int titleRight = r.left + 6 + user::textWidth(u"Style:") + 2 * 2;
  RECT title = inkIn({r.left + 2, r.top, titleRight, r.top + lineHeight}, kWhite);
  EXPECT_GT(title.right - title.left, user::textWidth(u"Style:") - 3);
  int frameRow = r.top + lineHeight / 2;
  EXPECT_EQ(screen().pixel(r.left + 7, frameRow), kWhite) << "under the title the line is broken";
  EXPECT_NE(inkIn({titleRight + 1, r.top, r.right - 2, frameRow + 2}, kWhite).right, 0) << "and goes on after it";
}

TEST_F(ControlPaintTest, MessageBoxDrawsCaptionIconTextAndButtons) {
  std::u16string text = u"Are you sure you want to delete the database Contacts Database and its 1,234 records?";
  RECT label{};
  bool seen = false;
  EXPECT_EQ(runMessageBox(parent_, text.c_str(), MB_YESNO | MB_ICONQUESTION, [&](HWND box) {
              seen = box != nullptr;
              RECT window = screenRect(box), yes = screenRect(GetDlgItem(box, IDYES));
              label = screenRect(GetDlgItem(box, 0xFFFF));
              // A one-pixel black border, then the caption strip with the title in white.
              EXPECT_EQ(screen().pixel(window.left, window.top + 40), 0u);
              uint32_t caption = pixelOf(GetSysColor(COLOR_ACTIVECAPTION));
              RECT strip{window.left + 1, window.top + 1, window.right - 1, label.top - 8};
              EXPECT_EQ(screen().pixel(strip.right - 2, strip.top + 1), caption);
              RECT title = inkIn(strip, caption);
              EXPECT_GT(title.right - title.left, user::textWidth(u"Vantor") - 2);
              EXPECT_GT(countPixels(strip, [](uint32_t p) { return p == kWhite; }), 20);
              // The icon, the text as wrapText broke it, and the buttons' labels.
              EXPECT_GT(inkIn(screenRect(GetDlgItem(box, 20)), kWhite).right, 0);
              int width = label.right - label.left;
              EXPECT_EQ(inkLines(label, kWhite), static_cast<int>(user::wrapText(text, width).size()));
              EXPECT_LE(inkIn(label, kWhite).right, label.right);
              RECT yesFace{yes.left + 3, yes.top + 3, yes.right - 3, yes.bottom - 3};
              EXPECT_GT(inkIn(yesFace, pixelOf(GetSysColor(COLOR_BTNFACE))).right, 0);
              PostMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
            }),
            IDNO);
  EXPECT_TRUE(seen);
  EXPECT_GT(inkLines(label, kWhite), 0);
}

TEST(TextMeasureTest, WrapKeepsEveryLineInsideAndLosesNoWord) {
  std::u16string text = u"Delete \\Windows\\Start Menu\\Programs\\Communication\\Inbox.lnk and 3 others?\nSecond line";
  std::u16string letters;
  for (char16_t c : text)
    if (c != u' ' && c != u'\n') letters += c;
  for (int width : {40, 70, 120, 400}) {
    std::u16string joined;
    for (const auto& line : user::wrapText(text, width)) {
      EXPECT_LE(user::textWidth(line), std::max(width, user::textWidth(line.substr(0, 1)))) << width;
      joined += line;
    }
    joined.erase(std::remove(joined.begin(), joined.end(), u' '), joined.end());
    EXPECT_EQ(joined, letters) << width;
  }
  EXPECT_EQ(user::wrapText(u"a\n\nb", 100), (std::vector<std::u16string>{u"a", u"", u"b"}));
  EXPECT_EQ(user::wrapText(u"", 100).size(), 1u);
}

}  // namespace
}  // namespace usertest
