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

TEST(ListSelectionRanges, AddingMergesOverlappingAndTouchingRanges) {
  struct Case {
    Ranges added;
    Ranges expected;
  };
  const Case cases[] = {
      {{{3, 5}, {9, 9}}, {{3, 5}, {9, 9}}},
      {{{3, 5}, {6, 8}}, {{3, 8}}},                // touching
      {{{6, 8}, {3, 5}}, {{3, 8}}},                // touching, added in reverse
      {{{1, 2}, {5, 6}, {9, 10}, {2, 9}}, {{1, 10}}},  // one range swallows three
      {{{4, 4}, {4, 4}}, {{4, 4}}},
      {{{0, 999999}, {5, 5}}, {{0, 999999}}},
      {{{10, 20}, {0, 3}, {30, 30}}, {{0, 3}, {10, 20}, {30, 30}}},
  };
  for (const Case& c : cases) {
    ListViewSelection s = made(c.added);
    EXPECT_EQ(text(s.ranges()), text(c.expected)) << "after adding " << text(c.added);
  }
}

TEST(ListSelectionRanges, RemovingSplitsAndTrims) {
  struct Case {
    Ranges start;
    RowRange removed;
    Ranges expected;
  };
  const Case cases[] = {
      {{{0, 9}}, {3, 5}, {{0, 2}, {6, 9}}},
      {{{0, 9}}, {0, 9}, {}},
      {{{0, 4}, {6, 9}}, {3, 7}, {{0, 2}, {8, 9}}},
      {{{5, 5}}, {0, 4}, {{5, 5}}},
      {{{0, 999999}}, {500000, 500000}, {{0, 499999}, {500001, 999999}}},
  };
  for (const Case& c : cases) {
    ListViewSelection s = made(c.start);
    s.remove(c.removed.first, c.removed.last);
    EXPECT_EQ(text(s.ranges()), text(c.expected)) << text(c.start) << " less " << text({c.removed});
  }
}

TEST(ListSelectionRanges, CountContainsNextAndPreviousWalkTheRows) {
  ListViewSelection s = made({{3, 5}, {9, 9}, {100, 199999}});
  EXPECT_EQ(s.count(), 3 + 1 + 199900);
  EXPECT_TRUE(s.contains(4));
  EXPECT_FALSE(s.contains(6));
  EXPECT_TRUE(s.contains(199999));
  EXPECT_FALSE(s.contains(200000));
  std::vector<int> walked;
  for (int row = s.next(-1); row >= 0 && row < 102; row = s.next(row)) walked.push_back(row);
  EXPECT_EQ(walked, (std::vector<int>{3, 4, 5, 9, 100, 101}));
  EXPECT_EQ(s.next(199999), -1);
  EXPECT_EQ(s.previous(100), 9);
  EXPECT_EQ(s.previous(5), 4);
  EXPECT_EQ(s.previous(3), -1);
  EXPECT_EQ(ListViewSelection().next(-1), -1);
}

TEST(ListSelectionRanges, InsertedRowsMoveLaterRowsAndSplitARangeUnselected) {
  ListViewSelection s = made({{3, 5}, {9, 9}});
  s.insertRows(4, 2);
  EXPECT_EQ(text(s.ranges()), text({{3, 3}, {6, 7}, {11, 11}}));
  s.insertRows(0, 1);
  EXPECT_EQ(text(s.ranges()), text({{4, 4}, {7, 8}, {12, 12}}));
  s.insertRows(100, 5);  // past every range: nothing moves
  EXPECT_EQ(text(s.ranges()), text({{4, 4}, {7, 8}, {12, 12}}));
}

TEST(ListSelectionRanges, DeletedRowsGoAndNeighboursCloseUp) {
  ListViewSelection s = made({{3, 5}, {9, 9}, {12, 14}});
  s.deleteRows(4, 1);
  EXPECT_EQ(text(s.ranges()), text({{3, 4}, {8, 8}, {11, 13}}));
  // Deleting the unselected rows between two ranges joins them.
  s.deleteRows(9, 2);
  EXPECT_EQ(text(s.ranges()), text({{3, 4}, {8, 11}}));
  s.truncate(10);
  EXPECT_EQ(text(s.ranges()), text({{3, 4}, {8, 9}}));
  s.truncate(0);
  EXPECT_TRUE(s.empty());
}

TEST(ListSelectionRanges, MinusGivesTheRowsOnlyTheFirstHas) {
  struct Case {
    Ranges a;
    Ranges b;
    Ranges expected;
  };
  const Case cases[] = {
      {{{0, 9}}, {{3, 5}}, {{0, 2}, {6, 9}}},
      {{{3, 5}}, {{0, 9}}, {}},
      {{{0, 3}, {6, 9}}, {{2, 7}}, {{0, 1}, {8, 9}}},
      {{{0, 9}}, {{1, 1}, {3, 3}, {9, 9}}, {{0, 0}, {2, 2}, {4, 8}}},
      {{{5, 5}}, {}, {{5, 5}}},
      {{}, {{5, 5}}, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(text(ListViewSelection::minus(made(c.a), made(c.b))), text(c.expected))
        << text(c.a) << " minus " << text(c.b);
}

}  // namespace
}  // namespace commctrl
