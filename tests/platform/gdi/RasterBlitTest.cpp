// Block transfers and raster operations between memory and screen DCs, frames,
// single pixels and scrolling, extreme coordinates, and clipping to windows,
// their parents and their update regions.
#include <climits>

#include "RasterHelpers.h"
#include "device/Device.h"

namespace rastertest {
namespace {

TEST(RasterBlitTest, BitBltCopiesTheAskedRectangleAndClipsToBothSurfaces) {
  Canvas src(4, 4, RGB(0, 0, 0));
  src.set(0, 0, 0xFF0000);
  src.set(3, 3, 0x00FF00);
  Canvas dst(6, 6);
  // Source rectangle (2, 2)-(6, 6) half off the source: only its on-surface part arrives, at (1, 1).
  EXPECT_TRUE(BitBlt(dst.dc(), 1, 1, 4, 4, src.dc(), 2, 2, SRCCOPY));
  EXPECT_EQ(dst.picture({{kWhite, '.'}, {kBlack, '#'}, {0x00FF00, 'g'}}),
            (std::vector<std::string>{"......", ".##...", ".#g...", "......", "......", "......"}));
  // Off the destination's edge nothing breaks.
  EXPECT_TRUE(BitBlt(dst.dc(), 4, 4, 4, 4, src.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(dst.at(4, 4), 0xFF0000u);
  EXPECT_EQ(dst.at(5, 5), kBlack);
  EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, NOTSRCCOPY));
  EXPECT_EQ(dst.at(0, 0), 0x00FFFFu);
  // Within one surface the pixels are read as they were.
  Canvas c(6, 1);
  for (int x = 0; x < 6; ++x) c.set(x, 0, static_cast<uint32_t>(x + 1));
  BitBlt(c.dc(), 2, 0, 4, 1, c.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(c.picture({{1, '1'}, {2, '2'}, {3, '3'}, {4, '4'}}), std::vector<std::string>{"121234"});
  // FrameRect draws the border inside the rectangle.
  Canvas frame(6, 5);
  RECT r{1, 1, 5, 4};
  EXPECT_EQ(FrameRect(frame.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 1);
  EXPECT_EQ(frame.picture({{kWhite, '.'}, {kBlack, '#'}}),
            (std::vector<std::string>{"......", ".####.", ".#..#.", ".####.", "......"}));
  EXPECT_EQ(SetPixel(frame.dc(), 2, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(frame.at(2, 2), 0x010203u);
  EXPECT_EQ(SetPixel(frame.dc(), 6, 0, RGB(1, 2, 3)), CLR_INVALID);
  // ScrollDC moves the visible pixels and reports what was uncovered; row 0 is not scrolled.
  Canvas rows(1, 6);
  for (int y = 0; y < 6; ++y) rows.set(0, y, static_cast<uint32_t>(y + 1));
  RECT scroll{0, 1, 1, 6};
  EXPECT_TRUE(ScrollDC(rows.dc(), 0, -2, &scroll, &scroll, nullptr, &r));
  EXPECT_EQ(rows.picture({{1, '1'}, {4, '4'}, {5, '5'}, {6, '6'}}), (std::vector<std::string>{"1", "4", "5", "6", "5", "6"}));
  EXPECT_EQ(r, (RECT{0, 4, 1, 6}));
}

TEST(RasterBlitTest, RasterOperationsCombineSourceDestinationAndPattern) {
  // Per channel: source 0xF0, destination 0xCC, brush 0x80.
  const struct { DWORD rop; uint32_t expected; } cases[] = {
      {SRCCOPY, 0xF0}, {SRCPAINT, 0xFC}, {SRCAND, 0xC0}, {SRCINVERT, 0x3C}, {NOTSRCCOPY, 0x0F}, {SRCERASE, 0x30},
      {MERGECOPY, 0x80}, {MERGEPAINT, 0xCF}, {PATCOPY, 0x80}, {PATINVERT, 0x4C}, {DSTINVERT, 0x33}, {BLACKNESS, 0},
      {WHITENESS, 0xFF}};
  for (const auto& c : cases) {
    Canvas src(1, 1, RGB(0xF0, 0xF0, 0xF0));
    Canvas dst(1, 1, RGB(0xCC, 0xCC, 0xCC));
    SelectObject(dst.dc(), GetStockObject(GRAY_BRUSH));
    EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, c.rop));
    EXPECT_EQ(dst.at(0, 0), c.expected * 0x010101u) << std::hex << c.rop;
  }
  // PatBlt counts a negative extent from the other side; a null brush leaves all as it is.
  Canvas pat(5, 3);
  SelectObject(pat.dc(), GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(PatBlt(pat.dc(), 4, 3, -2, -2, PATCOPY));
  SelectObject(pat.dc(), GetStockObject(NULL_BRUSH));
  EXPECT_TRUE(PatBlt(pat.dc(), 0, 0, 5, 3, PATCOPY));
  EXPECT_EQ(pat.picture({{kWhite, '.'}, {kBlack, '#'}}), (std::vector<std::string>{".....", "..##.", "..##."}));
  EXPECT_FALSE(PatBlt(pat.dc(), 0, 0, 1, 1, SRCCOPY));
}

TEST(RasterBlitTest, ExtremeCoordinatesAreClampedWithoutOverflow) {
  // Built with the undefined-behaviour sanitizer, an overflow here aborts.
  Canvas c(8, 8);
  const int lo = INT_MIN;
  const int hi = INT_MAX;
  EXPECT_TRUE(BitBlt(c.dc(), hi - 1, hi - 1, hi, hi, c.dc(), lo, lo, SRCCOPY));
  RECT huge{lo, lo, hi, hi};
  EXPECT_TRUE(FillRect(c.dc(), &huge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
  EXPECT_EQ(c.count(kBlack), 64);
  EXPECT_TRUE(DrawEdge(c.dc(), &huge, EDGE_SUNKEN, BF_RECT | BF_MIDDLE));
  for (UINT state : {DFCS_BUTTONRADIO | DFCS_CHECKED, DFCS_BUTTONCHECK | DFCS_CHECKED, DFCS_BUTTONPUSH}) {
    huge = {lo, lo, hi, hi};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &huge, DFC_BUTTON, state));
  }
  EXPECT_TRUE(DrawFrameControl(c.dc(), &huge, DFC_SCROLL, DFCS_SCROLLUP));
  EXPECT_TRUE(DrawFocusRect(c.dc(), &huge));
  EXPECT_TRUE(Rectangle(c.dc(), lo, lo, hi, hi));
  EXPECT_TRUE(PatBlt(c.dc(), hi, hi, lo, lo, WHITENESS));
  EXPECT_EQ(c.count(kWhite), 64);
}

class RasterScreenTest : public ScreenTest {};

TEST_F(RasterScreenTest, BlitsBetweenMemoryAndScreenMarkTheScreenDirty) {
  Canvas picture(3, 2, RGB(255, 0, 0));
  HDC screen = GetDC(nullptr);
  device::Device::instance().backend().framebuffer().takeDirty();
  EXPECT_TRUE(BitBlt(screen, 100, 200, 3, 2, picture.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(screenPixel(100, 200), 0xFF0000u);
  EXPECT_EQ(screenPixel(102, 201), 0xFF0000u);
  EXPECT_EQ(screenPixel(103, 201), kBlack);
  display::Rect dirty = device::Device::instance().backend().framebuffer().takeDirty();
  EXPECT_TRUE(dirty.contains(100, 200));
  EXPECT_TRUE(dirty.contains(102, 201));
  ReleaseDC(nullptr, screen);
}

TEST_F(RasterScreenTest, AChildWindowNeverDrawsOutsideItsParent) {
  HWND parent = createWindow({20, 40, 120, 140});
  // The child reaches 30 pixels past the parent's right and bottom edges.
  HWND child = createWindow({50, 50, 130, 130}, parent);
  paintAll();
  HDC hdc = GetDC(child);
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  RECT all{-50, -50, 300, 300};
  FillRect(hdc, &all, green);
  ReleaseDC(child, hdc);
  DeleteObject(green);
  // Child at (70, 90) on the screen, clipped to the parent's (20, 40)-(120, 140).
  EXPECT_EQ(screenPixel(70, 90), 0x00FF00u);
  EXPECT_EQ(screenPixel(119, 139), 0x00FF00u);
  EXPECT_EQ(screenPixel(120, 100), kBlack);
  EXPECT_EQ(screenPixel(100, 140), kBlack);
  EXPECT_EQ(screenPixel(69, 100), kBlack);
  EXPECT_EQ(screenPixel(125, 125), kBlack);
}

TEST_F(RasterScreenTest, PaintingIsClippedToTheUpdateRegion) {
  HWND window = createWindow({0, 30, 100, 130}, nullptr, [](HDC hdc, const PAINTSTRUCT&) {
    Canvas blue(100, 100, RGB(0, 0, 255));
    BitBlt(hdc, 0, 0, 100, 100, blue.dc(), 0, 0, SRCCOPY);
  });
  paintAll();
  fillScreen(RGB(0, 0, 0));
  RECT area{10, 10, 20, 30};
  InvalidateRect(window, &area, FALSE);
  paintAll();
  // Blue inside the update area; black elsewhere.
  EXPECT_EQ(screenPixel(10, 40), 0x0000FFu);
  EXPECT_EQ(screenPixel(19, 59), 0x0000FFu);
  EXPECT_EQ(screenPixel(20, 40), kBlack);
  EXPECT_EQ(screenPixel(10, 60), kBlack);
  EXPECT_EQ(screenPixel(9, 45), kBlack);
}

TEST_F(RasterScreenTest, AWindowCoveredInTheMiddleDrawsAboveAndBelowTheCover) {
  HWND under = createWindow({0, 30, 100, 130});
  createWindow({20, 60, 80, 80});  // over it
  paintAll();
  HDC hdc = GetDC(under);
  RECT all{0, 0, 100, 100};
  FillRect(hdc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(under, hdc);
  const struct { int x, y; uint32_t pixel; } cases[] = {
      {50, 40, kWhite}, {10, 70, kWhite}, {50, 70, kBlack}, {90, 70, kWhite}, {50, 120, kWhite}};
  for (const auto& c : cases) EXPECT_EQ(screenPixel(c.x, c.y), c.pixel) << c.x << "," << c.y;
}

}  // namespace
}  // namespace rastertest
