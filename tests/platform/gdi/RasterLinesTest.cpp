// Lines, rectangles, frames and single pixels on a memory canvas.
#include <climits>
#include <set>

#include "RasterHelpers.h"

namespace rastertest {
namespace {

using Points = std::set<std::pair<int, int>>;

Points inked(const Canvas& c, uint32_t ink) {
  Points p;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.at(x, y) == ink) p.insert({x, y});
  return p;
}

struct LineCase {
  POINT from;
  POINT to;
  Points expected;
};

TEST(RasterLinesTest, LineToDrawsBresenhamLinesWithoutTheirEndPoint) {
  const LineCase cases[] = {
      {{1, 1}, {5, 1}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
      {{5, 1}, {1, 1}, {{5, 1}, {4, 1}, {3, 1}, {2, 1}}},
      {{2, 0}, {2, 3}, {{2, 0}, {2, 1}, {2, 2}}},
      {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
      {{3, 0}, {0, 3}, {{3, 0}, {2, 1}, {1, 2}}},
      {{0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
      {{4, 4}, {4, 4}, {}},
      {{1, 0}, {3, 7}, {{1, 0}, {1, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {3, 6}}},  // steep: one pixel a row
  };
  for (const LineCase& c : cases) {
    Canvas canvas(8, 8);
    POINT previous{-1, -1};
    MoveToEx(canvas.dc(), c.from.x, c.from.y, nullptr);
    EXPECT_TRUE(LineTo(canvas.dc(), c.to.x, c.to.y));
    EXPECT_EQ(inked(canvas, kBlack), c.expected) << "line " << c.from.x << "," << c.from.y << " to " << c.to.x << ","
                                                 << c.to.y;
    // The position moves to the end point.
    MoveToEx(canvas.dc(), 0, 0, &previous);
    EXPECT_EQ(previous.x, c.to.x);
    EXPECT_EQ(previous.y, c.to.y);
  }
}

TEST(RasterLinesTest, PensGiveColourWidthDashesAndNothing) {
  Canvas canvas(24, 12);
  HDC dc = canvas.dc();
  HPEN pens[] = {CreatePen(PS_SOLID, 1, RGB(255, 0, 0)), CreatePen(PS_SOLID, 3, RGB(0, 0, 255)),
                 CreatePen(PS_DASH, 1, RGB(0, 0, 0))};
  auto line = [&](HGDIOBJ pen, int x1, int y, int x2) {
    SelectObject(dc, pen);
    MoveToEx(dc, x1, y, nullptr);
    LineTo(dc, x2, y);
  };
  line(pens[0], 0, 0, 10);
  line(pens[1], 2, 4, 8);  // a square nib three pixels high
  // Dashes: the gaps take the background colour when the mode is opaque and
  // keep the surface when it is transparent.
  SetBkColor(dc, RGB(0, 255, 0));
  line(pens[2], 0, 8, 24);
  SetBkMode(dc, TRANSPARENT);
  line(pens[2], 0, 10, 24);
  line(GetStockObject(NULL_PEN), 0, 11, 24);
  EXPECT_EQ(canvas.picture({{kWhite, '.'}, {kBlack, '#'}, {0xFF0000, 'r'}, {0x0000FF, 'b'}, {0x00FF00, 'g'}}),
            (std::vector<std::string>{"rrrrrrrrrr..............", "........................",
                                      "........................", ".bbbbbbbb...............",
                                      ".bbbbbbbb...............", ".bbbbbbbb...............",
                                      "........................", "........................",
                                      "##################gggggg", "........................",
                                      "##################......", "........................"}));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  for (HPEN pen : pens) DeleteObject(pen);
}

TEST(RasterLinesTest, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  struct Case {
    bool nullPen;
    bool nullBrush;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {false, false, {".......", ".#####.", ".#ooo#.", ".#ooo#.", ".#####.", "......."}},
      {false, true, {".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."}},
      // Without a pen the filled area is one pixel smaller.
      {true, false, {".......", ".oooo..", ".oooo..", ".oooo..", ".......", "......."}},
  };
  for (const Case& c : cases) {
    Canvas canvas(7, 6);
    HBRUSH orange = CreateSolidBrush(RGB(255, 128, 0));
    SelectObject(canvas.dc(), c.nullBrush ? GetStockObject(NULL_BRUSH) : orange);
    SelectObject(canvas.dc(), GetStockObject(c.nullPen ? NULL_PEN : BLACK_PEN));
    EXPECT_TRUE(Rectangle(canvas.dc(), 1, 1, 6, 5));
    EXPECT_EQ(canvas.picture({{kWhite, '.'}, {kBlack, '#'}, {0xFF8000, 'o'}}), c.expected);
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(orange);
  }
  // Corners given the other way round describe the same rectangle.
  Canvas a(7, 6), b(7, 6);
  Rectangle(a.dc(), 1, 1, 6, 5);
  Rectangle(b.dc(), 6, 5, 1, 1);
  EXPECT_EQ(a.picture({{kWhite, '.'}, {kBlack, '#'}}), b.picture({{kWhite, '.'}, {kBlack, '#'}}));
}

TEST(RasterLinesTest, FrameRectDrawsTheBorderInsideAndPixelsAreSetInsideTheSurfaceOnly) {
  Canvas frame(6, 5);
  RECT r{1, 1, 5, 4};
  EXPECT_EQ(FrameRect(frame.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 1);
  EXPECT_EQ(frame.picture({{kWhite, '.'}, {kBlack, '#'}}),
            (std::vector<std::string>{"......", ".####.", ".#..#.", ".####.", "......"}));
  EXPECT_EQ(FrameRect(frame.dc(), &r, nullptr), 0);
  Canvas canvas(4, 4);
  EXPECT_EQ(SetPixel(canvas.dc(), 2, 1, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(canvas.dc(), 2, 1), RGB(1, 2, 3));
  EXPECT_EQ(canvas.at(2, 1), 0x010203u);
  EXPECT_EQ(SetPixel(canvas.dc(), 4, 0, RGB(1, 2, 3)), CLR_INVALID);
  EXPECT_EQ(GetPixel(canvas.dc(), -1, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
  EXPECT_FALSE(LineTo(nullptr, 1, 1));
}

TEST(RasterLinesTest, ExtremeCoordinatesAreClampedWithoutOverflow) {
  // Built with the undefined-behaviour sanitizer, an overflow here aborts.
  Canvas c(8, 8);
  const int lo = INT_MIN, hi = INT_MAX;
  EXPECT_TRUE(Rectangle(c.dc(), lo, lo, hi, hi));
  EXPECT_TRUE(PatBlt(c.dc(), hi, hi, lo, lo, BLACKNESS));
  EXPECT_TRUE(PatBlt(c.dc(), lo, lo, hi, hi, WHITENESS));
  EXPECT_TRUE(BitBlt(c.dc(), hi - 1, hi - 1, hi, hi, c.dc(), lo, lo, SRCCOPY));
  MoveToEx(c.dc(), lo, lo, nullptr);
  EXPECT_TRUE(LineTo(c.dc(), lo, hi));
  RECT huge{lo, lo, hi, hi};
  EXPECT_TRUE(DrawEdge(c.dc(), &huge, EDGE_SUNKEN, BF_RECT | BF_MIDDLE));
  for (auto [kind, state] : {std::pair<UINT, UINT>{DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED},
                             {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED}, {DFC_SCROLL, DFCS_SCROLLUP}}) {
    huge = {lo, lo, hi, hi};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &huge, kind, state));
  }
  EXPECT_TRUE(DrawFocusRect(c.dc(), &huge));
  RECT update;
  EXPECT_TRUE(ScrollDC(c.dc(), hi, lo, &huge, &huge, nullptr, &update));
  HPEN wide = CreatePen(PS_SOLID, hi, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(c.dc(), wide);
  MoveToEx(c.dc(), 0, 4, nullptr);
  EXPECT_TRUE(LineTo(c.dc(), 8, 4));
  EXPECT_EQ(c.count(kBlack), 64);
  SelectObject(c.dc(), old);
  DeleteObject(wide);
}

}  // namespace
}  // namespace rastertest
