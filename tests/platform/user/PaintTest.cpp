// The painting protocol: update regions, the erase flag, children,
// BeginPaint, UpdateWindow and exposure (what lands on the screen, clipped to
// the update region and by windows above, is the gdi's RasterScreenTest).
#include "Recorder.h"

namespace usertest {
namespace {

using PaintTest = UserTest;

// Paints every invalid window once, as the loop would.
void paintAll() {
  MSG m;
  for (int i = 0; i < 50 && PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) DispatchMessageW(&m);
}

::testing::AssertionResult updateIs(HWND hwnd, RECT want) {
  RECT r{};
  GetUpdateRect(hwnd, &r, FALSE);
  return sameRect(want, r);
}

TEST_F(PaintTest, InvalidateAccumulatesValidateRemovesAndBeginPaintErasesWhenAsked) {
  HWND top = createTopLevel(WS_VISIBLE, {0, 26, 200, 226});
  ValidateRect(top, nullptr);
  RECT a{10, 10, 20, 20}, b{50, 40, 60, 45};
  InvalidateRect(top, &a, FALSE);
  InvalidateRect(top, &b, FALSE);
  EXPECT_TRUE(updateIs(top, {10, 10, 60, 45}));
  ValidateRect(top, &a);
  EXPECT_TRUE(updateIs(top, b));

  HWND hidden = createTopLevel(0, {0, 26, 100, 126});
  InvalidateRect(hidden, nullptr, TRUE);
  EXPECT_FALSE(GetUpdateRect(hidden, nullptr, FALSE));
  ShowWindow(hidden, SW_SHOW);
  EXPECT_TRUE(updateIs(hidden, {0, 0, 100, 100})) << "showing invalidates it all";
  DestroyWindow(hidden);
  ValidateRect(top, nullptr);  // what the hidden window uncovered

  // BeginPaint sends WM_ERASEBKGND only for the erase flag; a window that does
  // not erase leaves fErase set. Afterwards nothing is left to paint.
  RECT c{5, 6, 50, 60};
  PAINTSTRUCT ps;
  for (bool erase : {true, false}) {
    for (BOOL flag : {TRUE, FALSE}) {
      SCOPED_TRACE(testing::Message() << "erases " << erase << " flag " << flag);
      InvalidateRect(top, &c, flag);
      log().clear();
      HDC hdc = BeginPaint(top, &ps);
      ASSERT_TRUE(hdc);
      EXPECT_TRUE(sameRect(c, ps.rcPaint));
      EXPECT_EQ(ps.fErase, flag && !erase);
      std::vector<Expect> erased;
      if (flag) erased.push_back(msgW(top, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc)));
      EXPECT_TRUE(sameSequence(erased, log().entries()));
      EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
      MSG m;
      EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
      EndPaint(top, &ps);
    }
    react(top, WM_ERASEBKGND, [](HWND, UINT, WPARAM, LPARAM) { return LRESULT(0); });
  }
}

TEST_F(PaintTest, ChildrenUnderTheRectangleAreInvalidatedAndPaintAfterTheirParent) {
  HWND top = createTopLevel(WS_VISIBLE, {0, 26, 200, 226});
  HWND left = createChild(top, 1, {0, 0, 50, 50});
  HWND right = createChild(top, 2, {100, 0, 150, 50});
  log().clear();
  UpdateWindow(top);
  EXPECT_TRUE(sameSequence({msg(top, WM_PAINT), msg(left, WM_PAINT), msg(right, WM_PAINT)}, log().only({WM_PAINT})));
  log().clear();
  UpdateWindow(top);
  EXPECT_TRUE(log().only({WM_PAINT}).empty()) << "nothing invalid: nothing painted";

  RECT area{40, 10, 60, 20};
  InvalidateRect(top, &area, FALSE);
  EXPECT_TRUE(updateIs(left, {40, 10, 50, 20}));
  EXPECT_FALSE(GetUpdateRect(right, nullptr, FALSE));
  InvalidateRect(right, nullptr, FALSE);
  paintAll();
  EXPECT_TRUE(sameSequence({msg(top, WM_PAINT), msg(left, WM_PAINT), msg(right, WM_PAINT)}, log().only({WM_PAINT})));
}

TEST_F(PaintTest, HidingMovingOrDestroyingAWindowExposesWhatWasBelow) {
  HWND below = createTopLevel(WS_VISIBLE, {0, 26, 200, 226});
  HWND above = createTopLevel(WS_VISIBLE, {50, 76, 100, 126});
  paintAll();
  EXPECT_FALSE(GetUpdateRect(below, nullptr, FALSE));
  ShowWindow(above, SW_HIDE);
  EXPECT_TRUE(updateIs(below, {50, 50, 100, 100}));
  paintAll();
  ShowWindow(above, SW_SHOWNA);
  paintAll();
  DestroyWindow(above);
  EXPECT_TRUE(updateIs(below, {50, 50, 100, 100}));

  HWND mover = createTopLevel(WS_VISIBLE, {0, 26, 40, 66});
  paintAll();
  log().clear();
  MoveWindow(mover, 100, 126, 40, 40, TRUE);
  EXPECT_TRUE(updateIs(below, {0, 0, 40, 40}));
  EXPECT_TRUE(GetUpdateRect(mover, nullptr, FALSE));
  EXPECT_TRUE(sameSequence({msg(mover, WM_WINDOWPOSCHANGING), msg(mover, WM_WINDOWPOSCHANGED),
                            msgWL(mover, WM_MOVE, 0, MAKELPARAM(100, 126))},
                           log().only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE})));
  log().clear();
  MoveWindow(mover, 100, 126, 60, 40, TRUE);
  EXPECT_TRUE(sameSequence({msgWL(mover, WM_SIZE, SIZE_RESTORED, MAKELPARAM(60, 40))}, log().only({WM_MOVE, WM_SIZE})));
}

