// Frames and single pixels on a memory canvas, and extreme coordinates for every drawing call.
#include <climits>

#include "RasterHelpers.h"

namespace rastertest {
namespace {

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
