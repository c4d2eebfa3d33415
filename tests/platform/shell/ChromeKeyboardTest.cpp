// The panel's keyboard laid out in rectangles of any width.
#include <gtest/gtest.h>

#include <set>

#include "shell/ChromeKeyboard.h"
#include "shell/ChromeLayout.h"

namespace {

TEST(ChromeKeyboard, RowsFillThePanelWithoutGapsOrOverlaps) {
  for (RECT panel : {RECT{0, 214, 240, 294}, RECT{0, 134, 320, 214}, RECT{0, 480, 480, 560}}) {
    SCOPED_TRACE(panel.right);
    const std::vector<shell::PlacedKey> keys = shell::layoutKeyboard(panel);
    size_t i = 0;
    int top = panel.top;
    for (const auto& row : shell::keyboardRows()) {
      int left = panel.left;
      int bottom = -1;
      for (size_t k = 0; k < row.size(); ++k, ++i) {
        ASSERT_LT(i, keys.size());
        const RECT& r = keys[i].rect;
        EXPECT_EQ(r.left, left) << i;
        EXPECT_GT(r.right, r.left) << i;
        EXPECT_EQ(r.top, top) << i;
        if (bottom < 0) bottom = r.bottom;
        EXPECT_EQ(r.bottom, bottom) << i;
        left = r.right;
      }
      EXPECT_EQ(left, panel.right);
      top = bottom;
    }
    EXPECT_EQ(top, panel.bottom);
    EXPECT_EQ(i, keys.size());
  }
}

TEST(ChromeKeyboard, EveryKeyIsFoundAtItsCentreAndNowhereOutside) {
  const RECT panel{0, 214, 240, 294};
  const std::vector<shell::PlacedKey> keys = shell::layoutKeyboard(panel);
  for (size_t i = 0; i < keys.size(); ++i) {
    const RECT& r = keys[i].rect;
    EXPECT_EQ(shell::keyAt(keys, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}), static_cast<int>(i));
  }
  EXPECT_EQ(shell::keyAt(keys, {120, 213}), -1);
  EXPECT_EQ(shell::keyAt(keys, {120, 294}), -1);
  EXPECT_EQ(shell::keyAt(keys, {240, 250}), -1);
}

TEST(ChromeKeyboard, TypesEveryLetterAndDigitOnceWithItsShiftedCharacter) {
  std::set<char16_t> plain;
  for (const auto& row : shell::keyboardRows()) {
    int units = 0;
    for (const shell::PanelKey& key : row) {
      units += key.units;
      if (key.vk || key.shift) continue;
      EXPECT_TRUE(plain.insert(key.plain).second) << static_cast<int>(key.plain);
      if (key.plain >= u'a' && key.plain <= u'z') {
        EXPECT_EQ(key.shifted, key.plain - u'a' + u'A');
      }
    }
    EXPECT_EQ(units, shell::kRowUnits);
  }
  for (char16_t c = u'a'; c <= u'z'; ++c) EXPECT_TRUE(plain.count(c)) << static_cast<char>(c);
  for (char16_t c = u'0'; c <= u'9'; ++c) EXPECT_TRUE(plain.count(c)) << static_cast<char>(c);
  EXPECT_TRUE(plain.count(u' '));
}

TEST(ChromeLayout, TheNavigationBarMakesRoomForTheOkButton) {
  const RECT bar{0, 0, 240, 26};
  shell::NavBarLayout withOk = shell::layoutNavBar(bar, true);
  shell::NavBarLayout without = shell::layoutNavBar(bar, false);
  EXPECT_EQ(withOk.ok.right, 240);
  EXPECT_EQ(withOk.clock.right, withOk.ok.left);
  EXPECT_EQ(withOk.title.right, withOk.clock.left);
  EXPECT_TRUE(without.ok.right <= without.ok.left);
  EXPECT_EQ(without.clock.right, 240);
  EXPECT_GT(without.title.right, withOk.title.right);
}

}  // namespace
