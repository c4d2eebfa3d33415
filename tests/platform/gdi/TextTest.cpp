// Text on the screen: what ExtTextOutW and DrawTextW change, checked pixel
// by pixel against what GetTextExtentPoint32W and GetTextMetricsW say.
#include <algorithm>
#include <string>
#include <utility>

#include "RasterHelpers.h"
#include "device/Device.h"

namespace rastertest {
namespace {

constexpr uint32_t kPaperPixel = 0x00FFFFFF;
constexpr RECT kWholeScreen{0, 0, 240, 320};

display::Framebuffer& screen() { return device::Device::instance().backend().framebuffer(); }

// A screen DC on white paper, with the system font, black text and a
// transparent background unless a test says otherwise.
class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hdc_ = GetDC(nullptr);
    clear();
    SetBkMode(hdc_, TRANSPARENT);
    GetTextMetricsW(hdc_, &tm_);
  }
  void TearDown() override {
    SelectObject(hdc_, GetStockObject(SYSTEM_FONT));
    if (font_) DeleteObject(font_);
    ReleaseDC(nullptr, hdc_);
  }
  static void clear() { std::fill(screen().row(0), screen().row(0) + screen().pixels().size(), kPaperPixel); }

  void useFont(const char16_t* face, LONG height, LONG weight = FW_NORMAL, BYTE underline = 0) {
    LOGFONTW f{};
    f.lfHeight = height;
    f.lfWeight = weight;
    f.lfUnderline = underline;
    std::u16string_view name(face);
    std::copy(name.begin(), name.end(), f.lfFaceName);
    HFONT font = CreateFontIndirectW(&f);
    SelectObject(hdc_, font);
    if (font_) DeleteObject(font_);
    font_ = font;
  }

