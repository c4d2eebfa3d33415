// DrawTextW: lines, alignment, word breaks, ellipses, prefixes, tabs and the
// rectangle DT_CALCRECT gives back, measured against GetTextExtentPoint32W.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "device/Device.h"

namespace {

constexpr uint32_t kPaperPixel = 0x00FFFFFF;

display::Framebuffer& screen() { return device::Device::instance().backend().framebuffer(); }

class DrawTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hdc_ = GetDC(nullptr);
    std::fill(screen().row(0), screen().row(0) + screen().pixels().size(), kPaperPixel);
    SetBkMode(hdc_, TRANSPARENT);
    GetTextMetricsW(hdc_, &tm_);
  }
  void TearDown() override { ReleaseDC(nullptr, hdc_); }

  int width(std::u16string_view text) const {
    SIZE s{};
    GetTextExtentPoint32W(hdc_, text.data(), static_cast<int>(text.size()), &s);
    return s.cx;
  }

  RECT calc(std::u16string_view text, RECT r, UINT format) const {
    DrawTextW(hdc_, text.data(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    return r;
  }

  // Ink bounds within an area of the screen; empty when there is none.
  static RECT inked(const RECT& area = {0, 0, 240, 320}) {
    RECT box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (screen().pixel(x, y) != kPaperPixel) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box.left > box.right ? RECT{0, 0, 0, 0} : box;
  }

  // Rows of the area that hold ink, grouped into lines of text.
  static int inkedLines(const RECT& area) {
    int lines = 0;
    bool previous = false;
    for (int y = area.top; y < area.bottom; ++y) {
      bool any = false;
      for (int x = area.left; x < area.right && !any; ++x) any = screen().pixel(x, y) != kPaperPixel;
      if (any && !previous) ++lines;
      previous = any;
    }
    return lines;
  }

  HDC hdc_ = nullptr;
  TEXTMETRICW tm_{};
};

TEST_F(DrawTextTest, CalcRectOfOneLineBoundsTheText) {
  RECT r = calc(u"Delete Database", {10, 20, 200, 21}, DT_SINGLELINE);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right, 10 + width(u"Delete Database"));
  EXPECT_EQ(r.bottom, 20 + tm_.tmHeight);
  // Nothing is drawn while calculating.
  EXPECT_EQ(inked().right, 0);
}

TEST_F(DrawTextTest, WordBreakKeepsLinesInsideTheWidth) {
  std::u16string_view text = u"Are you sure you want to delete the selected records from the database?";
  for (int w : {60, 90, 120, 200}) {
    RECT r = calc(text, {0, 0, w, 0}, DT_WORDBREAK);
    int lines = (r.bottom - r.top) / tm_.tmHeight;
    EXPECT_EQ((r.bottom - r.top) % tm_.tmHeight, 0);
    EXPECT_GT(lines, 1) << w;
    EXPECT_LE(r.right, w);
    // Lines narrower than the rectangle would fit fewer of them.
    EXPECT_GE(lines * w, width(text) - lines * width(u"database?")) << w;

    SetUp();
    RECT box{5, 5, 5 + w, 300};
    int height = DrawTextW(hdc_, text.data(), static_cast<int>(text.size()), &box, DT_WORDBREAK);
    EXPECT_EQ(height, lines * tm_.tmHeight);
    RECT ink = inked();
    EXPECT_LE(ink.right, 5 + w);
    EXPECT_LE(ink.bottom, 5 + height);
    EXPECT_EQ(inkedLines({0, 0, 240, 320}), lines);
  }
}

