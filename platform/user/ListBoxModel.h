// The items of a list box (and of a combo box, whose drop-down list holds
// them): texts with a word of data each, kept in insertion order or sorted
// alphabetically without regard to case, and the single selection, which
// follows its item when others are inserted or deleted before it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

namespace user {

class ListBoxModel {
 public:
  struct Item {
    std::u16string text;
    LPARAM data = 0;
  };

  // Sorted: where the text goes after every item it does not sort before.
  int add(std::u16string_view text, bool sorted);
  // At index, or at the end for -1; -1 (LB_ERR) for an index past the end.
  int insert(int index, std::u16string_view text);
  // The count left, or -1 for an index that names no item.
  int remove(int index);
  void clear();

  int count() const { return static_cast<int>(items_.size()); }
  bool valid(int index) const { return index >= 0 && index < count(); }
  const Item& at(int index) const { return items_[static_cast<size_t>(index)]; }
  Item& at(int index) { return items_[static_cast<size_t>(index)]; }

  // The first item after start (wrapping round to it; -1 searches from the
  // top) whose text begins with prefix, or equals text, without regard to
  // case; -1 when none does.
  int findPrefix(int start, std::u16string_view prefix) const;
  int findExact(int start, std::u16string_view text) const;

  int selected() const { return selected_; }
  // -1 (or any index that names no item) clears the selection.
  void select(int index) { selected_ = valid(index) ? index : -1; }

 private:
  template <typename Match>
  int find(int start, Match match) const;

  std::vector<Item> items_;
  int selected_ = -1;
};

// Case-insensitive comparison as the sorted lists order their items.
int compareNoCase(std::u16string_view a, std::u16string_view b);

// Where a key moves the selection among count items (Up, Down, PageUp and
// PageDown by page, Home, End), kept on the items; -1 for other keys or no
// items. Without a selection Up and Down start at the first item.
int selectionAfterKey(UINT key, int current, int count, int page);

}  // namespace user
