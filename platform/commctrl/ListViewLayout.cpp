// Geometry: rows under the header, columns scrolled by pixels, rows
// scrolled whole; the window's scroll bars; hit testing.
#include <algorithm>

#include "commctrl/HeaderText.h"
#include "commctrl/ListView.h"
#include "user/ControlState.h"
#include "user/ScrollRequest.h"

namespace commctrl {

namespace {

// Pixels the arrow of the horizontal bar scrolls by.
constexpr int kLinePixels = 8;

int clampToInt(long long value) {
  return static_cast<int>(std::clamp<long long>(value, -0x7FFFFFFF, 0x7FFFFFFF));
}

}  // namespace

void ListView::updateMetrics() {
  // A row holds a line of text with a pixel of air above and two below.
  rowHeight_ = std::max(1, TextMeasure(hwnd_, font_).height() + 3);
}

RECT ListView::clientRect() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r;
}

int ListView::headerBottom() const { return headerHeight_; }

int ListView::rowsAreaWidth() const { return clientRect().right; }

int ListView::countPerPage() const {
  int height = clientRect().bottom - headerBottom();
  return std::max(0, height / rowHeight_);
}

int ListView::visibleEnd() const {
  int height = clientRect().bottom - headerBottom();
  if (height <= 0) return top_;
  long long end = static_cast<long long>(top_) + (height + rowHeight_ - 1) / rowHeight_;
  return static_cast<int>(std::min<long long>(end, model_.rowCount()));
}

int ListView::maxTop() const { return std::max(0, model_.rowCount() - std::max(1, countPerPage())); }

void ListView::layout() {
  RECT client = clientRect();
  if (header_) {
    // The header is as wide as the columns scrolled into view, and moves with them.
    RECT area{-scrollX_, 0, client.right, client.bottom};
    WINDOWPOS pos{};
    HDLAYOUT request{&area, &pos};
    SendMessageW(header_, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&request));
    bool shown = !(user::controlStyle(hwnd_) & LVS_NOCOLUMNHEADER);
    headerHeight_ = shown ? pos.cy : 0;
    SetWindowPos(header_, nullptr, pos.x, pos.y, pos.cx, pos.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  int top = std::min(top_, maxTop());
  if (top != top_) {
    top_ = top;
    invalidateAll();
  }
  updateScrollBars();
}

void ListView::updateScrollBars() {
  if (!redraw_ || updatingScrollBars_ || (user::controlStyle(hwnd_) & LVS_NOSCROLL)) return;
  updatingScrollBars_ = true;
  // Showing a bar takes room from the rows, which may call for the other bar.
  for (int pass = 0; pass < 3; ++pass) {
    RECT before = clientRect();
    SCROLLINFO vertical{};
    vertical.cbSize = sizeof vertical;
    vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    vertical.nMin = 0;
    vertical.nMax = std::max(0, model_.rowCount() - 1);
    vertical.nPage = static_cast<UINT>(countPerPage());
    vertical.nPos = top_;
    SetScrollInfo(hwnd_, SB_VERT, &vertical, TRUE);
    SCROLLINFO horizontal{};
    horizontal.cbSize = sizeof horizontal;
    horizontal.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    horizontal.nMin = 0;
    horizontal.nMax = std::max(0, model_.totalWidth() - 1);
    horizontal.nPage = static_cast<UINT>(std::max(0, rowsAreaWidth()));
    horizontal.nPos = scrollX_;
    SetScrollInfo(hwnd_, SB_HORZ, &horizontal, TRUE);
    RECT after = clientRect();
    if (EqualRect(&before, &after)) break;
    top_ = std::min(top_, maxTop());
    scrollX_ = std::clamp(scrollX_, 0, std::max(0, model_.totalWidth() - rowsAreaWidth()));
  }
  updatingScrollBars_ = false;
}

RECT ListView::rowBounds(int row) const {
  int top = clampToInt(headerBottom() + static_cast<long long>(row - top_) * rowHeight_);
  return {-scrollX_, top, model_.totalWidth() - scrollX_, clampToInt(static_cast<long long>(top) + rowHeight_)};
}

RECT ListView::cellRect(int row, int column) const {
  RECT r = rowBounds(row);
  r.left = model_.columnLeft(column) - scrollX_;
  r.right = r.left + std::max(0, model_.column(column).width);
  return r;
}

bool ListView::itemRect(int row, RECT* rect) const {
  if (!rect || !model_.hasRow(row)) return false;
  RECT bounds = rowBounds(row);
  RECT first = model_.columnCount() > 0 ? cellRect(row, 0) : RECT{bounds.left, bounds.top, bounds.left, bounds.bottom};
  switch (rect->left) {
    case LVIR_BOUNDS:
      *rect = bounds;
      return true;
    case LVIR_ICON:
      // No images are shown: the icon has no width.
      *rect = first;
      rect->right = rect->left;
      return true;
    case LVIR_LABEL:
      *rect = first;
      return true;
    case LVIR_SELECTBOUNDS:
      *rect = (extended_ & LVS_EX_FULLROWSELECT) ? bounds : first;
      return true;
    default:
      return false;
  }
}

bool ListView::subItemRect(int row, RECT* rect) const {
  if (!rect || !model_.hasRow(row)) return false;
  int sub = rect->top;
  int code = rect->left;
  if (sub == 0) {
    RECT asked{code, 0, 0, 0};
    if (!itemRect(row, &asked)) return false;
    *rect = asked;
    return true;
  }
  for (int column = 0; column < model_.columnCount(); ++column) {
    if (model_.column(column).subItem != sub) continue;
    *rect = cellRect(row, column);
    if (code == LVIR_ICON) rect->right = rect->left;
    return code == LVIR_BOUNDS || code == LVIR_ICON || code == LVIR_LABEL || code == LVIR_SELECTBOUNDS;
  }
  return false;
}

int ListView::hitTest(LVHITTESTINFO* info, bool subItems) const {
  if (!info) return -1;
  RECT client = clientRect();
  POINT p = info->pt;
  info->flags = 0;
  info->iItem = -1;
  if (subItems) info->iSubItem = 0;
  if (p.x < 0) info->flags |= LVHT_TOLEFT;
  if (p.x >= client.right) info->flags |= LVHT_TORIGHT;
  if (p.y < headerBottom()) info->flags |= LVHT_ABOVE;
  if (p.y >= client.bottom) info->flags |= LVHT_BELOW;
  if (info->flags) return -1;
  long long row = top_ + static_cast<long long>(p.y - headerBottom()) / rowHeight_;
  int x = p.x + scrollX_;
  int column = -1;
  for (int c = 0, left = 0; c < model_.columnCount(); ++c) {
    int width = std::max(0, model_.column(c).width);
    if (x >= left && x < left + width) {
      column = c;
      break;
    }
    left += width;
  }
  // Without full-row select only the first column's cell is the item.
  bool onItem = column == 0 || (column > 0 && (subItems || (extended_ & LVS_EX_FULLROWSELECT)));
  if (row >= model_.rowCount() || !onItem) {
    info->flags = LVHT_NOWHERE;
    return -1;
  }
  info->flags = LVHT_ONITEMLABEL;
  info->iItem = static_cast<int>(row);
  if (subItems) info->iSubItem = model_.column(column).subItem;
  return info->iItem;
}

void ListView::scrollTo(int top) {
  top = std::clamp(top, 0, maxTop());
  if (top == top_) return;
  top_ = top;
  if (redraw_ && !(user::controlStyle(hwnd_) & LVS_NOSCROLL)) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = top_;
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
  }
  if (!redraw_) return;
  RECT rows = clientRect();
  rows.top = headerBottom();
  InvalidateRect(hwnd_, &rows, FALSE);
}

