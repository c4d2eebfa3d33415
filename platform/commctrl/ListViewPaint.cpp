// Drawing the rows, the cells' texts, and the window dump's lines.
#include <algorithm>

#include "commctrl/HeaderText.h"
#include "commctrl/ListView.h"
#include "device/Dump.h"
#include "user/ControlState.h"

namespace commctrl {

namespace {

const char* formatName(int format) {
  switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
      return "right";
    case LVCFMT_CENTER:
      return "center";
    default:
      return "left";
  }
}

class Brush {
 public:
  explicit Brush(COLORREF color) : brush_(CreateSolidBrush(color)) {}
  ~Brush() { DeleteObject(brush_); }
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;
  HBRUSH get() const { return brush_; }

 private:
  HBRUSH brush_;
};

}  // namespace

std::u16string ListView::cellText(int row, int subItem) {
  if (!model_.ownerData()) {
    const ListCell* cell = model_.cell(row, subItem);
    if (!cell) return {};
    if (!cell->callback) return cell->text;
  }
  WCHAR buffer[kTextCapacity];
  return askText(row, subItem, buffer, kTextCapacity);
}

COLORREF ListView::effectiveColor(COLORREF color, int sysColor) const {
  return color == CLR_DEFAULT || color == CLR_NONE ? GetSysColor(sysColor) : color;
}

void ListView::paint() {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (!hdc) return;
  // With redrawing off nothing is drawn; turning it on repaints everything.
  if (redraw_) paintRows(hdc, ps.rcPaint);
  EndPaint(hwnd_, &ps);
}

void ListView::paintRows(HDC hdc, const RECT& area) {
  RECT client = clientRect();
  int rowsTop = headerBottom();
  int top = std::max(static_cast<int>(area.top), rowsTop);
  int bottom = std::min(area.bottom, client.bottom);
  Brush background(effectiveColor(background_, COLOR_WINDOW));
  if (top >= bottom) return;

  int first = top_ + (top - rowsTop) / rowHeight_;
  int last = std::min(visibleEnd() - 1, top_ + (bottom - 1 - rowsTop) / rowHeight_);
  // The parent fills its cache with exactly the rows about to be drawn.
  if (model_.ownerData() && first <= last) cacheHint(first, last);
  if (!IsWindow(hwnd_)) return;
  last = std::min(last, visibleEnd() - 1);

  HGDIOBJ oldFont = selectControlFont(hdc, font_);
  SetBkMode(hdc, TRANSPARENT);
  for (int row = first; row <= last; ++row) paintRow(hdc, row, background.get());
  SelectObject(hdc, oldFont);

  // Below the last row the list is empty.
  int end = last >= first ? rowBounds(last).bottom : top;
  if (end < bottom) {
    RECT rest{area.left, std::max(end, top), area.right, bottom};
    FillRect(hdc, &rest, background.get());
  }
}

void ListView::paintRow(HDC hdc, int row, HBRUSH background) {
  RECT bounds = rowBounds(row);
  RECT client = clientRect();
  RECT whole{client.left, bounds.top, client.right, bounds.bottom};
  FillRect(hdc, &whole, background);
  if (model_.columnCount() == 0) return;

  bool fullRow = (extended_ & LVS_EX_FULLROWSELECT) != 0;
  bool selected = selection_.contains(row);
  // Unfocused, a selection shows only with LVS_SHOWSELALWAYS, in the face colour.
  bool showSelected = selected && (hasFocus_ || (user::controlStyle(hwnd_) & LVS_SHOWSELALWAYS));
  COLORREF selectedBack = GetSysColor(hasFocus_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
  COLORREF selectedText = GetSysColor(hasFocus_ ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  COLORREF text = effectiveColor(textColor_, COLOR_WINDOWTEXT);

  RECT firstCell = cellRect(row, 0);
  std::u16string firstText = cellText(row, model_.column(0).subItem);
  if (!model_.hasRow(row) || model_.columnCount() == 0) return;  // the parent changed the list meanwhile
  // The highlight: the whole row, or the first cell's text.
  RECT highlight = bounds;
  if (!fullRow) {
    highlight = firstCell;
    int width = TextMeasure(hwnd_, font_).width(firstText) + 2 * kTextMargin;
    highlight.right = std::min(highlight.right, highlight.left + width);
  }
  if (showSelected) {
    Brush brush(selectedBack);
    FillRect(hdc, &highlight, brush.get());
  } else if (textBackground_ != CLR_NONE && textBackground_ != background_) {
    Brush brush(effectiveColor(textBackground_, COLOR_WINDOW));
    FillRect(hdc, &bounds, brush.get());
  }

  for (int column = 0; column < model_.columnCount(); ++column) {
    RECT cell = cellRect(row, column);
    if (cell.right <= client.left || cell.left >= client.right || cell.right <= cell.left) continue;
    bool lit = showSelected && (fullRow || column == 0);
    SetTextColor(hdc, lit ? selectedText : text);
    std::u16string value = column == 0 ? firstText : cellText(row, model_.column(column).subItem);
    if (!model_.hasRow(row) || column >= model_.columnCount()) return;
    drawCellText(hdc, cell, value, model_.column(column).format);
  }
  if (extended_ & LVS_EX_GRIDLINES) {
    Brush line(GetSysColor(COLOR_BTNFACE));
    RECT bottomLine{bounds.left, bounds.bottom - 1, bounds.right, bounds.bottom};
    FillRect(hdc, &bottomLine, line.get());
    for (int column = 0; column < model_.columnCount(); ++column) {
      RECT cell = cellRect(row, column);
      RECT edge{cell.right - 1, cell.top, cell.right, cell.bottom};
      FillRect(hdc, &edge, line.get());
    }
  }
  if (hasFocus_ && row == focus_) DrawFocusRect(hdc, &highlight);
}

void ListView::dump(const std::string& indent, std::string& out) {
  // The rows a person sees, asked of an owner-data list's parent as drawing
  // does; the parent may add columns as it fills its cache, so it is asked first.
  if (model_.ownerData() && top_ < visibleEnd()) cacheHint(top_, visibleEnd() - 1);
  int count = model_.rowCount();
  out += indent + "list rows=" + std::to_string(count) + " top=" + std::to_string(top_) +
         " page=" + std::to_string(countPerPage()) + " selected=" + std::to_string(selection_.count()) +
         " focus=" + std::to_string(focus_) + (model_.ownerData() ? " ownerdata" : "") + "\n";
  for (int column = 0; column < model_.columnCount(); ++column) {
    const ListColumn& c = model_.column(column);
    out += indent + "column index=" + std::to_string(column) + " text=" + device::quoteText(c.text) +
           " width=" + std::to_string(c.width) + " format=" + formatName(c.format) +
           " subitem=" + std::to_string(c.subItem) + "\n";
  }
  for (int row = top_; row < visibleEnd() && row < model_.rowCount(); ++row) {
    std::string line = indent + "row index=" + std::to_string(row);
    if (selection_.contains(row)) line += " selected";
    if (row == focus_) line += " focused";
    line += " cells=";
    for (int column = 0; column < model_.columnCount(); ++column) {
      if (column > 0) line += ' ';
      line += device::quoteText(cellText(row, model_.column(column).subItem));
    }
    out += line + "\n";
  }
}

}  // namespace commctrl
