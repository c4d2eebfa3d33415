// The minimal GDI: regions against a pixel model, objects and their
// lifetime, device-context state and device capabilities.
#include <set>

#include <gtest/gtest.h>
#include <windows.h>

#include "gdi/Region.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels pixelsOf(const RECT& r) {
  Pixels p;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) p.insert({x, y});
  return p;
}

Pixels pixelsOf(const gdi::Region& region) {
  Pixels p;
  for (const RECT& r : region.rects()) {
    Pixels part = pixelsOf(r);
    for (auto& px : part) EXPECT_TRUE(p.insert(px).second) << "rectangles overlap";
  }
  return p;
}

TEST(RegionTest, OperationsMatchAPixelModel) {
  const RECT shapes[] = {{0, 0, 10, 10}, {5, 5, 15, 15}, {2, 2, 4, 20}, {-3, 8, 30, 9}, {20, 20, 25, 25}, {0, 0, 0, 5}};
  for (const RECT& a : shapes)
    for (const RECT& b : shapes)
      for (const RECT& c : shapes) {
        gdi::Region region(a);
        region.unite(b);
        region.subtract(c);
        Pixels expected = pixelsOf(a);
        for (auto& px : pixelsOf(b)) expected.insert(px);
        for (auto& px : pixelsOf(c)) expected.erase(px);
        EXPECT_EQ(pixelsOf(region), expected);
        EXPECT_EQ(region.area(), static_cast<long>(expected.size()));

        gdi::Region clipped(a);
        clipped.unite(c);
        clipped.intersect(b);
        Pixels both;
        Pixels ac = pixelsOf(a);
        for (auto& px : pixelsOf(c)) ac.insert(px);
        for (auto& px : pixelsOf(b))
          if (ac.count(px)) both.insert(px);
        EXPECT_EQ(pixelsOf(clipped), both);
        EXPECT_EQ(clipped.empty(), both.empty());
      }
}

TEST(RegionTest, BoundsContainsAndOffset) {
  gdi::Region region(RECT{0, 0, 10, 10});
  region.unite(RECT{20, 5, 30, 40});
  RECT b = region.bounds();
  EXPECT_EQ(b.left, 0);
  EXPECT_EQ(b.bottom, 40);
  EXPECT_TRUE(region.contains({25, 39}));
  EXPECT_FALSE(region.contains({15, 5}));
  region.offset(100, 0);
  EXPECT_TRUE(region.contains({105, 5}));
  EXPECT_TRUE(region.intersects(RECT{125, 0, 126, 6}));
  EXPECT_FALSE(region.intersects(RECT{0, 0, 99, 99}));
}

TEST(GdiTest, StockObjectsAreSharedAndNeverDeleted) {
  HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  EXPECT_EQ(GetStockObject(WHITE_BRUSH), white);
  EXPECT_TRUE(DeleteObject(white));
  EXPECT_EQ(GetObjectType(white), DWORD(OBJ_BRUSH));
  LOGBRUSH lb{};
  EXPECT_EQ(GetObjectW(GetStockObject(NULL_BRUSH), sizeof(lb), &lb), int(sizeof(lb)));
  EXPECT_EQ(lb.lbStyle, UINT(BS_NULL));
  LOGFONTW lf{};
  EXPECT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf), int(sizeof(lf)));
  EXPECT_EQ(std::u16string(lf.lfFaceName), u"Tahoma");
  EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST(GdiTest, ObjectsDescribeThemselvesAndASelectedOneIsNotDeleted) {
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HPEN pen = CreatePen(PS_DASH, 3, RGB(4, 5, 6));
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectW(brush, sizeof(lb), &lb), int(sizeof(lb)));
  EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
  LOGPEN lp{};
  ASSERT_EQ(GetObjectW(pen, sizeof(lp), &lp), int(sizeof(lp)));
  EXPECT_EQ(lp.lopnStyle, UINT(PS_DASH));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(GetObjectW(pen, 0, nullptr), int(sizeof(LOGPEN)));
  EXPECT_EQ(GetObjectW(pen, 2, &lp), 0);

  HDC hdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, brush);
  EXPECT_EQ(old, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(hdc, OBJ_BRUSH), brush);
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(GetObjectType(brush), DWORD(OBJ_BRUSH));
  SelectObject(hdc, old);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(GetObjectType(brush), 0u);
  EXPECT_EQ(SelectObject(hdc, brush), nullptr);  // stale handle
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(pen));
  ReleaseDC(nullptr, hdc);
}

TEST(GdiTest, DeviceContextKeepsColoursAndModeAndKnowsTheDevice) {
  HDC hdc = GetDC(nullptr);
  EXPECT_EQ(SetBkColor(hdc, RGB(9, 9, 9)), RGB(255, 255, 255));
  EXPECT_EQ(GetBkColor(hdc), RGB(9, 9, 9));
  EXPECT_EQ(SetTextColor(hdc, RGB(1, 1, 1)), RGB(0, 0, 0));
  EXPECT_EQ(SetBkMode(hdc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(GetBkMode(hdc), TRANSPARENT);
  EXPECT_EQ(SetBkMode(hdc, 7), 0);
  EXPECT_EQ(GetDeviceCaps(hdc, HORZRES), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(GetDeviceCaps(hdc, VERTRES), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(GetDeviceCaps(hdc, BITSPIXEL), 16);
  EXPECT_EQ(GetDeviceCaps(hdc, LOGPIXELSY), 96);
  EXPECT_EQ(ReleaseDC(nullptr, hdc), 1);
  EXPECT_EQ(ReleaseDC(nullptr, hdc), 0);
  EXPECT_EQ(GetBkColor(hdc), COLORREF(0xFFFFFFFF));
}

TEST(GdiTest, SystemColoursFollowThePocketPcPalette) {
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
  LOGBRUSH lb{};
  GetObjectW(GetSysColorBrush(COLOR_BTNFACE), sizeof(lb), &lb);
  EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetSysColorBrush(999), nullptr);
}

TEST(GdiTest, RectangleFunctions) {
  RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, r;
  EXPECT_TRUE(IntersectRect(&r, &a, &b));
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.right, 10);
  EXPECT_TRUE(UnionRect(&r, &a, &b));
  EXPECT_EQ(r.right, 20);
  RECT c{0, 0, 10, 4};
  EXPECT_TRUE(SubtractRect(&r, &a, &c));
  EXPECT_EQ(r.top, 4);
  EXPECT_TRUE(SubtractRect(&r, &a, &b));  // not a rectangle: a stays
  EXPECT_TRUE(EqualRect(&r, &a));
  EXPECT_TRUE(PtInRect(&a, {9, 9}));
  EXPECT_FALSE(PtInRect(&a, {10, 9}));
  InflateRect(&a, 1, 2);
  EXPECT_EQ(a.top, -2);
  OffsetRect(&a, 1, 1);
  EXPECT_EQ(a.left, 0);
  SetRectEmpty(&a);
  EXPECT_TRUE(IsRectEmpty(&a));
}

}  // namespace
