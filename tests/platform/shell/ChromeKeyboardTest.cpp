// The panel's keyboard laid out in rectangles of any width.
#include <gtest/gtest.h>

#include "shell/ChromeKeyboard.h"
#include "shell/ChromeLayout.h"

namespace {

TEST(ChromeKeyboard, RowsFillThePanelWithoutGapsAndEveryKeyIsFoundAtItsCentre) {
  for (RECT panel : {RECT{0, 214, 240, 294}, RECT{0, 134, 320, 214}, RECT{0, 480, 480, 560}}) {
    SCOPED_TRACE(panel.right);
    const std::vector<shell::PlacedKey> keys = shell::layoutKeyboard(panel);
    size_t i = 0;
    int top = panel.top;
    for (const auto& row : shell::keyboardRows()) {
      int left = panel.left;
      ASSERT_LT(i, keys.size());
      const int bottom = keys[i].rect.bottom;
      for (size_t k = 0; k < row.size(); ++k, ++i) {
        ASSERT_LT(i, keys.size());
        const RECT& r = keys[i].rect;
        EXPECT_TRUE(r.left == left && r.right > r.left && r.top == top && r.bottom == bottom) << i;
        EXPECT_EQ(shell::keyAt(keys, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}), static_cast<int>(i));
        left = r.right;
      }
      EXPECT_EQ(left, panel.right);
      top = bottom;
    }
    EXPECT_EQ(top, panel.bottom);
    EXPECT_EQ(i, keys.size());
    for (POINT outside : {POINT{120, panel.top - 1}, POINT{120, panel.bottom}, POINT{panel.right, panel.top + 30}})
      EXPECT_EQ(shell::keyAt(keys, outside), -1);
  }
}

TEST(ChromeLayout, TheNavigationBarMakesRoomForTheOkButton) {
  const RECT bar{0, 0, 240, 26};
  shell::NavBarLayout withOk = shell::layoutNavBar(bar, true);
  shell::NavBarLayout without = shell::layoutNavBar(bar, false);
  EXPECT_EQ(withOk.ok.right, 240);
  EXPECT_EQ(withOk.clock.right, withOk.ok.left);
  EXPECT_EQ(withOk.title.right, withOk.clock.left);
  EXPECT_LE(without.ok.right, without.ok.left);
  EXPECT_EQ(without.clock.right, 240);
  EXPECT_GT(without.title.right, withOk.title.right);
}

}  // namespace
