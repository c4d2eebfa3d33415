// Text on the screen: what ExtTextOutW and DrawTextW change, checked pixel
// by pixel against what GetTextExtentPoint32W and GetTextMetricsW say.
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>

#include "device/Device.h"
#include "gdi/DeviceContext.h"
#include "gdi/Region.h"

namespace {

constexpr uint32_t kPaperPixel = 0x00FFFFFF;

display::Framebuffer& screen() { return device::Device::instance().backend().framebuffer(); }

// A screen DC on white paper, with the system font, black text and a
// transparent background unless a test says otherwise.
class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hdc_ = GetDC(nullptr);
    clear();
    SetBkMode(hdc_, TRANSPARENT);
  }
  void clear() {
    std::fill(screen().row(0), screen().row(0) + screen().pixels().size(), kPaperPixel);
  }
  void TearDown() override {
    if (font_) {
      SelectObject(hdc_, GetStockObject(SYSTEM_FONT));
      DeleteObject(font_);
    }
    ReleaseDC(nullptr, hdc_);
  }

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

  // The bounds of every pixel that is no longer paper; empty when none.
  static RECT inked() {
    RECT box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = 0; y < screen().height(); ++y)
      for (int x = 0; x < screen().width(); ++x)
        if (screen().pixel(x, y) != kPaperPixel) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box.left > box.right ? RECT{0, 0, 0, 0} : box;
  }

  static std::vector<uint32_t> pixels() { return screen().pixels(); }

  HDC hdc_ = nullptr;
  HFONT font_ = nullptr;
};

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
  struct Case {
    const char16_t* face;
    LONG height;
    LONG weight;
    const char16_t* text;
  } cases[] = {
      {u"Tahoma", -11, FW_NORMAL, u"Vantor version 0.9"},
      {u"Tahoma", -13, FW_BOLD, u"Database Properties"},
      {u"Courier New", -12, FW_NORMAL, u"0x0001 (VT_I2)"},
      {u"Times New Roman", -16, FW_NORMAL, u"Records: 1,024"},
  };
  for (const Case& c : cases) {
    clear();
    useFont(c.face, c.height, c.weight);
    const int x = 17, y = 33;
    EXPECT_TRUE(ExtTextOutW(hdc_, x, y, 0, nullptr, c.text, static_cast<UINT>(std::u16string_view(c.text).size()),
                            nullptr));
    SIZE s = extent(c.text);
    RECT ink = inked();
    SCOPED_TRACE(std::u16string_view(c.text).size());
    EXPECT_GE(ink.left, x);
    EXPECT_GE(ink.top, y);
    EXPECT_LE(ink.right, x + s.cx);
    EXPECT_LE(ink.bottom, y + s.cy);
    // The extent is no wider than the ink needs: the last glyph ends near it.
    EXPECT_GE(ink.right, x + s.cx - 3);
    EXPECT_LE(ink.left, x + 2);
  }
}

TEST_F(TextTest, DrawingInPiecesAtMeasuredOffsetsMatchesDrawingAtOnce) {
  useFont(u"Tahoma", -13);
  std::u16string_view whole = u"Sort orders: Name, Size";
  ExtTextOutW(hdc_, 5, 50, 0, nullptr, whole.data(), static_cast<UINT>(whole.size()), nullptr);
  std::vector<uint32_t> atOnce = pixels();
  clear();
  size_t cut = 0;
  int x = 5;
  while (cut < whole.size()) {
    size_t next = std::min(whole.size(), cut + 4);
    std::u16string_view piece = whole.substr(cut, next - cut);
    ExtTextOutW(hdc_, x, 50, 0, nullptr, piece.data(), static_cast<UINT>(piece.size()), nullptr);
    x += extent(piece).cx;
    cut = next;
  }
  EXPECT_EQ(x - 5, extent(whole).cx);
  EXPECT_TRUE(pixels() == atOnce);
}

TEST_F(TextTest, OpaqueModeFillsTheTextCell) {
  SetBkMode(hdc_, OPAQUE);
  SetBkColor(hdc_, RGB(255, 0, 0));
  ExtTextOutW(hdc_, 30, 60, 0, nullptr, u"Size", 4, nullptr);
  SIZE s = extent(u"Size");
  RECT ink = inked();
  EXPECT_EQ(ink.left, 30);
  EXPECT_EQ(ink.top, 60);
  EXPECT_EQ(ink.right, 30 + s.cx);
  EXPECT_EQ(ink.bottom, 60 + s.cy);
  EXPECT_EQ(screen().pixel(30, 60), 0x00FF0000u);
  EXPECT_EQ(screen().pixel(30 + s.cx - 1, 60 + s.cy - 1), 0x00FF0000u);
}