  SIZE extent(std::u16string_view text) const {
    SIZE s{};
    GetTextExtentPoint32W(hdc_, text.data(), static_cast<int>(text.size()), &s);
    return s;
  }
  int width(std::u16string_view text) const { return extent(text).cx; }
  void out(int x, int y, std::u16string_view text, UINT options = 0, const RECT* r = nullptr) {
    ExtTextOutW(hdc_, x, y, options, r, text.data(), static_cast<UINT>(text.size()), nullptr);
  }
  RECT calc(std::u16string_view text, RECT r, UINT format) const {
    DrawTextW(hdc_, text.data(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    return r;
  }

  // The bounds of every pixel of the area that is no longer paper; empty when none.
  static RECT inked(const RECT& area = kWholeScreen) {
    RECT box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (screen().pixel(x, y) != kPaperPixel) {
          box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                 std::max<LONG>(box.bottom, y + 1)};
        }
    return box.left > box.right ? RECT{0, 0, 0, 0} : box;
  }

  HDC hdc_ = nullptr;
  HFONT font_ = nullptr;
  TEXTMETRICW tm_{};
};

// --- ExtTextOutW ---------------------------------------------------------

TEST_F(TextTest, OpaqueWithoutTextFillsExactlyTheRectangle) {
  SetBkColor(hdc_, RGB(0, 0, 0));
  RECT bar{13, 40, 19, 120};
  EXPECT_TRUE(ExtTextOutW(hdc_, 0, 0, ETO_OPAQUE, &bar, nullptr, 0, nullptr));
  for (int y = 0; y < screen().height(); ++y)
    for (int x = 0; x < screen().width(); ++x) {
      bool inside = x >= bar.left && x < bar.right && y >= bar.top && y < bar.bottom;
      ASSERT_EQ(screen().pixel(x, y), inside ? 0u : kPaperPixel) << x << "," << y;
    }
}

TEST_F(TextTest, TextLandsInsideItsMeasuredExtent) {
  struct Case { const char16_t* face; LONG height, weight; const char16_t* text; } cases[] = {
      {u"Tahoma", -13, FW_BOLD, u"Database Properties"}, {u"Courier New", -12, FW_NORMAL, u"0x0001 (VT_I2)"},
      {u"Times New Roman", -16, FW_NORMAL, u"Records: 1,024"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::u16string_view(c.text).size());
    clear();
    useFont(c.face, c.height, c.weight);
    out(17, 33, c.text);
    SIZE s = extent(c.text);
    RECT ink = inked();
    EXPECT_GE(ink.left, 17);
    EXPECT_GE(ink.top, 33);
    EXPECT_LE(ink.right, 17 + s.cx);
    EXPECT_LE(ink.bottom, 33 + s.cy);
    // The extent is no wider than the ink needs: the last glyph ends near it.
    EXPECT_GE(ink.right, 17 + s.cx - 3);
    EXPECT_LE(ink.left, 17 + 2);
  }
}

TEST_F(TextTest, ClippedTextStaysInsideTheRectangle) {
  useFont(u"Tahoma", -20);
  RECT box{20, 20, 60, 32};
  out(10, 15, u"Clipped text", ETO_CLIPPED, &box);
  RECT ink = inked();
  EXPECT_LT(ink.left, ink.right) << "something was drawn";
  EXPECT_TRUE(ink.left >= box.left && ink.top >= box.top && ink.right <= box.right && ink.bottom <= box.bottom);
}

TEST_F(TextTest, UnderlinesRunBelowTheBaselineAndColoursBlendFromPaperToTextColour) {
  useFont(u"Tahoma", -16, FW_NORMAL, 1);
  out(10, 10, u"a   b");
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc_, &tm);
  int middle = 10 + width(u"a   b") / 2;
  RECT between = inked({middle, 10, middle + 1, 10 + tm.tmHeight});
  EXPECT_GT(between.bottom, between.top) << "the underline runs across the gap";
  EXPECT_GE(between.top, 10 + tm.tmAscent);
  EXPECT_EQ(inked().right, 10 + width(u"a   b"));
  // A prefix underlines only the marked 'e' ("Delete" has no descenders).
  clear();
  useFont(u"Tahoma", -16);
  RECT box{10, 10, 200, 40};
  DrawTextW(hdc_, u"D&elete", -1, &box, DT_SINGLELINE);
  RECT under = inked({0, 10 + tm.tmAscent + 1, 240, 10 + tm.tmHeight});
  EXPECT_GE(under.left, 10 + width(u"D"));
  EXPECT_LE(under.right, 10 + width(u"De"));
  EXPECT_GT(under.right, under.left);

  clear();
  useFont(u"Tahoma", -24);
  SetTextColor(hdc_, RGB(0, 0, 255));
  out(10, 10, u"O");
  bool solid = false, partial = false;
  for (uint32_t p : screen().pixels()) {
    if (p == kPaperPixel) continue;
    uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    EXPECT_EQ(r, g) << "only blue is mixed in";
    EXPECT_EQ(b, 0xFFu);
    (r == 0 ? solid : partial) = true;
  }
  EXPECT_TRUE(solid);
  EXPECT_TRUE(partial) << "edges are anti-aliased";
}

