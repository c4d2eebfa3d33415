// The control layout as the parent's client area changes, and the passes it refuses.
#include "DialogTestSupport.h"
#include "framework/CeLayout.h"

namespace dialogtest {
namespace {

// A parent without a frame: its client area is its window.
class LayoutTest : public DialogTest {
 protected:
  void SetUp() override {
    parent = CreateWindowExW(0, u"static", u"parent", WS_POPUP | WS_VISIBLE, 0, 26, 200, 150, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }
  HWND Child(const RECT& r, DWORD style = 0) {
    return CreateWindowExW(0, u"static", u"", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent, nullptr, nullptr, nullptr);
  }
  void Relayout(CeLayout& layout, int width, int height, WPARAM type = SIZE_RESTORED) {
    MoveWindow(parent, 0, 26, width, height, TRUE);
    layout.Relayout(type);
  }
  HWND parent = nullptr;
};

#define EXPECT_RECT(window, ...) EXPECT_EQ(Describe(RectInParent(window)), Describe(RECT{__VA_ARGS__}))

// A control placed in a parent of one size that is then resized.
TEST_F(LayoutTest, StretchingAnchoringAndScalingFollowTheParentsChangeInSize) {
  constexpr DWORD kScaleAll = CeLayout::ScaleLeft | CeLayout::ScaleWidth | CeLayout::ScaleTop | CeLayout::ScaleHeight;
  constexpr DWORD kWidth = CeLayout::StretchWidth, kHeight = CeLayout::StretchHeight, kRight = CeLayout::AnchorRight;
  constexpr DWORD kCorner = CeLayout::AnchorRight | CeLayout::AnchorBottom;
  constexpr RECT kLeft = {10, 20, 60, 50}, kRightSide = {110, 20, 160, 50}, kSmall = {10, 8, 60, 38};
  // The parent's size before, the control, its flags, the size after, the place expected.
  const std::tuple<SIZE, RECT, DWORD, SIZE, RECT> cases[] = {
      {{200, 150}, kLeft, kWidth, {240, 150}, {10, 20, 100, 50}},
      {{200, 150}, kLeft, kWidth, {160, 150}, {10, 20, 20, 50}},
      {{200, 150}, kLeft, kHeight, {200, 190}, {10, 20, 60, 90}},
      {{200, 150}, kLeft, kHeight, {200, 110}, {10, 20, 60, 20}},
      {{200, 150}, kLeft, kWidth | kHeight, {240, 190}, {10, 20, 100, 90}},
      // Stretching wins over scaling.
      {{200, 150}, kLeft, kWidth | CeLayout::ScaleWidth, {240, 150}, {10, 20, 100, 50}},
      {{200, 150}, kRightSide, kRight, {240, 150}, {150, 20, 200, 50}},
      {{200, 150}, kRightSide, kRight, {170, 150}, {80, 20, 130, 50}},
      {{200, 150}, kRightSide, kCorner, {240, 190}, {150, 60, 200, 90}},
      // Anchoring wins over scaling the position; the size still scales.
      {{200, 150}, kRightSide, kRight | CeLayout::ScaleLeft | CeLayout::ScaleWidth, {400, 150}, {260, 20, 360, 50}},
      {{100, 80}, kSmall, kScaleAll, {200, 120}, {20, 12, 120, 57}},
      {{100, 80}, {70, 50, 90, 70}, CeLayout::ScaleLeft | CeLayout::ScaleTop, {200, 120}, {140, 75, 160, 95}},
      // Proportions truncate toward zero: 8 * 90 / 80 = 9, 30 * 90 / 80 = 33.
      {{100, 80}, kSmall, kScaleAll, {100, 90}, {10, 9, 60, 42}},
      // A parent that had no size keeps the place; stretching still follows.
      {{0, 0}, kSmall, kScaleAll, {30, 150}, kSmall},
      {{0, 0}, {70, 8, 90, 28}, kWidth, {30, 150}, {70, 8, 120, 28}},
  };
  for (const auto& [before, initial, flags, after, expected] : cases) {
    SCOPED_TRACE(Describe(initial) + " flags " + std::to_string(flags) + " to " + std::to_string(after.cx) + "x" +
                 std::to_string(after.cy));
    CeLayout layout;
    Relayout(layout, before.cx, before.cy);
    HWND control = Child(initial);
    layout.AddControl(control, flags);
    Relayout(layout, after.cx, after.cy);
    EXPECT_EQ(Describe(RectInParent(control)), Describe(expected));
    DestroyWindow(control);
  }
}

// Controls made and registered in order, the parent then 240 by 170: a pass that would overlap
// two controls moves none; a control may come to lie inside another, whichever came first.
TEST_F(LayoutTest, FollowersKeepTheirSpacingAndOverlapsAreRefusedButNestingIsNot) {
  constexpr DWORD kNotInTheLayout = ~DWORD(0);
  constexpr DWORD kWidth = CeLayout::StretchWidth;
  constexpr DWORD kBoth = CeLayout::StretchWidth | CeLayout::StretchHeight;
  using Placed = std::tuple<RECT, DWORD, RECT>;  // made at, flags, expected
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
    CeLayout layout;
    Relayout(layout, 200, 150);
    std::vector<HWND> made;
    for (const auto& [initial, flags, expected] : controls) made.push_back(Child(initial));
    for (size_t i = 0; i < made.size(); ++i)
      if (std::get<1>(controls[i]) != kNotInTheLayout) layout.AddControl(made[i], std::get<1>(controls[i]));
    Relayout(layout, 240, 170);
    for (size_t i = 0; i < made.size(); ++i)
      EXPECT_EQ(Describe(RectInParent(made[i])), Describe(std::get<2>(controls[i]))) << i;
    for (HWND w : made) DestroyWindow(w);
  }
}

TEST_F(LayoutTest, OnlyALoudFollowerIsRepaintedWhenItStaysPutAndAControlShrinksToItsBorderButNotBelow) {
  for (DWORD follow : {DWORD(CeLayout::FollowPrev), DWORD(CeLayout::FollowPrevQuiet)}) {
    CeLayout layout;
    Relayout(layout, 200, 150);
    HWND label = Child({20, 38, 50, 48}), field = Child({54, 40, 114, 56});
    layout.AddControl(field, CeLayout::StretchWidth | follow);
    MoveWindow(parent, 0, 26, 240, 150, TRUE);
    UpdateWindow(parent);
    ValidateRect(label, nullptr);
    layout.Relayout(SIZE_RESTORED);
    RECT update = {};
    EXPECT_EQ(GetUpdateRect(label, &update, FALSE) != FALSE, follow == CeLayout::FollowPrev) << follow;
    EXPECT_RECT(label, 20, 38, 50, 48);
    DestroyWindow(label);
    DestroyWindow(field);
  }
  // A borderless control shrinks to nothing, a bordered one to its border;
  // one pixel less in either dimension and the pass is refused.
  for (DWORD style : {DWORD(0), DWORD(WS_BORDER)}) {
    SCOPED_TRACE(style);
    CeLayout layout;
    Relayout(layout, 200, 150);
    HWND control = Child({10, 10, 60, 30}, style);
    layout.AddControl(control, CeLayout::StretchWidth | CeLayout::StretchHeight);
    const int border = layout.Item(0).minWidth;
    EXPECT_EQ(std::make_tuple(border > 0, layout.Item(0).minHeight), std::make_tuple(style != 0, border));
    for (auto [dw, dh] : {std::pair{0, 0}, std::pair{-1, 0}, std::pair{0, -1}}) {
      Relayout(layout, 200 - 50 + border + dw, 150 - 20 + border + dh);
      EXPECT_RECT(control, 10, 10, 10 + border, 10 + border);
    }
    DestroyWindow(control);
  }
}

TEST_F(LayoutTest, AMinimiseOrNoItemsMoveNothingAGoneControlKeepsItsLastPlaceAndNoneIsRegistered) {
  HWND grower = Child({10, 10, 60, 30});
  HWND gone = Child({100, 10, 150, 30});
  CeLayout empty, layout;
  layout.AddControl(grower, CeLayout::StretchWidth);
  layout.AddControl(gone, 0);
  Relayout(empty, 220, 150);
  Relayout(layout, 220, 150, SIZE_MINIMIZED);
  EXPECT_RECT(grower, 10, 10, 60, 30);
  layout.Relayout(SIZE_RESTORED);
  EXPECT_RECT(grower, 10, 10, 80, 30);
  DestroyWindow(gone);
  // Wide enough to reach where the gone control last was: refused; short of it: accepted.
  Relayout(layout, 250, 150);
  EXPECT_RECT(grower, 10, 10, 80, 30);
  Relayout(layout, 230, 150);
  EXPECT_RECT(grower, 10, 10, 90, 30);

  // Registration numbers the items and skips what is not a window.
  CeLayout numbered;
  for (int i = 0; i < 25; ++i) EXPECT_EQ(numbered.AddControl(Child({i, 0, i + 5, 5}), DWORD(i)), i);
  HWND stale = Child({0, 0, 5, 5});
  DestroyWindow(stale);
  EXPECT_EQ(numbered.AddControl(stale, 0), 24);
  ASSERT_EQ(numbered.Count(), 25);
  for (int i = 0; i < 25; ++i)
    EXPECT_EQ(std::to_string(numbered.Item(i).flags) + Describe(numbered.Item(i).initial),
              std::to_string(i) + Describe(RECT{i, 0, i + 5, 5}));
}

}  // namespace
}  // namespace dialogtest