TEST_F(TextTest, ClippedTextStaysInsideTheRectangleAndTheDcClip) {
  useFont(u"Tahoma", -20);
  RECT box{20, 20, 60, 32};
  ExtTextOutW(hdc_, 10, 15, ETO_CLIPPED, &box, u"Clipped text", 12, nullptr);
  RECT ink = inked();
  EXPECT_GE(ink.left, box.left);
  EXPECT_GE(ink.top, box.top);
  EXPECT_LE(ink.right, box.right);
  EXPECT_LE(ink.bottom, box.bottom);
  EXPECT_LT(ink.left, ink.right) << "something was drawn";

  // The device context's own clip holds whatever the call asks for.
  clear();
  gdi::Region clip(RECT{0, 0, 240, 100});
  clip.subtract(RECT{40, 0, 60, 100});
  gdi::dcFromHandle(hdc_)->setClip(clip);
  SetBkColor(hdc_, RGB(0, 0, 255));
  RECT everywhere{0, 0, 240, 320};
  ExtTextOutW(hdc_, 0, 10, ETO_OPAQUE, &everywhere, u"WWWWWWWWWWWWWWWWWW", 18, nullptr);
  for (int x : {0, 39, 60, 200}) EXPECT_NE(screen().pixel(x, 50), kPaperPixel) << x;
  for (int x = 40; x < 60; ++x)
    for (int y = 0; y < 100; ++y) ASSERT_EQ(screen().pixel(x, y), kPaperPixel) << x << "," << y;
  EXPECT_EQ(screen().pixel(10, 100), kPaperPixel);
  EXPECT_EQ(DrawTextW(hdc_, u"WWWWWWWWWWWWWWWWWWWWW", -1, &everywhere, DT_NOCLIP), extent(u"W").cy);
  for (int x = 40; x < 60; ++x)
    for (int y = 0; y < 100; ++y) ASSERT_EQ(screen().pixel(x, y), kPaperPixel) << x << "," << y;
}

TEST_F(TextTest, AdvanceArrayPlacesEachCharacter) {
  useFont(u"Courier New", -12);
  const int dx[] = {40, 40, 40};
  ExtTextOutW(hdc_, 10, 10, 0, nullptr, u"|||", 3, dx);
  // Three strokes, 40 pixels apart: columns with ink.
  std::vector<int> columns;
  for (int x = 0; x < 200; ++x) {
    bool ink = false;
    for (int y = 10; y < 30; ++y) ink = ink || screen().pixel(x, y) != kPaperPixel;
    if (ink && (columns.empty() || x > columns.back() + 5)) columns.push_back(x);
  }
  ASSERT_EQ(columns.size(), 3u);
  EXPECT_EQ(columns[1] - columns[0], 40);
  EXPECT_EQ(columns[2] - columns[1], 40);
}

TEST_F(TextTest, UnderlineAndStrikeOutDrawLinesAcrossTheRun) {
  useFont(u"Tahoma", -16, FW_NORMAL, 1);
  ExtTextOutW(hdc_, 10, 10, 0, nullptr, u"a   b", 5, nullptr);
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc_, &tm);
  SIZE s = extent(u"a   b");
  // Between the letters only the line is drawn, below the baseline.
  int middle = 10 + s.cx / 2;
  int inkRows = 0;
  for (int y = 10; y < 10 + tm.tmHeight; ++y)
    if (screen().pixel(middle, y) != kPaperPixel) {
      ++inkRows;
      EXPECT_GE(y, 10 + tm.tmAscent);
    }
  EXPECT_GE(inkRows, 1);
  EXPECT_EQ(inked().right, 10 + s.cx);
}

TEST_F(TextTest, ColoursBlendFromPaperToTextColour) {
  useFont(u"Tahoma", -24);
  SetTextColor(hdc_, RGB(0, 0, 255));
  ExtTextOutW(hdc_, 10, 10, 0, nullptr, u"O", 1, nullptr);
  bool solid = false;
  bool partial = false;
  for (uint32_t p : pixels()) {
    if (p == kPaperPixel) continue;
    uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    EXPECT_EQ(r, g) << "only blue is mixed in";
    EXPECT_EQ(b, 0xFFu);
    if (r == 0) solid = true;
    if (r > 0) partial = true;
  }
  EXPECT_TRUE(solid);
  EXPECT_TRUE(partial) << "edges are anti-aliased";
}

TEST_F(TextTest, RejectsBadArguments) {
  SIZE s{};
  EXPECT_FALSE(GetTextExtentPoint32W(reinterpret_cast<HDC>(0x4321), u"x", 1, &s));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(GetTextExtentPoint32W(hdc_, nullptr, 3, &s));
  EXPECT_FALSE(GetTextExtentPoint32W(hdc_, u"x", -1, &s));
  EXPECT_TRUE(GetTextExtentPoint32W(hdc_, nullptr, 0, &s));
  EXPECT_EQ(s.cx, 0);
  EXPECT_GT(s.cy, 0);
  EXPECT_FALSE(ExtTextOutW(hdc_, 0, 0, 0, nullptr, nullptr, 2, nullptr));
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(DrawTextW(hdc_, nullptr, 3, &r, 0), 0);
  EXPECT_EQ(DrawTextW(hdc_, u"x", 1, nullptr, 0), 0);
  TEXTMETRICW tm;
  EXPECT_FALSE(GetTextMetricsW(hdc_, nullptr));
  EXPECT_FALSE(GetTextMetricsW(nullptr, &tm));
  EXPECT_EQ(inked().right, 0) << "nothing drawn";
}

