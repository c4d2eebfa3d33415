// What a list view holds: its columns, and the rows of a normal list with
// their cells. An owner-data list keeps only its row count; the parent
// holds the rows.
//
// A column shows one sub-item, its number; cells are kept by sub-item. A
// column inserted before others takes their sub-item numbers' place and
// theirs move up by one, cells included, so every cell stays under its
// column; deleting a column drops its cells and moves the later ones down.
#pragma once

#include <commctrl.h>

#include <string>
#include <vector>

namespace commctrl {

struct ListColumn {
  int format = LVCFMT_LEFT;
  int width = 0;
  std::u16string text;
  int subItem = 0;
  int image = 0;
  int order = 0;
};

struct ListCell {
  std::u16string text;
  bool callback = false;  // the parent gives the text when asked
};

struct ListItem {
  std::vector<ListCell> cells;  // by sub-item; missing cells are empty
  LPARAM param = 0;
  UINT state = 0;  // everything but selection and focus, which the view keeps
  int image = 0;
  int indent = 0;
};

class ListViewModel {
 public:
  explicit ListViewModel(bool ownerData) : ownerData_(ownerData) {}

  bool ownerData() const { return ownerData_; }

  // ---- columns, in display order
  int columnCount() const { return static_cast<int>(columns_.size()); }
  const ListColumn& column(int index) const { return columns_[static_cast<size_t>(index)]; }
  ListColumn& column(int index) { return columns_[static_cast<size_t>(index)]; }
  bool hasColumn(int index) const { return index >= 0 && index < columnCount(); }
  // Inserts at index (past the end: appended); returns where it went. Without
  // an explicit sub-item the column shows the sub-item of its index.
  int insertColumn(int index, ListColumn column, bool explicitSubItem);
  bool deleteColumn(int index);
  // Left edge of a column from the left of the first, and the sum of widths.
  int columnLeft(int index) const;
  int totalWidth() const;

  // ---- rows
  int rowCount() const { return ownerData_ ? ownerCount_ : static_cast<int>(items_.size()); }
  bool hasRow(int row) const { return row >= 0 && row < rowCount(); }
  void setOwnerCount(int count) { ownerCount_ = count < 0 ? 0 : count; }

  // Normal lists only.
  ListItem& item(int row) { return items_[static_cast<size_t>(row)]; }
  const ListItem& item(int row) const { return items_[static_cast<size_t>(row)]; }
  int insertItem(int row, ListItem item);
  void deleteItem(int row);
  void clearItems() { items_.clear(); }
  // The stored cell, or null when the row has none for that sub-item.
  const ListCell* cell(int row, int subItem) const;
  // Text or LPSTR_TEXTCALLBACKW; null clears the cell.
  void setCellText(int row, int subItem, const WCHAR* text);

 private:
  bool ownerData_;
  int ownerCount_ = 0;
  std::vector<ListColumn> columns_;
  std::vector<ListItem> items_;
};

// Text of a caller's buffer, at most max characters, stopping at the terminator.
std::u16string boundedText(const WCHAR* text, size_t max);
// Copies text into a caller's buffer of capacity characters, cut to fit and
// always terminated; returns the characters copied.
int copyToBuffer(std::u16string_view text, WCHAR* buffer, int capacity);

}  // namespace commctrl