TEST_F(TextTest, ExtremeCoordinatesDrawNothingAndDoNotOverflow) {
  // Built with the undefined-behaviour sanitizer, an overflow here aborts.
  const int lo = INT32_MIN;
  const int hi = INT32_MAX;
  RECT huge{lo, lo, hi, hi};
  EXPECT_TRUE(ExtTextOutW(hdc_, hi, hi, ETO_CLIPPED, &huge, u"far", 3, nullptr));
  EXPECT_TRUE(ExtTextOutW(hdc_, lo, lo, 0, nullptr, u"far", 3, nullptr));
  RECT calc = huge;
  EXPECT_GT(DrawTextW(hdc_, u"one two\tthree", -1, &calc, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS), 0);
  EXPECT_EQ(inked().right, 0) << "all of it off the screen";
  // Centred in the whole plane, text lands around the origin.
  RECT box = huge;
  DrawTextW(hdc_, u"one two three", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EXPECT_EQ(inked().left, 0);
  EXPECT_LT(inked().right, width(u"one two three"));
}

TEST_F(TextTest, AlignmentMovesTheReferencePointAndTheCurrentPositionFollowsTheRun) {
  SetBkMode(hdc_, OPAQUE);  // the filled cell shows where the run went
  SetBkColor(hdc_, RGB(255, 0, 0));
  int w = width(u"Name");
  // The current position starts at (120, 30) and is where the run leaves it.
  const struct { UINT align; int left, top, nextX; } cases[] = {
      {TA_CENTER | TA_TOP, 100 - w / 2, 100, 120},
      {TA_LEFT | TA_BOTTOM, 100, 100 - tm_.tmHeight, 120}, {TA_RIGHT | TA_BASELINE, 100 - w, 100 - tm_.tmAscent, 120},
      {TA_UPDATECP, 120, 30, 120 + w}, {TA_UPDATECP | TA_RIGHT, 120 - w, 30, 120 - w},
  };
  UINT previous = TA_LEFT | TA_TOP;
  for (const auto& c : cases) {
    clear();
    MoveToEx(hdc_, 120, 30, nullptr);
    EXPECT_EQ(SetTextAlign(hdc_, c.align), std::exchange(previous, c.align));
    out(100, 100, u"Name");
    EXPECT_EQ(inked(), (RECT{c.left, c.top, c.left + w, c.top + tm_.tmHeight})) << c.align;
    POINT now{};
    MoveToEx(hdc_, 0, 0, &now);
    EXPECT_EQ(now.x, c.nextX) << c.align;
  }
  SetTextAlign(hdc_, TA_LEFT | TA_TOP);
  SIZE s{};
  EXPECT_FALSE(GetTextMetricsW(hdc_, nullptr) || GetTextExtentPoint32W(hdc_, u"x", -1, &s) ||
               ExtTextOutW(hdc_, 0, 0, 0, nullptr, nullptr, 2, nullptr))
      << "no metrics buffer, a negative count, a count without text";
}

// --- DrawTextW -------------------------------------------------------------

TEST_F(TextTest, WordBreakKeepsLinesInsideTheWidth) {
  std::u16string_view text = u"Are you sure you want to delete the selected records from the database?";
  for (int w : {60, 120, 200}) {
    SCOPED_TRACE(w);
    RECT r = calc(text, {0, 0, w, 0}, DT_WORDBREAK);
    int lines = (r.bottom - r.top) / tm_.tmHeight;
    EXPECT_EQ((r.bottom - r.top) % tm_.tmHeight, 0);
    EXPECT_GT(lines, 1);
    EXPECT_LE(r.right, w);

    clear();
    RECT box{5, 5, 5 + w, 300};
    int height = DrawTextW(hdc_, text.data(), static_cast<int>(text.size()), &box, DT_WORDBREAK);
    EXPECT_EQ(height, lines * tm_.tmHeight);
    EXPECT_LE(inked().right, 5 + w);
    EXPECT_LE(inked().bottom, 5 + height);
  }
}

TEST_F(TextTest, CalcRectBoundsLinesBreaksPrefixesAndTabsAndDrawsNothing) {
  const int stop = 8 * tm_.tmAveCharWidth;
  // right, bottom: of the calculated rectangle, from (0, 0).
  struct Case { const char16_t* text; LONG width; UINT format; LONG right, bottom; } cases[] = {
      {u"Delete Database", 200, DT_SINGLELINE, width(u"Delete Database"), tm_.tmHeight}, {u"", 100, 0, 0, 0},
      {u"one\r\ntwo\nthree\rfour", 200, 0, width(u"three"), 4 * tm_.tmHeight},
      // A word wider than the line is not split; the rectangle grows to hold it.
      {u"a Supercalifragilistic b", 30, DT_WORDBREAK, width(u"Supercalifragilistic"), 3 * tm_.tmHeight},
      // In a single line, breaks do not break.
      {u"one\r\ntwo", 5, DT_SINGLELINE | DT_WORDBREAK, width(u"onetwo"), tm_.tmHeight},
      {u"&Delete", 200, DT_SINGLELINE, width(u"Delete"), tm_.tmHeight},
      {u"Save && Close", 200, DT_SINGLELINE, width(u"Save & Close"), tm_.tmHeight},
      {u"&Delete", 200, DT_SINGLELINE | DT_NOPREFIX, width(u"&Delete"), tm_.tmHeight},
      {u"a\tb", 200, DT_SINGLELINE | DT_EXPANDTABS, stop + width(u"b"), tm_.tmHeight},
      {u"a\t\tb", 200, DT_SINGLELINE | DT_EXPANDTABS, 2 * stop + width(u"b"), tm_.tmHeight},
      {u"a\tb", 200, DT_SINGLELINE, width(u"ab"), tm_.tmHeight},  // unexpanded, a tab takes no room
  };
  for (const Case& c : cases) {
    RECT r = calc(c.text, {0, 0, c.width, 0}, c.format);
    EXPECT_EQ(r, (RECT{0, 0, c.right, c.bottom})) << std::u16string_view(c.text).size() << " " << c.format;
  }
  // As an edit control shows it, a long word is broken where it must be.
  RECT broken = calc(u"a Supercalifragilistic b", {0, 0, 30, 0}, DT_WORDBREAK | DT_EDITCONTROL);
  EXPECT_LE(broken.right, 30);
  EXPECT_GT(broken.bottom, 3 * tm_.tmHeight);
  EXPECT_EQ(inked().right, 0);
}

TEST_F(TextTest, EndEllipsisCutsWhatDoesNotFitAndClippingIsTheDefault) {
  std::u16string_view text = u"\\Windows\\Start Menu\\Programs\\Vantor.lnk";
  RECT box{10, 10, 90, 30};
  RECT r = calc(text, box, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_LE(r.right, box.right);
  EXPECT_GT(r.right, box.right - width(u"W..."));
  DrawTextW(hdc_, text.data(), -1, &box, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  // Three dots at the end: ink in the last few pixels before the cut.
  EXPECT_LE(inked().right, box.right);
  EXPECT_GE(inked().right, r.right - 2);
  // Text that fits is left alone.
  EXPECT_EQ(calc(u"Vantor", box, DT_SINGLELINE | DT_END_ELLIPSIS).right, 10 + width(u"Vantor"));
  // Without an ellipsis the text is clipped to the rectangle, unless told not to be.
  for (UINT noClip : {0u, UINT(DT_NOCLIP)}) {
    clear();
    DrawTextW(hdc_, text.data(), -1, &box, DT_SINGLELINE | noClip);
    EXPECT_GE(inked().left, box.left);
    EXPECT_EQ(inked().right > box.right, noClip != 0);
  }
}

TEST_F(TextTest, DrawTextAlignsLeftCentreRightAndVertically) {
  int w = width(u"Records");
  RECT box{20, 40, 220, 100};
  struct Case { UINT format; int left, top; } cases[] = {
      {DT_CENTER | DT_SINGLELINE, 20 + (200 - w) / 2, 40},
      {DT_SINGLELINE | DT_VCENTER, 20, 40 + (60 - tm_.tmHeight) / 2},
      {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 220 - w, 100 - tm_.tmHeight},
  };
  SetBkMode(hdc_, OPAQUE);  // the cell is filled: its bounds show where the line went
  SetBkColor(hdc_, RGB(0, 255, 0));
  for (const Case& c : cases) {
    clear();
    RECT r = box;
    int result = DrawTextW(hdc_, u"Records", -1, &r, c.format);
    EXPECT_EQ(inked(), (RECT{c.left, c.top, c.left + w, c.top + tm_.tmHeight})) << c.format;
    EXPECT_EQ(result, c.top + tm_.tmHeight - box.top) << c.format;
  }
}

}  // namespace
}  // namespace rastertest
