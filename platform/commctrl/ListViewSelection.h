// The selected rows of a list view, kept as sorted ranges so that a million
// selected rows cost one entry, and inserting or deleting rows moves the
// ranges instead of touching every row.
#pragma once

#include <vector>

namespace commctrl {

// Rows first to last, both included.
struct RowRange {
  int first = 0;
  int last = 0;
  int size() const { return last - first + 1; }
  bool operator==(const RowRange&) const = default;
};

class ListViewSelection {
 public:
  bool contains(int row) const;
  bool empty() const { return ranges_.empty(); }
  // Number of selected rows.
  int count() const;
  const std::vector<RowRange>& ranges() const { return ranges_; }

  void add(int first, int last);
  void remove(int first, int last);
  void clear() { ranges_.clear(); }

  // The first selected row after `after` (-1: from the start), or -1.
  int next(int after) const;
  // The last selected row before `before`, or -1.
  int previous(int before) const;

  // n rows were inserted at `at`: rows from there move down.
  void insertRows(int at, int n);
  // Rows at .. at + n - 1 are gone: later rows move up.
  void deleteRows(int at, int n);
  // Rows from `count` on no longer exist.
  void truncate(int count);

  // Rows selected in a but not in b.
  static std::vector<RowRange> minus(const ListViewSelection& a, const ListViewSelection& b);

  bool operator==(const ListViewSelection&) const = default;

 private:
  // Sorted, disjoint and never adjacent: neighbours are merged.
  std::vector<RowRange> ranges_;
};

}  // namespace commctrl
