// The control layout: stretching, anchoring, scaling and following siblings
// as the parent's client area changes, and the passes it refuses.
#include "DialogTestSupport.h"
#include "framework/CeLayout.h"

namespace dialogtest {
namespace {

// A parent without a frame, so its client area is its window, with
// children placed in its client coordinates.
class LayoutTest : public DialogTest {
 protected:
  void SetUp() override {
    parent = CreateWindowExW(0, u"static", u"parent", WS_POPUP | WS_VISIBLE, 0, 26, 200, 150, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }

  HWND Child(int left, int top, int width, int height, DWORD style = 0) {
    return CreateWindowExW(0, u"static", u"", WS_CHILD | WS_VISIBLE | style, left, top, width, height, parent,
                           nullptr, nullptr, nullptr);
  }
  void ResizeParent(int width, int height) { MoveWindow(parent, 0, 26, width, height, TRUE); }
  static RECT Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }

  HWND parent = nullptr;
};

#define EXPECT_RECT(window, expected) \
  EXPECT_EQ(Describe(RectInParent(window)), Describe(expected))

TEST_F(LayoutTest, AMinimiseOrALayoutWithoutItemsMovesNothing) {
  HWND control = Child(10, 10, 50, 20);
  CeLayout empty;
  CeLayout layout;
  layout.AddControl(control, CeLayout::StretchWidth);
  ResizeParent(240, 150);
  empty.Relayout(SIZE_RESTORED);
  layout.Relayout(SIZE_MINIMIZED);
  EXPECT_RECT(control, Rect(10, 10, 60, 30));
  layout.Relayout(SIZE_RESTORED);
  EXPECT_RECT(control, Rect(10, 10, 100, 30));
}

// A control placed in a parent of one size that is then resized.
TEST_F(LayoutTest, StretchingAnchoringAndScalingFollowTheParentsChangeInSize) {
  constexpr DWORD kScaleAll = CeLayout::ScaleLeft | CeLayout::ScaleWidth | CeLayout::ScaleTop | CeLayout::ScaleHeight;
  constexpr DWORD kBoth = CeLayout::StretchWidth | CeLayout::StretchHeight;
  constexpr DWORD kCorner = CeLayout::AnchorRight | CeLayout::AnchorBottom;
  struct Case {
    SIZE before;
    RECT control;
    DWORD flags;
    SIZE after;
    RECT expected;
  };
  const Case cases[] = {
      {{200, 150}, {10, 20, 60, 50}, CeLayout::StretchWidth, {240, 150}, Rect(10, 20, 100, 50)},
      {{200, 150}, {10, 20, 60, 50}, CeLayout::StretchWidth, {160, 150}, Rect(10, 20, 20, 50)},
      {{200, 150}, {10, 20, 60, 50}, CeLayout::StretchHeight, {200, 190}, Rect(10, 20, 60, 90)},
      {{200, 150}, {10, 20, 60, 50}, CeLayout::StretchHeight, {200, 110}, Rect(10, 20, 60, 20)},
      {{200, 150}, {10, 20, 60, 50}, kBoth, {240, 190}, Rect(10, 20, 100, 90)},
      // Stretching wins over scaling.
      {{200, 150}, {10, 20, 60, 50}, CeLayout::StretchWidth | CeLayout::ScaleWidth, {240, 150}, Rect(10, 20, 100, 50)},
      {{200, 150}, {110, 20, 160, 50}, CeLayout::AnchorRight, {240, 150}, Rect(150, 20, 200, 50)},
      {{200, 150}, {110, 20, 160, 50}, CeLayout::AnchorRight, {170, 150}, Rect(80, 20, 130, 50)},
      {{200, 150}, {110, 20, 160, 50}, kCorner, {240, 190}, Rect(150, 60, 200, 90)},
      // Anchoring wins over scaling the position; the size still scales.
      {{200, 150}, {110, 20, 160, 50}, CeLayout::AnchorRight | CeLayout::ScaleLeft | CeLayout::ScaleWidth, {400, 150},
       Rect(260, 20, 360, 50)},
      {{100, 80}, {10, 8, 60, 38}, kScaleAll, {200, 120}, Rect(20, 12, 120, 57)},
      {{100, 80}, {70, 50, 90, 70}, CeLayout::ScaleLeft | CeLayout::ScaleTop, {200, 120}, Rect(140, 75, 160, 95)},
      // Proportions truncate toward zero: 8 * 90 / 80 = 9, 30 * 90 / 80 = 33.
      {{100, 80}, {10, 8, 60, 38}, kScaleAll, {100, 90}, Rect(10, 9, 60, 42)},
      // A parent that had no size keeps the place; stretching still follows.
      {{0, 0}, {10, 8, 60, 38}, kScaleAll, {30, 150}, Rect(10, 8, 60, 38)},
      {{0, 0}, {70, 8, 90, 28}, CeLayout::StretchWidth, {30, 150}, Rect(70, 8, 120, 28)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c.control) + " flags " + std::to_string(c.flags) + " to " + std::to_string(c.after.cx) +
                 "x" + std::to_string(c.after.cy));
    ResizeParent(c.before.cx, c.before.cy);
    const RECT& r = c.control;
    HWND control = Child(r.left, r.top, r.right - r.left, r.bottom - r.top);
    CeLayout layout;
    layout.AddControl(control, c.flags);
    ResizeParent(c.after.cx, c.after.cy);
    layout.Relayout(SIZE_RESTORED);
    EXPECT_RECT(control, c.expected);
    DestroyWindow(control);
  }
}

// Controls made, then registered, in the order listed, the parent then made
// 240 by 170: a pass that would overlap two controls moves none, while a
// control may come to lie inside another whichever was registered first.
TEST_F(LayoutTest, FollowersKeepTheirSpacingAndOverlapsAreRefusedButNestingIsNot) {
  constexpr DWORD kNotInTheLayout = ~DWORD(0);
  constexpr DWORD kWidth = CeLayout::StretchWidth;
  constexpr DWORD kBoth = CeLayout::StretchWidth | CeLayout::StretchHeight;
  struct Placed {
    RECT initial;
    DWORD flags;
    RECT expected;
  };
  const std::pair<const char*, std::vector<Placed>> cases[] = {
      // A label 4 pixels left of its field and 2 above; a unit 4 right of its field and 2 below.
      {"followers",
       {{{20, 38, 50, 48}, kNotInTheLayout, {60, 58, 90, 68}},
        {{54, 40, 114, 56}, CeLayout::AnchorRight | CeLayout::AnchorBottom | CeLayout::FollowPrev, {94, 60, 154, 76}},
        {{10, 80, 70, 96}, CeLayout::StretchWidth | CeLayout::FollowNext, {10, 80, 110, 96}},
        {{74, 82, 94, 92}, kNotInTheLayout, {114, 82, 134, 92}}}},
      // The control that could have moved on its own stays as well.
      {"overlap",
       {{{10, 60, 50, 80}, CeLayout::AnchorRight, {10, 60, 50, 80}},
        {{10, 10, 60, 30}, CeLayout::StretchWidth, {10, 10, 60, 30}},
        {{70, 10, 120, 30}, 0, {70, 10, 120, 30}}}},
      {"group first", {{{5, 5, 155, 105}, kBoth, {5, 5, 195, 125}}, {{10, 20, 60, 40}, kWidth, {10, 20, 100, 40}}}},
      {"inner first", {{{10, 20, 60, 40}, kWidth, {10, 20, 100, 40}}, {{5, 5, 155, 105}, kBoth, {5, 5, 195, 125}}}},
  };
  for (const auto& [name, controls] : cases) {
    SCOPED_TRACE(name);
    ResizeParent(200, 150);
    CeLayout layout;
    std::vector<HWND> made;
    for (const Placed& c : controls)
      made.push_back(Child(c.initial.left, c.initial.top, c.initial.right - c.initial.left,
                           c.initial.bottom - c.initial.top));
    for (size_t i = 0; i < made.size(); ++i)
      if (controls[i].flags != kNotInTheLayout) layout.AddControl(made[i], controls[i].flags);
    ResizeParent(240, 170);
    layout.Relayout(SIZE_RESTORED);
    for (size_t i = 0; i < made.size(); ++i) EXPECT_RECT(made[i], controls[i].expected) << i;
    for (HWND w : made) DestroyWindow(w);
  }
  ResizeParent(200, 150);
}

TEST_F(LayoutTest, OnlyALoudFollowerIsRepaintedWhenItStaysPut) {
  for (DWORD follow : {DWORD(CeLayout::FollowPrev), DWORD(CeLayout::FollowPrevQuiet)}) {
    HWND label = Child(20, 38, 30, 10);
    HWND field = Child(54, 40, 60, 16);
    CeLayout layout;
    layout.AddControl(field, CeLayout::StretchWidth | follow);
    ResizeParent(240, 150);
    UpdateWindow(parent);
    ValidateRect(label, nullptr);
    layout.Relayout(SIZE_RESTORED);
    RECT update = {};
    EXPECT_EQ(GetUpdateRect(label, &update, FALSE) != FALSE, follow == CeLayout::FollowPrev) << follow;
    EXPECT_RECT(label, Rect(20, 38, 50, 48));
    DestroyWindow(label);
    DestroyWindow(field);
    ResizeParent(200, 150);
  }
}

// A borderless control shrinks to nothing, a bordered one to its border;
// one pixel less in either dimension and the pass is refused.
TEST_F(LayoutTest, AControlShrinksToItsBorderButNotBelow) {
  for (DWORD style : {DWORD(0), DWORD(WS_BORDER)}) {
    SCOPED_TRACE(style);
    HWND control = Child(10, 10, 50, 20, style);
    CeLayout layout;
    layout.AddControl(control, CeLayout::StretchWidth | CeLayout::StretchHeight);
    const int border = layout.Item(0).minWidth;
    EXPECT_EQ(border > 0, style != 0);
    EXPECT_EQ(layout.Item(0).minHeight, border);
    for (auto [dw, dh] : {std::pair{0, 0}, std::pair{-1, 0}, std::pair{0, -1}}) {
      ResizeParent(200 - 50 + border + dw, 150 - 20 + border + dh);
      layout.Relayout(SIZE_RESTORED);
      EXPECT_RECT(control, Rect(10, 10, 10 + border, 10 + border));
    }
    DestroyWindow(control);
    ResizeParent(200, 150);
  }
}

TEST_F(LayoutTest, AControlThatHasGoneStillKeepsItsLastPlace) {
  HWND grower = Child(10, 10, 50, 20);
  HWND gone = Child(100, 10, 50, 20);
  CeLayout layout;
  layout.AddControl(grower, CeLayout::StretchWidth);
  layout.AddControl(gone, 0);
  ResizeParent(220, 150);
  layout.Relayout(SIZE_RESTORED);
  EXPECT_RECT(grower, Rect(10, 10, 80, 30));
  DestroyWindow(gone);
  // Wide enough to reach where the gone control last was: refused.
  ResizeParent(250, 150);
  layout.Relayout(SIZE_RESTORED);
  EXPECT_RECT(grower, Rect(10, 10, 80, 30));
  // Short of it: accepted.
  ResizeParent(230, 150);
  layout.Relayout(SIZE_RESTORED);
  EXPECT_RECT(grower, Rect(10, 10, 90, 30));
}

TEST_F(LayoutTest, RegistrationNumbersTheItemsAndSkipsWhatIsNotAWindow) {
  CeLayout layout;
  for (int i = 0; i < 25; ++i) EXPECT_EQ(layout.AddControl(Child(i, 0, 5, 5), DWORD(i)), i);
  HWND stale = Child(0, 0, 5, 5);
  DestroyWindow(stale);
  EXPECT_EQ(layout.AddControl(stale, 0), 24);
  ASSERT_EQ(layout.Count(), 25);
  for (int i = 0; i < 25; ++i) {
    EXPECT_EQ(layout.Item(i).flags, DWORD(i));
    EXPECT_EQ(Describe(layout.Item(i).initial), Describe(Rect(i, 0, i + 5, 5)));
  }
}

}  // namespace
}  // namespace dialogtest
