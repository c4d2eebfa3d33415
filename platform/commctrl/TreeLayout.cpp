// Rows of the tree view: their height and indentation, what is scrolled
// into view, the scroll bar, and where a point lies.
#include <algorithm>
#include <cstring>

#include "commctrl/TreeView.h"
#include "user/ControlState.h"
#include "user/ScrollRequest.h"

namespace commctrl {

namespace {

// Selects the control's font into a DC of the control for measuring.
class MeasureDC {
 public:
  MeasureDC(HWND hwnd, HFONT font) : hwnd_(hwnd), hdc_(GetDC(hwnd)) {
    if (hdc_) previous_ = SelectObject(hdc_, font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  }
  ~MeasureDC() {
    if (!hdc_) return;
    if (previous_) SelectObject(hdc_, previous_);
    ReleaseDC(hwnd_, hdc_);
  }
  MeasureDC(const MeasureDC&) = delete;
  MeasureDC& operator=(const MeasureDC&) = delete;
  HDC get() const { return hdc_; }

 private:
  HWND hwnd_;
  HDC hdc_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

bool TreeView::linesAtRoot() const {
  DWORD s = style();
  return (s & TVS_LINESATROOT) && (s & (TVS_HASLINES | TVS_HASBUTTONS));
}

int TreeView::levelIndent(TreeItem* item) const { return model_.depth(item) + (linesAtRoot() ? 1 : 0); }

void TreeView::updateMetrics() {
  {
    MeasureDC dc(hwnd_, font_);
    TEXTMETRICW tm{};
    if (dc.get() && GetTextMetricsW(dc.get(), &tm) && tm.tmHeight > 0) textHeight_ = tm.tmHeight;
  }
  int imageWidth = 0, imageHeight = 0;
  if (images_ && !ImageList_GetIconSize(images_, &imageWidth, &imageHeight)) imageWidth = imageHeight = 0;
  rowHeight_ = std::max(textHeight_ + 3, imageHeight + 2);
  // Even rows keep the dotted lines continuous from one row to the next.
  rowHeight_ += rowHeight_ & 1;
  if (!indentSet_) indent_ = std::max(imageWidth, 16) + 3;
  layoutChanged();
}

void TreeView::layoutChanged() {
  layoutDirty_ = true;
  invalidateAll();
}

int TreeView::fullRows() const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  return std::max(0, static_cast<int>(client.bottom - client.top) / rowHeight_);
}

void TreeView::ensureLayout() {
  if (!layoutDirty_) return;
  layoutDirty_ = false;
  visibleCount_ = model_.visibleCount();
  // The row at the top stays where it is unless the view would end in
  // empty rows that items above could fill.
  int index = 0;
  if (top_) {
    TreeItem* shown = top_;
    for (TreeItem* p = top_->parent; p && !model_.isRoot(p); p = p->parent)
      if (!p->expanded()) shown = p;
    index = std::max(model_.visibleIndex(shown), 0);
  }
  int lastTop = std::max(0, visibleCount_ - std::max(fullRows(), 1));
  topIndex_ = std::clamp(index, 0, lastTop);
  top_ = model_.visibleAt(topIndex_);
  updateScrollBar();
}

void TreeView::updateScrollBar() {
  if (style() & TVS_NOSCROLL) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(visibleCount_ - 1, 0);
  info.nPage = static_cast<UINT>(fullRows());
  info.nPos = topIndex_;
  SetScrollInfo(hwnd_, SB_VERT, &info, redraw_);
}

void TreeView::scrollTo(int index) {
  ensureLayout();
  int lastTop = std::max(0, visibleCount_ - std::max(fullRows(), 1));
  index = std::clamp(index, 0, lastTop);
  if (index == topIndex_) return;
  topIndex_ = index;
  top_ = model_.visibleAt(index);
  updateScrollBar();
  invalidateAll();
}

void TreeView::verticalScroll(WPARAM wParam) {
  ensureLayout();
  const user::ScrollSteps steps{1, std::max(fullRows() - 1, 1), visibleCount_};
  if (auto to = user::scrollRequestTarget(hwnd_, SB_VERT, LOWORD(wParam), topIndex_, steps)) scrollTo(*to);
}

int TreeView::textWidth(HDC hdc, const std::u16string& text) const {
  SIZE size{};
  if (text.empty() || !GetTextExtentPoint32W(hdc, text.data(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

TreeView::RowGeometry TreeView::geometry(HDC hdc, TreeItem* item, int rowIndex, const std::u16string& text) {
  RowGeometry g;
  RECT client{};
  GetClientRect(hwnd_, &client);
  int y = (rowIndex - topIndex_) * rowHeight_;
  g.row = {0, y, std::max<LONG>(client.right, 0), y + rowHeight_};
  int level = levelIndent(item);
  int x = level * indent_;
  if (level > 0) {
    g.lineX = (level - 1) * indent_ + indent_ / 2;
    if ((style() & TVS_HASBUTTONS) && item->hasChildren()) g.button = {(level - 1) * indent_, y, x, y + rowHeight_};
  }
  int imageWidth = 0, imageHeight = 0;
  if (images_ && ImageList_GetIconSize(images_, &imageWidth, &imageHeight)) {
    int iconTop = y + (rowHeight_ - imageHeight) / 2;
    g.icon = {x, iconTop, x + imageWidth, iconTop + imageHeight};
    x += imageWidth + 1;
  }
  int width = textWidth(hdc, text) + 4;
  g.label = {x, y, x + width, y + rowHeight_};
  return g;
}

TreeItem* TreeView::hitTest(POINT p, UINT& flags) {
  ensureLayout();
  RECT client{};
  GetClientRect(hwnd_, &client);
  flags = 0;
  if (p.x < 0) flags |= TVHT_TOLEFT;
  if (p.x >= client.right) flags |= TVHT_TORIGHT;
  if (p.y < 0) flags |= TVHT_ABOVE;
  if (p.y >= client.bottom) flags |= TVHT_BELOW;
  if (flags) return nullptr;
  int row = topIndex_ + p.y / rowHeight_;
  TreeItem* item = top_;
  for (int i = topIndex_; item && i < row; ++i) item = model_.nextVisible(item);
  if (!item) {
    flags = TVHT_NOWHERE;
    return nullptr;
  }
  HTREEITEM handle = item->handle;
  std::u16string text = textOf(item);
  if (!(item = model_.find(handle))) {
    flags = TVHT_NOWHERE;
    return nullptr;
  }
  RowGeometry g;
  {
    MeasureDC dc(hwnd_, font_);
    g = geometry(dc.get(), item, row, text);
  }
  if (PtInRect(&g.button, p))
    flags = TVHT_ONITEMBUTTON;
  else if (p.x < levelIndent(item) * indent_)
    flags = TVHT_ONITEMINDENT;
  else if (PtInRect(&g.icon, p))
    flags = TVHT_ONITEMICON;
  else if (p.x < g.label.right)
    flags = TVHT_ONITEMLABEL;
  else
    flags = TVHT_ONITEMRIGHT;
  return item;
}

BOOL TreeView::itemRect(BOOL textOnly, RECT* rect) {
  if (!rect) return FALSE;
  // The item's handle arrives in the rectangle itself.
  HTREEITEM handle;
  std::memcpy(&handle, rect, sizeof handle);
  TreeItem* item = model_.find(handle);
  if (!item || !model_.isVisible(item)) return FALSE;
  std::u16string text = textOf(item);
  if (!(item = model_.find(handle)) || !model_.isVisible(item)) return FALSE;
  ensureLayout();
  int index = model_.visibleIndex(item);
  MeasureDC dc(hwnd_, font_);
  RowGeometry g = geometry(dc.get(), item, index, text);
  *rect = textOnly ? g.label : g.row;
  return TRUE;
}

void TreeView::invalidateItem(TreeItem* item) {
  // Rows are cheap to draw and a tree is small on this screen: the whole
  // client area is repainted rather than the row found.
  if (item) invalidateAll();
}

void TreeView::invalidateAll() {
  if (redraw_) InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace commctrl
