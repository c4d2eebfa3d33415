// Drawing a popup menu: border, items, separators, check marks, arrows and
// the highlighted item.
#include <algorithm>

#include "user/MenuLayout.h"

namespace user {

namespace {

// The check mark, seven pixels square: each row's filled runs as
// [from, to) pairs from the mark's left edge.
struct Run {
  int row, from, to;
};
constexpr Run kCheckMark[] = {
    {0, 6, 7}, {1, 5, 7}, {2, 0, 1}, {2, 4, 7}, {3, 0, 2}, {3, 3, 6}, {4, 0, 5}, {5, 1, 4}, {6, 2, 3},
};
constexpr int kCheckMarkSize = 7;

void fill(HDC hdc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(hdc, &r, brush);
  DeleteObject(brush);
}

void drawCheckMark(HDC hdc, const RECT& item, COLORREF color) {
  int left = item.left + (kMenuCheckColumn - kCheckMarkSize) / 2 + 1;
  int top = item.top + (item.bottom - item.top - kCheckMarkSize) / 2;
  for (const Run& run : kCheckMark) fill(hdc, {left + run.from, top + run.row, left + run.to, top + run.row + 1}, color);
}

// A small triangle pointing right, at the item's right edge.
void drawArrow(HDC hdc, const RECT& item, COLORREF color) {
  constexpr int kHalf = 3;
  int tipX = item.right - kMenuTextRight / 2 - 1;
  int midY = item.top + (item.bottom - item.top) / 2;
  for (int i = 0; i <= kHalf; ++i) {
    int x = tipX - kHalf + i;
    fill(hdc, {x, midY - (kHalf - i), x + 1, midY + (kHalf - i) + 1}, color);
  }
}

void drawItem(HDC hdc, const MenuItem& item, const RECT& band, const PopupLayout& layout, bool selected) {
  if (item.separator) {
    int y = band.top + (band.bottom - band.top) / 2;
    fill(hdc, {band.left + 1, y, band.right - 1, y + 1}, GetSysColor(COLOR_BTNSHADOW));
    return;
  }
  COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
  COLORREF text = GetSysColor(!item.selectable() ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  if (selected) fill(hdc, band, back);
  SetTextColor(hdc, text);
  SetBkMode(hdc, TRANSPARENT);

  std::u16string_view all = item.text;
  size_t tab = all.find(u'\t');
  std::u16string label(all.substr(0, std::min(tab, all.size())));
  RECT labelRect{band.left + kMenuCheckColumn, band.top, band.right - kMenuTextRight, band.bottom};
  DrawTextW(hdc, label.c_str(), static_cast<int>(label.size()), &labelRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (tab != std::u16string_view::npos && layout.shortcutLeft > 0) {
    std::u16string shortcut(all.substr(tab + 1));
    RECT shortcutRect{layout.shortcutLeft, band.top, band.right - kMenuTextRight, band.bottom};
    DrawTextW(hdc, shortcut.c_str(), static_cast<int>(shortcut.size()), &shortcutRect,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  }
  if (item.state & MF_CHECKED) drawCheckMark(hdc, band, text);
  if (item.popup()) drawArrow(hdc, band, text);
}

}  // namespace

void paintPopup(HDC hdc, const Menu& menu, const PopupLayout& layout, int selected) {
  RECT whole{0, 0, layout.size.cx, layout.size.cy};
  fill(hdc, whole, GetSysColor(COLOR_MENU));
  FrameRect(hdc, &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  HGDIOBJ previousFont = SelectObject(hdc, menuFont());
  for (size_t i = 0; i < menu.items.size() && i < layout.items.size(); ++i)
    drawItem(hdc, menu.items[i], layout.items[i], layout, static_cast<int>(i) == selected);
  SelectObject(hdc, previousFont);
}

}  // namespace user
