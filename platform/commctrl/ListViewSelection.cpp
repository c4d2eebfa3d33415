#include "commctrl/ListViewSelection.h"

#include <algorithm>

namespace commctrl {

namespace {

// The first range that ends at or after row.
std::vector<RowRange>::const_iterator firstEndingFrom(const std::vector<RowRange>& ranges, int row) {
  return std::lower_bound(ranges.begin(), ranges.end(), row,
                          [](const RowRange& r, int value) { return r.last < value; });
}

}  // namespace

bool ListViewSelection::contains(int row) const {
  auto it = firstEndingFrom(ranges_, row);
  return it != ranges_.end() && it->first <= row;
}

int ListViewSelection::count() const {
  long long total = 0;
  for (const RowRange& r : ranges_) total += r.size();
  return static_cast<int>(std::min<long long>(total, 0x7FFFFFFF));
}

void ListViewSelection::add(int first, int last) {
  if (first > last) return;
  // Ranges that overlap or touch [first, last] merge with it.
  auto begin = std::lower_bound(ranges_.begin(), ranges_.end(), first,
                                [](const RowRange& r, int value) { return static_cast<long long>(r.last) + 1 < value; });
  auto end = begin;
  RowRange merged{first, last};
  while (end != ranges_.end() && static_cast<long long>(end->first) - 1 <= last) {
    merged.first = std::min(merged.first, end->first);
    merged.last = std::max(merged.last, end->last);
    ++end;
  }
  auto at = ranges_.erase(begin, end);
  ranges_.insert(at, merged);
}

void ListViewSelection::remove(int first, int last) {
  if (first > last) return;
  std::vector<RowRange> kept;
  kept.reserve(ranges_.size() + 1);
  for (const RowRange& r : ranges_) {
    if (r.last < first || r.first > last) {
      kept.push_back(r);
      continue;
    }
    if (r.first < first) kept.push_back({r.first, first - 1});
    if (r.last > last) kept.push_back({last + 1, r.last});
  }
  ranges_ = std::move(kept);
}

int ListViewSelection::next(int after) const {
  int from = after < 0 ? 0 : after + 1;
  if (after == 0x7FFFFFFF) return -1;
  auto it = firstEndingFrom(ranges_, from);
  if (it == ranges_.end()) return -1;
  return std::max(it->first, from);
}

int ListViewSelection::previous(int before) const {
  if (before <= 0) return -1;
  int to = before - 1;
  auto it = firstEndingFrom(ranges_, to);
  if (it != ranges_.end() && it->first <= to) return to;
  if (it == ranges_.begin()) return -1;
  return std::prev(it)->last;
}

void ListViewSelection::insertRows(int at, int n) {
  if (n <= 0) return;
  std::vector<RowRange> moved;
  moved.reserve(ranges_.size() + 1);
  for (const RowRange& r : ranges_) {
    if (r.last < at) {
      moved.push_back(r);
    } else if (r.first >= at) {
      moved.push_back({r.first + n, r.last + n});
    } else {
      // The new rows split this range; they are not selected.
      moved.push_back({r.first, at - 1});
      moved.push_back({at + n, r.last + n});
    }
  }
  ranges_ = std::move(moved);
}

void ListViewSelection::deleteRows(int at, int n) {
  if (n <= 0) return;
  remove(at, at + n - 1);
  ListViewSelection moved;
  for (const RowRange& r : ranges_) {
    if (r.last < at)
      moved.add(r.first, r.last);
    else
      moved.add(r.first - n, r.last - n);  // the rows before and after the gap may now touch
  }
  ranges_ = std::move(moved.ranges_);
}

void ListViewSelection::truncate(int count) {
  if (count <= 0) {
    ranges_.clear();
    return;
  }
  remove(count, 0x7FFFFFFF);
}

std::vector<RowRange> ListViewSelection::minus(const ListViewSelection& a, const ListViewSelection& b) {
  std::vector<RowRange> out;
  auto other = b.ranges_.begin();
  for (const RowRange& r : a.ranges_) {
    int from = r.first;
    while (other != b.ranges_.end() && other->last < from) ++other;
    for (auto o = other; o != b.ranges_.end() && o->first <= r.last; ++o) {
      if (o->first > from) out.push_back({from, o->first - 1});
      if (o->last >= r.last) {
        from = r.last + 1;
        break;
      }
      from = o->last + 1;
    }
    if (from <= r.last) out.push_back({from, r.last});
  }
  return out;
}

}  // namespace commctrl
