#include "user/MenuLayout.h"

#include <algorithm>

#include "user/TextMeasure.h"

namespace user {

namespace {

std::u16string_view labelOf(std::u16string_view text) { return text.substr(0, std::min(text.find(u'\t'), text.size())); }

std::u16string_view shortcutOf(std::u16string_view text) {
  size_t tab = text.find(u'\t');
  return tab == std::u16string_view::npos ? std::u16string_view{} : text.substr(tab + 1);
}

bool overlaps(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

HFONT menuFont() { return static_cast<HFONT>(GetStockObject(SYSTEM_FONT)); }

int menuItemHeight() { return textLineHeight(menuFont()) + 6; }

PopupLayout layoutPopup(const Menu& menu) {
  HFONT font = menuFont();
  int labelWidth = 0;
  int shortcutWidth = 0;
  bool anyPopup = false;
  for (const MenuItem& item : menu.items) {
    if (item.separator) continue;
    labelWidth = std::max(labelWidth, textWidth(menuTextAsRead(labelOf(item.text)), font));
    shortcutWidth = std::max(shortcutWidth, textWidth(shortcutOf(item.text), font));
    anyPopup = anyPopup || item.popup();
  }
  PopupLayout layout;
  int left = kMenuBorder + kMenuCheckColumn;
  if (shortcutWidth > 0) layout.shortcutLeft = left + labelWidth + kMenuShortcutGap;
  int width = left + labelWidth + (shortcutWidth > 0 ? kMenuShortcutGap + shortcutWidth : 0) + kMenuTextRight +
              (anyPopup ? kMenuArrowColumn : 0) + kMenuBorder;
  width = std::max(width, kMenuMinWidth);

  int y = kMenuBorder;
  int itemHeight = menuItemHeight();
  for (const MenuItem& item : menu.items) {
    int height = item.separator ? kMenuSeparatorHeight : itemHeight;
    layout.items.push_back({kMenuBorder, y, width - kMenuBorder, y + height});
    y += height;
  }
  layout.size = {width, y + kMenuBorder};
  return layout;
}

int popupItemAt(const PopupLayout& layout, POINT point) {
  for (size_t i = 0; i < layout.items.size(); ++i) {
    const RECT& r = layout.items[i];
    if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return static_cast<int>(i);
  }
  return -1;
}

RECT placePopup(SIZE size, POINT at, UINT flags, const RECT* exclude, const RECT& screen) {
  int x = at.x;
  if (flags & TPM_RIGHTALIGN)
    x -= size.cx;
  else if (flags & TPM_CENTERALIGN)
    x -= size.cx / 2;
  int y = at.y;
  if (flags & TPM_BOTTOMALIGN)
    y -= size.cy;
  else if (flags & TPM_VCENTERALIGN)
    y -= size.cy / 2;

  // Off the bottom: above the point if it fits there; off the top: below it.
  if (y + size.cy > screen.bottom && at.y - size.cy >= screen.top) y = at.y - size.cy;
  if (y < screen.top && at.y + size.cy <= screen.bottom) y = at.y;
  if (x + size.cx > screen.right && at.x - size.cx >= screen.left) x = at.x - size.cx;
  if (x < screen.left && at.x + size.cx <= screen.right) x = at.x;
  x = std::max(std::min(x, static_cast<int>(screen.right - size.cx)), static_cast<int>(screen.left));
  y = std::max(std::min(y, static_cast<int>(screen.bottom - size.cy)), static_cast<int>(screen.top));

  RECT placed{x, y, x + size.cx, y + size.cy};
  if (exclude && overlaps(placed, *exclude)) {
    if (exclude->top - size.cy >= screen.top)
      y = exclude->top - size.cy;
    else if (exclude->bottom + size.cy <= screen.bottom)
      y = exclude->bottom;
    placed = {x, y, x + size.cx, y + size.cy};
  }
  return placed;
}

RECT placeSubmenu(SIZE size, const RECT& itemOnScreen, const RECT& parentOnScreen, const RECT& screen) {
  int x = parentOnScreen.right - kMenuBorder;
  if (x + size.cx > screen.right) x = std::max(parentOnScreen.left + kMenuBorder - static_cast<int>(size.cx), static_cast<int>(screen.left));
  int y = itemOnScreen.top - kMenuBorder;
  y = std::max(std::min(y, static_cast<int>(screen.bottom - size.cy)), static_cast<int>(screen.top));
  return {x, y, x + size.cx, y + size.cy};
}

}  // namespace user
