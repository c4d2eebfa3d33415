#include "user/ListBoxModel.h"

#include <algorithm>

namespace user {

int compareNoCase(std::u16string_view a, std::u16string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    WCHAR x = towlower(a[i]);
    WCHAR y = towlower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int selectionAfterKey(UINT key, int current, int count, int page) {
  if (count <= 0) return -1;
  page = std::max(page, 1);
  int next;
  switch (key) {
    case VK_UP: next = current < 0 ? 0 : current - 1; break;
    case VK_DOWN: next = current < 0 ? 0 : current + 1; break;
    case VK_PRIOR: next = current < 0 ? 0 : current - page; break;
    case VK_NEXT: next = current < 0 ? page : current + page; break;
    case VK_HOME: next = 0; break;
    case VK_END: next = count - 1; break;
    default: return -1;
  }
  return std::clamp(next, 0, count - 1);
}

int ListBoxModel::add(std::u16string_view text, bool sorted) {
  int index = count();
  if (sorted) {
    auto at = std::upper_bound(items_.begin(), items_.end(), text,
                               [](std::u16string_view t, const Item& item) { return compareNoCase(t, item.text) < 0; });
    index = static_cast<int>(at - items_.begin());
  }
  return insert(index, text);
}

int ListBoxModel::insert(int index, std::u16string_view text) {
  if (index == -1) index = count();
  if (index < 0 || index > count()) return -1;
  items_.insert(items_.begin() + index, Item{std::u16string(text), 0});
  if (selected_ >= index) ++selected_;
  return index;
}

int ListBoxModel::remove(int index) {
  if (!valid(index)) return -1;
  items_.erase(items_.begin() + index);
  if (selected_ == index)
    selected_ = -1;
  else if (selected_ > index)
    --selected_;
  return count();
}

void ListBoxModel::clear() {
  items_.clear();
  selected_ = -1;
}

template <typename Match>
int ListBoxModel::find(int start, Match match) const {
  int n = count();
  if (n == 0) return -1;
  // A start that names no item searches the whole list from the top.
  int first = valid(start) ? start + 1 : 0;
  for (int i = 0; i < n; ++i) {
    int index = (first + i) % n;
    if (match(at(index).text)) return index;
  }
  return -1;
}

int ListBoxModel::findPrefix(int start, std::u16string_view prefix) const {
  return find(start, [&](const std::u16string& text) {
    return text.size() >= prefix.size() && compareNoCase(std::u16string_view(text).substr(0, prefix.size()), prefix) == 0;
  });
}

int ListBoxModel::findExact(int start, std::u16string_view text) const {
  return find(start, [&](const std::u16string& item) { return compareNoCase(item, text) == 0; });
}

}  // namespace user
