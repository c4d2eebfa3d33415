// The list view's selection as ranges of rows: merging, splitting, and
// following inserted and deleted rows.
#include <gtest/gtest.h>

#include "commctrl/ListViewSelection.h"

namespace commctrl {
namespace {

using Ranges = std::vector<RowRange>;

ListViewSelection made(const Ranges& ranges) {
  ListViewSelection s;
  for (const RowRange& r : ranges) s.add(r.first, r.last);
  return s;
}

std::string text(const Ranges& ranges) {
  std::string out;
  for (const RowRange& r : ranges) out += "[" + std::to_string(r.first) + "," + std::to_string(r.last) + "]";
  return out;
}

TEST(ListSelectionRanges, AddingMergesOverlappingAndTouchingRangesAndRemovingSplits) {
  struct Case {
    Ranges added;
    Ranges removed;
    Ranges expected;
  };
  const Case cases[] = {
      {{{3, 5}, {9, 9}}, {}, {{3, 5}, {9, 9}}},
      {{{6, 8}, {3, 5}}, {}, {{3, 8}}},                   // touching, added in reverse
      {{{1, 2}, {5, 6}, {9, 10}, {2, 9}}, {}, {{1, 10}}},  // one range swallows three
      {{{10, 20}, {0, 3}, {30, 30}}, {}, {{0, 3}, {10, 20}, {30, 30}}},
      {{{0, 9}}, {{3, 5}}, {{0, 2}, {6, 9}}},
      {{{0, 9}}, {{0, 9}}, {}},
      {{{0, 4}, {6, 9}}, {{3, 7}}, {{0, 2}, {8, 9}}},
      {{{0, 999999}}, {{500000, 500000}}, {{0, 499999}, {500001, 999999}}},
  };
  for (const Case& c : cases) {
    ListViewSelection s = made(c.added);
    for (const RowRange& r : c.removed) s.remove(r.first, r.last);
    EXPECT_EQ(text(s.ranges()), text(c.expected)) << text(c.added) << " less " << text(c.removed);
  }
}

TEST(ListSelectionRanges, InsertedAndDeletedRowsMoveTheRangesAfterThem) {
  ListViewSelection s = made({{3, 5}, {9, 9}});
  s.insertRows(4, 2);  // inside a range: the new rows are not selected
  EXPECT_EQ(text(s.ranges()), text({{3, 3}, {6, 7}, {11, 11}}));
  s.insertRows(100, 5);  // past every range: nothing moves
  EXPECT_EQ(text(s.ranges()), text({{3, 3}, {6, 7}, {11, 11}}));
  s.deleteRows(6, 1);
  EXPECT_EQ(text(s.ranges()), text({{3, 3}, {6, 6}, {10, 10}}));
  // Deleting the unselected rows between two ranges joins them.
  s.deleteRows(7, 3);
  EXPECT_EQ(text(s.ranges()), text({{3, 3}, {6, 7}}));
  s.truncate(7);
  EXPECT_EQ(text(s.ranges()), text({{3, 3}, {6, 6}}));
  EXPECT_EQ(s.count(), 2);
  EXPECT_EQ(s.previous(6), 3);
  s.truncate(0);
  EXPECT_TRUE(s.empty());
}

}  // namespace
}  // namespace commctrl