void ListView::scrollToX(int x) {
  x = std::clamp(x, 0, std::max(0, model_.totalWidth() - rowsAreaWidth()));
  if (x == scrollX_) return;
  scrollX_ = x;
  layout();
  invalidateAll();
}

void ListView::ensureVisible(int row, bool partialOk) {
  int page = std::max(1, countPerPage());
  if (row < top_) {
    scrollTo(row);
  } else if (row >= top_ + page) {
    if (partialOk && row < visibleEnd()) return;
    scrollTo(row - page + 1);
  }
}

void ListView::verticalScroll(WORD code) {
  const user::ScrollSteps steps{1, std::max(1, countPerPage()), maxTop()};
  if (auto to = user::scrollRequestTarget(hwnd_, SB_VERT, code, top_, steps)) scrollTo(*to);
}

void ListView::horizontalScroll(WORD code) {
  const user::ScrollSteps steps{kLinePixels, std::max(1, rowsAreaWidth()), model_.totalWidth()};
  if (auto to = user::scrollRequestTarget(hwnd_, SB_HORZ, code, scrollX_, steps)) scrollToX(*to);
}

void ListView::invalidateRows(int first, int last) {
  if (!redraw_) return;
  first = std::max(first, top_);
  RECT r = clientRect();
  r.top = std::max(rowBounds(first).top, static_cast<LONG>(headerBottom()));
  // Up to the end: rows that went away leave their place to repaint too.
  if (last != 0x7FFFFFFF) {
    last = std::min(last, visibleEnd() - 1);
    if (first > last) return;
    r.bottom = rowBounds(last).bottom;
  }
  if (r.top >= r.bottom) return;
  InvalidateRect(hwnd_, &r, FALSE);
}

void ListView::invalidateAll() {
  if (redraw_) InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace commctrl