TEST_F(DrawTextTest, LineBreaksStartNewLinesAndLongWordsStayWhole) {
  RECT r = calc(u"one\r\ntwo\nthree\rfour", {0, 0, 200, 0}, 0);
  EXPECT_EQ(r.bottom, 4 * tm_.tmHeight);
  EXPECT_EQ(r.right, width(u"three"));
  // A word wider than the line is not split; the rectangle grows to hold it.
  RECT wide = calc(u"a Supercalifragilistic b", {0, 0, 30, 0}, DT_WORDBREAK);
  EXPECT_EQ(wide.bottom, 3 * tm_.tmHeight);
  EXPECT_EQ(wide.right, width(u"Supercalifragilistic"));
  // As an edit control shows it, such a word is broken where it must be.
  RECT broken = calc(u"a Supercalifragilistic b", {0, 0, 30, 0}, DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_LE(broken.right, 30);
  EXPECT_GT(broken.bottom, 3 * tm_.tmHeight);
  // In a single line, breaks do not break.
  RECT single = calc(u"one\r\ntwo", {0, 0, 5, 0}, DT_SINGLELINE | DT_WORDBREAK);
  EXPECT_EQ(single.bottom, tm_.tmHeight);
  EXPECT_EQ(single.right, width(u"onetwo"));
}

TEST_F(DrawTextTest, EndEllipsisCutsWhatDoesNotFit) {
  std::u16string_view text = u"\\Windows\\Start Menu\\Programs\\Vantor.lnk";
  RECT box{10, 10, 90, 30};
  RECT r = calc(text, box, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_LE(r.right, box.right);
  EXPECT_GT(r.right, box.right - width(u"W..."));
  DrawTextW(hdc_, text.data(), -1, &box, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  RECT ink = inked();
  EXPECT_LE(ink.right, box.right);
  // Three dots at the end: ink in the last few pixels before the cut.
  EXPECT_GE(ink.right, r.right - 2);
  // Text that fits is left alone.
  EXPECT_EQ(calc(u"Vantor", box, DT_SINGLELINE | DT_END_ELLIPSIS).right, 10 + width(u"Vantor"));
  // Without an ellipsis the same text runs past the rectangle when not clipped.
  SetUp();
  DrawTextW(hdc_, text.data(), -1, &box, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(inked().right, box.right);
}

TEST_F(DrawTextTest, AlignsLeftCentreRightAndVertically) {
  std::u16string_view text = u"Records";
  int w = width(text);
  RECT box{20, 40, 220, 100};
  struct Case {
    UINT format;
    int left;
    int top;
  } cases[] = {
      {DT_LEFT | DT_SINGLELINE, 20, 40},
      {DT_RIGHT | DT_SINGLELINE, 220 - w, 40},
      {DT_CENTER | DT_SINGLELINE, 20 + (200 - w) / 2, 40},
      {DT_SINGLELINE | DT_VCENTER, 20, 40 + (60 - tm_.tmHeight) / 2},
      {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 220 - w, 100 - tm_.tmHeight},
  };
  for (const Case& c : cases) {
    SetUp();
    SetBkMode(hdc_, OPAQUE);  // the cell is filled: its bounds show where the line went
    SetBkColor(hdc_, RGB(0, 255, 0));
    RECT r = box;
    int result = DrawTextW(hdc_, text.data(), -1, &r, c.format);
    RECT ink = inked();
    EXPECT_EQ(ink.left, c.left) << c.format;
    EXPECT_EQ(ink.top, c.top) << c.format;
    EXPECT_EQ(ink.right, c.left + w) << c.format;
    EXPECT_EQ(ink.bottom, c.top + tm_.tmHeight) << c.format;
    EXPECT_EQ(result, c.top + tm_.tmHeight - box.top) << c.format;
  }
}

TEST_F(DrawTextTest, PrefixesUnderlineTheMarkedCharacter) {
  EXPECT_EQ(calc(u"&Delete", {0, 0, 200, 0}, DT_SINGLELINE).right, width(u"Delete"));
  EXPECT_EQ(calc(u"Save && Close", {0, 0, 200, 0}, DT_SINGLELINE).right, width(u"Save & Close"));
  EXPECT_EQ(calc(u"&Delete", {0, 0, 200, 0}, DT_SINGLELINE | DT_NOPREFIX).right, width(u"&Delete"));

  // The underline sits below the baseline under 'e' only.
  RECT box{10, 10, 200, 40};
  DrawTextW(hdc_, u"D&elete", -1, &box, DT_SINGLELINE);
  int eLeft = 10 + width(u"D");
  int eRight = eLeft + width(u"e");
  RECT under = inked({0, 10 + tm_.tmAscent + 1, 240, 10 + tm_.tmHeight});
  EXPECT_GE(under.left, eLeft);
  EXPECT_LE(under.right, eRight);
  EXPECT_GT(under.right, under.left);
  SetUp();
  DrawTextW(hdc_, u"Delete", -1, &box, DT_SINGLELINE);
  EXPECT_EQ(inked({0, 10 + tm_.tmAscent + 1, 240, 10 + tm_.tmHeight}).right, 0) << "no descenders in Delete";
}

TEST_F(DrawTextTest, TabsExpandToStopsOfEightAverageCharacters) {
  int stop = 8 * tm_.tmAveCharWidth;
  EXPECT_EQ(calc(u"a\tb", {0, 0, 200, 0}, DT_SINGLELINE | DT_EXPANDTABS).right, stop + width(u"b"));
  EXPECT_EQ(calc(u"a\t\tb", {0, 0, 200, 0}, DT_SINGLELINE | DT_EXPANDTABS).right, 2 * stop + width(u"b"));
  // DT_TABSTOP: the second byte is the tab size in characters (so no
  // DT_CALCRECT: the cell drawn in opaque mode shows the line's width).
  SetBkMode(hdc_, OPAQUE);
  SetBkColor(hdc_, RGB(0, 0, 0));
  RECT box{0, 0, 200, 50};
  DrawTextW(hdc_, u"a\tb", -1, &box, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (3 << 8));
  EXPECT_EQ(inked().right, 3 * tm_.tmAveCharWidth + width(u"b"));
  // Unexpanded, a tab takes no room.
  EXPECT_EQ(calc(u"a\tb", {0, 0, 200, 0}, DT_SINGLELINE).right, width(u"ab"));
}

TEST_F(DrawTextTest, ClipsToTheRectangleUnlessTold) {
  RECT box{10, 10, 40, 20};
  DrawTextW(hdc_, u"Wide typing, quietly", -1, &box, DT_SINGLELINE);
  RECT ink = inked();
  EXPECT_GE(ink.left, box.left);
  EXPECT_LE(ink.right, box.right);
  EXPECT_LE(ink.bottom, box.bottom);
  SetUp();
  DrawTextW(hdc_, u"Wide typing, quietly", -1, &box, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(inked().right, box.right);
  EXPECT_GT(inked().bottom, box.bottom);
}

TEST_F(DrawTextTest, EmptyTextHasNoHeight) {
  RECT r{5, 5, 100, 100};
  EXPECT_EQ(DrawTextW(hdc_, u"", -1, &r, DT_CALCRECT), 0);
  EXPECT_EQ(r.right, 5);
  EXPECT_EQ(r.bottom, 5);
  EXPECT_EQ(DrawTextW(hdc_, u"abc", 0, &r, 0), 0);
}

}  // namespace
