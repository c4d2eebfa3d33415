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

// A control at (10, 20) or (110, 20), 50 by 30, in a parent of 200 by 150
// that is then resized.
TEST_F(LayoutTest, StretchingAndAnchoringFollowTheParentsChangeInSize) {
  struct Case {
    int left;
    int parentWidth, parentHeight;
    DWORD flags;
    RECT expected;
  };
  const Case cases[] = {
      {10, 240, 150, CeLayout::StretchWidth, Rect(10, 20, 100, 50)},
      {10, 160, 150, CeLayout::StretchWidth, Rect(10, 20, 20, 50)},
      {10, 200, 190, CeLayout::StretchHeight, Rect(10, 20, 60, 90)},
      {10, 200, 110, CeLayout::StretchHeight, Rect(10, 20, 60, 20)},
      {10, 240, 190, CeLayout::StretchWidth | CeLayout::StretchHeight, Rect(10, 20, 100, 90)},
      // Stretching wins over scaling.
      {10, 240, 150, CeLayout::StretchWidth | CeLayout::ScaleWidth, Rect(10, 20, 100, 50)},
      {110, 240, 150, CeLayout::AnchorRight, Rect(150, 20, 200, 50)},
      {110, 170, 150, CeLayout::AnchorRight, Rect(80, 20, 130, 50)},
      {110, 240, 190, CeLayout::AnchorRight | CeLayout::AnchorBottom, Rect(150, 60, 200, 90)},
      // Anchoring wins over scaling the position; the size still scales.
      {110, 400, 150, CeLayout::AnchorRight | CeLayout::ScaleLeft | CeLayout::ScaleWidth, Rect(260, 20, 360, 50)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.parentWidth) + "x" + std::to_string(c.parentHeight) + " flags " +
                 std::to_string(c.flags));
    ResizeParent(200, 150);
    HWND control = Child(c.left, 20, 50, 30);
    CeLayout layout;
    layout.AddControl(control, c.flags);
    ResizeParent(c.parentWidth, c.parentHeight);
    layout.Relayout(SIZE_RESTORED);
    EXPECT_RECT(control, c.expected);
    DestroyWindow(control);
  }
}

TEST_F(LayoutTest, ScalingPlacesAndSizesInProportionToTheParent) {
  ResizeParent(100, 80);
  HWND control = Child(10, 8, 50, 30);
  HWND fixedSize = Child(70, 50, 20, 20);
  CeLayout layout;
  layout.AddControl(control, CeLayout::ScaleLeft | CeLayout::ScaleWidth | CeLayout::ScaleTop | CeLayout::ScaleHeight);
  layout.AddControl(fixedSize, CeLayout::ScaleLeft | CeLayout::ScaleTop);
  ResizeParent(200, 120);
  layout.Relayout(SIZE_RESTORED);
  EXPECT_RECT(control, Rect(20, 12, 120, 57));
  EXPECT_RECT(fixedSize, Rect(140, 75, 160, 95));
  // Proportions truncate toward zero: 8 * 90 / 80 = 9, 30 * 90 / 80 = 33.
  ResizeParent(100, 90);
  layout.Relayout(SIZE_RESTORED);
  EXPECT_RECT(control, Rect(10, 9, 60, 42));
}

TEST_F(LayoutTest, ScalingAgainstAParentThatHadNoSizeKeepsTheRegisteredPlace) {
  ResizeParent(0, 0);
  HWND control = Child(10, 8, 50, 30);
  HWND stretched = Child(70, 8, 20, 20);
  CeLayout layout;
  layout.AddControl(control, CeLayout::ScaleLeft | CeLayout::ScaleWidth | CeLayout::ScaleTop | CeLayout::ScaleHeight);
  layout.AddControl(stretched, CeLayout::StretchWidth);
  ResizeParent(30, 150);
  layout.Relayout(SIZE_RESTORED);
  EXPECT_RECT(control, Rect(10, 8, 60, 38));
  // Stretching still has a reference to follow.
  EXPECT_RECT(stretched, Rect(70, 8, 120, 28));
}

TEST_F(LayoutTest, FollowersKeepTheirSpacingAndSize) {
  // The label stands 4 pixels left of its field and 2 pixels above it; the
  // unit 4 pixels right of its field and 2 below.
  HWND label = Child(20, 38, 30, 10);
  HWND field = Child(54, 40, 60, 16);
  HWND wide = Child(10, 80, 60, 16);
  HWND unit = Child(74, 82, 20, 10);
  CeLayout layout;
  layout.AddControl(field, CeLayout::AnchorRight | CeLayout::AnchorBottom | CeLayout::FollowPrev);
  layout.AddControl(wide, CeLayout::StretchWidth | CeLayout::FollowNext);
  ResizeParent(240, 170);
  layout.Relayout(SIZE_RESTORED);
  EXPECT_RECT(field, Rect(94, 60, 154, 76));
  EXPECT_RECT(label, Rect(60, 58, 90, 68));
  EXPECT_RECT(wide, Rect(10, 80, 110, 96));
  EXPECT_RECT(unit, Rect(114, 82, 134, 92));
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

TEST_F(LayoutTest, APassThatWouldOverlapTwoControlsMovesNothing) {
  HWND grower = Child(10, 10, 50, 20);
  HWND neighbour = Child(70, 10, 50, 20);
  HWND mover = Child(10, 60, 40, 20);
  CeLayout layout;
  layout.AddControl(mover, CeLayout::AnchorRight);
  layout.AddControl(grower, CeLayout::StretchWidth);
  layout.AddControl(neighbour, 0);
  ResizeParent(240, 150);
  layout.Relayout(SIZE_RESTORED);
  EXPECT_RECT(grower, Rect(10, 10, 60, 30));
  EXPECT_RECT(neighbour, Rect(70, 10, 120, 30));
  // The control that could have moved on its own stays as well.
  EXPECT_RECT(mover, Rect(10, 60, 50, 80));
}

TEST_F(LayoutTest, AControlMayComeToLieInsideAnother) {
  // Whichever of the two was registered first.
  for (bool groupFirst : {true, false}) {
    HWND group = Child(5, 5, 150, 100);
    HWND inner = Child(10, 20, 50, 20);
    CeLayout layout;
    if (groupFirst) layout.AddControl(group, CeLayout::StretchWidth | CeLayout::StretchHeight);
    layout.AddControl(inner, CeLayout::StretchWidth);
    if (!groupFirst) layout.AddControl(group, CeLayout::StretchWidth | CeLayout::StretchHeight);
    ResizeParent(240, 170);
    layout.Relayout(SIZE_RESTORED);
    EXPECT_RECT(group, Rect(5, 5, 195, 125)) << groupFirst;
    EXPECT_RECT(inner, Rect(10, 20, 100, 40)) << groupFirst;
    DestroyWindow(group);
    DestroyWindow(inner);
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
