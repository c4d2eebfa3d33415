#include "commctrl/ListViewModel.h"

#include <algorithm>

namespace commctrl {

std::u16string boundedText(const WCHAR* text, size_t max) {
  if (!text || text == LPSTR_TEXTCALLBACKW) return {};
  size_t n = 0;
  while (n < max && text[n]) ++n;
  return std::u16string(text, n);
}

int copyToBuffer(std::u16string_view text, WCHAR* buffer, int capacity) {
  if (!buffer || capacity <= 0) return 0;
  size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::copy_n(text.data(), n, buffer);
  buffer[n] = 0;
  return static_cast<int>(n);
}

int ListViewModel::insertColumn(int index, ListColumn column, bool explicitSubItem) {
  index = std::clamp(index, 0, columnCount());
  if (!explicitSubItem) column.subItem = index;
  int sub = column.subItem;
  // Later sub-items move up, and their cells with them.
  for (ListColumn& c : columns_)
    if (c.subItem >= sub) ++c.subItem;
  for (ListItem& item : items_)
    if (static_cast<int>(item.cells.size()) > sub) item.cells.insert(item.cells.begin() + sub, ListCell{});
  columns_.insert(columns_.begin() + index, std::move(column));
  return index;
}

bool ListViewModel::deleteColumn(int index) {
  if (!hasColumn(index)) return false;
  int sub = columns_[static_cast<size_t>(index)].subItem;
  columns_.erase(columns_.begin() + index);
  // Another column may still show the same sub-item; its cells stay.
  for (const ListColumn& c : columns_)
    if (c.subItem == sub) return true;
  for (ListColumn& c : columns_)
    if (c.subItem > sub) --c.subItem;
  for (ListItem& item : items_)
    if (static_cast<int>(item.cells.size()) > sub) item.cells.erase(item.cells.begin() + sub);
  return true;
}

int ListViewModel::columnLeft(int index) const {
  int left = 0;
  for (int i = 0; i < index && i < columnCount(); ++i) left += std::max(0, columns_[static_cast<size_t>(i)].width);
  return left;
}

int ListViewModel::totalWidth() const { return columnLeft(columnCount()); }

int ListViewModel::insertItem(int row, ListItem item) {
  row = std::clamp(row, 0, static_cast<int>(items_.size()));
  items_.insert(items_.begin() + row, std::move(item));
  return row;
}

void ListViewModel::deleteItem(int row) {
  if (row >= 0 && row < static_cast<int>(items_.size())) items_.erase(items_.begin() + row);
}

const ListCell* ListViewModel::cell(int row, int subItem) const {
  if (ownerData_ || row < 0 || row >= static_cast<int>(items_.size()) || subItem < 0) return nullptr;
  const ListItem& it = items_[static_cast<size_t>(row)];
  if (subItem >= static_cast<int>(it.cells.size())) return nullptr;
  return &it.cells[static_cast<size_t>(subItem)];
}

void ListViewModel::setCellText(int row, int subItem, const WCHAR* text) {
  if (ownerData_ || row < 0 || row >= static_cast<int>(items_.size()) || subItem < 0) return;
  ListItem& it = items_[static_cast<size_t>(row)];
  if (subItem >= static_cast<int>(it.cells.size())) {
    if (!text) return;
    it.cells.resize(static_cast<size_t>(subItem) + 1);
  }
  ListCell& c = it.cells[static_cast<size_t>(subItem)];
  c.callback = text == LPSTR_TEXTCALLBACKW;
  c.text = c.callback ? std::u16string() : boundedText(text, 0x7FFFFFFF);
}

}  // namespace commctrl
