// Drawing the tree view with the device's look: dotted lines, +/- buttons,
// 16 x 16 images and the selected label highlighted.
#include <algorithm>

#include "commctrl/TreeView.h"

namespace commctrl {

namespace {

constexpr int kButtonSize = 9;

// Dotted lines: every other pixel, on a grid fixed to the client area so
// that the dots of neighbouring rows line up.
void dotsDown(HDC hdc, int x, int top, int bottom, COLORREF color) {
  for (int y = top; y < bottom; ++y)
    if (((x + y) & 1) == 0) SetPixel(hdc, x, y, color);
}

void dotsAcross(HDC hdc, int y, int left, int right, COLORREF color) {
  for (int x = left; x < right; ++x)
    if (((x + y) & 1) == 0) SetPixel(hdc, x, y, color);
}

}  // namespace

void TreeView::paint(HDC given) {
  ensureLayout();
  PAINTSTRUCT ps{};
  HDC hdc = given ? given : BeginPaint(hwnd_, &ps);
  if (!hdc) return;
  RECT dirty{};
  if (given)
    GetClientRect(hwnd_, &dirty);
  else
    dirty = ps.rcPaint;
  HGDIOBJ oldFont = SelectObject(hdc, font_ ? font_ : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  int oldMode = SetBkMode(hdc, TRANSPARENT);
  COLORREF oldColor = GetTextColor(hdc);
  FillRect(hdc, &dirty, GetSysColorBrush(COLOR_WINDOW));

  int first = std::max<int>(dirty.top, 0) / rowHeight_;
  int last = std::max<int>(dirty.bottom - 1, 0) / rowHeight_;
  TreeItem* item = top_;
  for (int i = 0; item && i < first; ++i) item = model_.nextVisible(item);
  for (int i = first; item && i <= last; ++i) {
    // Handles, not items: a parent asked for a text may change the tree.
    HTREEITEM handle = item->handle;
    paintRow(hdc, item, topIndex_ + i);
    item = model_.find(handle);
    if (!item || !model_.isVisible(item)) break;
    item = model_.nextVisible(item);
  }

  SetTextColor(hdc, oldColor);
  SetBkMode(hdc, oldMode);
  if (oldFont) SelectObject(hdc, oldFont);
  if (!given) EndPaint(hwnd_, &ps);
}

void TreeView::paintRow(HDC hdc, TreeItem* item, int rowIndex) {
  HTREEITEM handle = item->handle;
  std::u16string text = textOf(item);
  bool selected = item == caret_;
  int image = images_ ? imageOf(item, selected) : -1;
  if (!(item = model_.find(handle))) return;
  RowGeometry g = geometry(hdc, item, rowIndex, text);
  if (style() & TVS_HASLINES) paintLines(hdc, item, g);
  if (!IsRectEmpty(&g.button)) paintButton(hdc, item, g);
  if (images_ && image >= 0) ImageList_Draw(images_, image, hdc, g.icon.left, g.icon.top, ILD_TRANSPARENT);
  paintLabel(hdc, item, g, text);
}

void TreeView::paintLines(HDC hdc, TreeItem* item, const RowGeometry& g) {
  COLORREF color = GetSysColor(COLOR_BTNSHADOW);
  int middle = g.row.top + rowHeight_ / 2;
  if (g.lineX >= 0) {
    // From the parent's line (or the row's middle for the very first item)
    // down through the row when a sibling follows, across to the item.
    bool firstOfAll = !item->previous && model_.isRoot(item->parent);
    int top = firstOfAll ? middle : g.row.top;
    int bottom = item->next ? g.row.bottom : middle + 1;
    dotsDown(hdc, g.lineX, top, bottom, color);
    dotsAcross(hdc, middle, g.lineX, levelIndent(item) * indent_, color);
  }
  // The lines of ancestors that have siblings further down pass through.
  int offset = linesAtRoot() ? 1 : 0;
  for (TreeItem* a = item->parent; a && !model_.isRoot(a); a = a->parent) {
    int level = model_.depth(a) + offset;
    if (a->next && level > 0) dotsDown(hdc, (level - 1) * indent_ + indent_ / 2, g.row.top, g.row.bottom, color);
  }
}

void TreeView::paintButton(HDC hdc, TreeItem* item, const RowGeometry& g) {
  int cx = g.lineX;
  int cy = g.row.top + rowHeight_ / 2;
  int half = kButtonSize / 2;
  RECT box{cx - half, cy - half, cx + half + 1, cy + half + 1};
  FillRect(hdc, &box, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(hdc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
  HBRUSH ink = GetSysColorBrush(COLOR_WINDOWTEXT);
  RECT minus{cx - 2, cy, cx + 3, cy + 1};
  FillRect(hdc, &minus, ink);
  if (!item->expanded()) {
    RECT plus{cx, cy - 2, cx + 1, cy + 3};
    FillRect(hdc, &plus, ink);
  }
}

void TreeView::paintLabel(HDC hdc, TreeItem* item, const RowGeometry& g, const std::u16string& text) {
  bool selected = item == caret_ || item == dropHilite_;
  bool active = focused_ || item == dropHilite_;
  int textColor = IsWindowEnabled(hwnd_) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT;
  if (selected && (active || (style() & TVS_SHOWSELALWAYS))) {
    // Without the focus a selection kept on show is grey, not the highlight.
    FillRect(hdc, &g.label, GetSysColorBrush(active ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    if (active) textColor = COLOR_HIGHLIGHTTEXT;
  }
  SetTextColor(hdc, GetSysColor(textColor));
  int y = g.row.top + (rowHeight_ - textHeight_) / 2;
  ExtTextOutW(hdc, g.label.left + 2, y, ETO_CLIPPED, &g.label, text.data(), static_cast<UINT>(text.size()), nullptr);
}

}  // namespace commctrl
