// The minimal GDI: regions against a pixel model, objects and their
// lifetime, device-context state and the rectangle calls.
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
  for (const RECT& r : region.rects())
    for (auto& px : pixelsOf(r)) EXPECT_TRUE(p.insert(px).second) << "rectangles overlap";
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
        Pixels both, ac = pixelsOf(a);
        for (auto& px : pixelsOf(c)) ac.insert(px);
        for (auto& px : pixelsOf(b))
          if (ac.count(px)) both.insert(px);
        EXPECT_EQ(pixelsOf(clipped), both);
        EXPECT_EQ(clipped.empty(), both.empty());
      }
}

TEST(GdiTest, StockObjectsSurviveDeleteAndSelectedOrReleasedOnesAreKeptOrGone) {
  HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  EXPECT_TRUE(DeleteObject(white));
  EXPECT_EQ(GetObjectType(white), DWORD(OBJ_BRUSH));
  EXPECT_EQ(GetStockObject(99), nullptr);
  LOGFONTW lf{};
  EXPECT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf), int(sizeof(lf)));
  EXPECT_EQ(std::u16string(lf.lfFaceName), u"Tahoma");

  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HPEN pen = CreatePen(PS_DASH, 3, RGB(4, 5, 6));
  LOGPEN lp{};
  ASSERT_EQ(GetObjectW(pen, sizeof(lp), &lp), int(sizeof(lp)));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(GetObjectW(pen, 0, nullptr), int(sizeof(LOGPEN)));
  EXPECT_EQ(GetObjectW(pen, 2, &lp), 0) << "a buffer too small";

  HDC hdc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(hdc, brush);
  EXPECT_EQ(old, white);
  EXPECT_FALSE(DeleteObject(brush));
  SelectObject(hdc, old);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(GetObjectType(brush), 0u);
  EXPECT_EQ(SelectObject(hdc, brush), nullptr) << "a stale handle";
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(SetBkMode(hdc, 7), 0) << "no such mode";
  EXPECT_EQ(ReleaseDC(nullptr, hdc), 1);
  EXPECT_EQ(ReleaseDC(nullptr, hdc), 0);
  EXPECT_EQ(GetBkColor(hdc), COLORREF(0xFFFFFFFF)) << "a released context";
}

TEST(GdiTest, RectangleCallsKeepRightAndBottomOutside) {
  RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, c{0, 0, 10, 4}, r;
  RECT meet{5, 5, 10, 10}, join{0, 0, 20, 20}, rest{0, 4, 10, 10};
  EXPECT_TRUE(IntersectRect(&r, &a, &b));
  EXPECT_TRUE(EqualRect(&r, &meet));
  EXPECT_TRUE(UnionRect(&r, &a, &b));
  EXPECT_TRUE(EqualRect(&r, &join));
  EXPECT_TRUE(SubtractRect(&r, &a, &c));
  EXPECT_TRUE(EqualRect(&r, &rest));
  EXPECT_TRUE(SubtractRect(&r, &a, &b));  // what is left is no rectangle: a stays
  EXPECT_TRUE(EqualRect(&r, &a));
  EXPECT_TRUE(PtInRect(&a, {9, 9}));
  EXPECT_FALSE(PtInRect(&a, {10, 9}));
}

}  // namespace