TEST_F(TextTest, AlignmentMovesTheReferencePoint) {
  SetBkMode(hdc_, OPAQUE);  // the filled cell shows where the run went
  SetBkColor(hdc_, RGB(0, 0, 0));
  TEXTMETRICW tm{};
  GetTextMetricsW(hdc_, &tm);
  int w = extent(u"Name").cx;
  struct Case {
    UINT align;
    int left;
    int top;
  } cases[] = {
      {TA_LEFT | TA_TOP, 100, 100},
      {TA_RIGHT | TA_TOP, 100 - w, 100},
      {TA_CENTER | TA_TOP, 100 - w / 2, 100},
      {TA_LEFT | TA_BOTTOM, 100, 100 - tm.tmHeight},
      {TA_RIGHT | TA_BASELINE, 100 - w, 100 - tm.tmAscent},
  };
  for (const Case& c : cases) {
    clear();
    SetTextAlign(hdc_, c.align);
    ExtTextOutW(hdc_, 100, 100, 0, nullptr, u"Name", 4, nullptr);
    RECT ink = inked();
    EXPECT_EQ(ink.left, c.left) << c.align;
    EXPECT_EQ(ink.top, c.top) << c.align;
    EXPECT_EQ(ink.right, c.left + w) << c.align;
  }
  // With the current position, runs follow one another.
  clear();
  SetTextAlign(hdc_, TA_UPDATECP);
  MoveToEx(hdc_, 20, 30, nullptr);
  ExtTextOutW(hdc_, 0, 0, 0, nullptr, u"Na", 2, nullptr);
  ExtTextOutW(hdc_, 0, 0, 0, nullptr, u"me", 2, nullptr);
  EXPECT_EQ(inked().left, 20);
  EXPECT_EQ(inked().right, 20 + extent(u"Na").cx + extent(u"me").cx);
  POINT now{};
  MoveToEx(hdc_, 0, 0, &now);
  EXPECT_EQ(now.x, 20 + extent(u"Name").cx);
  EXPECT_EQ(now.y, 30);
  SetTextAlign(hdc_, TA_LEFT | TA_TOP);
}

TEST_F(TextTest, DrawsIntoTheBitmapOfAMemoryDc) {
  HDC memory = CreateCompatibleDC(hdc_);
  HBITMAP bitmap = CreateCompatibleBitmap(hdc_, 60, 20);
  HGDIOBJ old = SelectObject(memory, bitmap);
  PatBlt(memory, 0, 0, 60, 20, WHITENESS);
  SetBkMode(memory, TRANSPARENT);
  EXPECT_TRUE(ExtTextOutW(memory, 2, 2, 0, nullptr, u"Sort", 4, nullptr));
  int dark = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x)
      if (GetPixel(memory, x, y) != RGB(255, 255, 255)) ++dark;
  EXPECT_GT(dark, 10);
  EXPECT_EQ(inked().right, 0) << "the screen is untouched";
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

TEST_F(TextTest, ExtremeCoordinatesAndAdvancesDrawNothingAndDoNotOverflow) {
  // Built with the undefined-behaviour sanitizer, an overflow here aborts.
  const int lo = INT32_MIN, hi = INT32_MAX;
  RECT huge{lo, lo, hi, hi};
  EXPECT_TRUE(ExtTextOutW(hdc_, hi, hi, ETO_CLIPPED, &huge, u"far", 3, nullptr));
  EXPECT_TRUE(ExtTextOutW(hdc_, lo, lo, 0, nullptr, u"far", 3, nullptr));
  const int dx[] = {hi, hi, hi};
  EXPECT_TRUE(ExtTextOutW(hdc_, 250, 0, 0, nullptr, u"abc", 3, dx));
  const int back[] = {lo, lo, lo};
  EXPECT_TRUE(ExtTextOutW(hdc_, -50, 0, 0, nullptr, u"abc", 3, back));
  SetTextAlign(hdc_, TA_UPDATECP | TA_RIGHT);
  MoveToEx(hdc_, lo, lo, nullptr);
  EXPECT_TRUE(ExtTextOutW(hdc_, 0, 0, 0, nullptr, u"abc", 3, nullptr));
  SetTextAlign(hdc_, TA_LEFT | TA_TOP);
  RECT calc = huge;
  EXPECT_GT(DrawTextW(hdc_, u"one two\tthree", -1, &calc, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS), 0);
  RECT box = huge;
  DrawTextW(hdc_, u"one two three", -1, &box, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS);
  std::u16string tabs(20000, u'\t');
  RECT narrow{0, 0, 10, 10};
  EXPECT_GT(DrawTextW(hdc_, tabs.c_str(), -1, &narrow, DT_CALCRECT | DT_EXPANDTABS | DT_TABSTOP | (255 << 8)), 0);
  EXPECT_EQ(inked().right, 0) << "all of it off the screen";
  // Centred in the whole plane, text lands around the origin.
  box = huge;
  DrawTextW(hdc_, u"one two three", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EXPECT_EQ(inked().left, 0);
  EXPECT_LT(inked().right, extent(u"one two three").cx);
}

}  // namespace