// Right and bottom lie outside a rectangle; a call that cannot answer leaves an empty one.
TEST(RectTest, IntersectionUnionAndDifferenceOfRectangles) {
  const RECT a{0, 0, 10, 10};
  const RECT b{5, 5, 20, 20};
  const RECT empty{3, 3, 3, 9};
  const struct { BOOL (*call)(LPRECT, const RECT*, const RECT*); RECT x, y; BOOL result; RECT want; } cases[] = {
      {IntersectRect, a, b, TRUE, {5, 5, 10, 10}}, {IntersectRect, a, empty, FALSE, {}},
      {UnionRect, a, b, TRUE, {0, 0, 20, 20}}, {UnionRect, empty, b, TRUE, b}, {UnionRect, a, empty, TRUE, a},
      {UnionRect, empty, empty, FALSE, {}},
      {SubtractRect, a, {-1, -1, 11, 4}, TRUE, {0, 4, 10, 10}}, {SubtractRect, a, {0, 6, 10, 12}, TRUE, {0, 0, 10, 6}},
      {SubtractRect, a, {-5, 0, 4, 10}, TRUE, {4, 0, 10, 10}}, {SubtractRect, a, {6, 0, 10, 10}, TRUE, {0, 0, 6, 10}},
      {SubtractRect, a, b, TRUE, a}, {SubtractRect, a, {2, 0, 8, 10}, TRUE, a},  // what is left is no rectangle
      {SubtractRect, empty, a, FALSE, {}},
  };
  for (const auto& c : cases) {
    RECT r{1, 1, 1, 1};
    EXPECT_EQ(c.call(&r, &c.x, &c.y), c.result) << &c - cases;
    EXPECT_TRUE(sameRect(c.want, r)) << &c - cases;
    EXPECT_FALSE(c.call(&r, &c.x, nullptr));
  }
  RECT r = a;
  EXPECT_TRUE(OffsetRect(&r, 2, -1) && InflateRect(&r, 1, -2));
  EXPECT_TRUE(sameRect({1, 1, 13, 7}, r));
}

}  // namespace
}  // namespace usertest
