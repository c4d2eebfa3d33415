// How a popup menu looks on the device: a bordered column of items, each a
// text with the check mark's column to its left, a shortcut (after a tab in
// the item's text) at its right and an arrow for an item that opens another
// menu; separators are thin lines. Where the popup goes: at the point and
// alignment asked for, kept on the screen and off an excluded rectangle.
#pragma once

#include <vector>

#include <windows.h>

#include "user/Menu.h"

namespace user {

struct PopupLayout {
  SIZE size{};              // the whole window, border included
  std::vector<RECT> items;  // each item's band, in window coordinates
  int shortcutLeft = 0;     // where shortcuts start; 0 when no item has one
};

constexpr int kMenuBorder = 1;
constexpr int kMenuCheckColumn = 14;  // left of the text: the check mark
constexpr int kMenuTextRight = 8;     // after the text (or the shortcut)
constexpr int kMenuShortcutGap = 14;
constexpr int kMenuArrowColumn = 10;  // right of an item that opens a menu
constexpr int kMenuSeparatorHeight = 7;
constexpr int kMenuMinWidth = 48;

HFONT menuFont();
int menuItemHeight();
PopupLayout layoutPopup(const Menu& menu);
// The item under a point in window coordinates; -1 for none.
int popupItemAt(const PopupLayout& layout, POINT point);

// The popup's window rectangle (screen coordinates): TPM_LEFTALIGN,
// TPM_CENTERALIGN or TPM_RIGHTALIGN place x, TPM_TOPALIGN, TPM_VCENTERALIGN
// or TPM_BOTTOMALIGN place y. A popup that would leave the screen flips to
// the other side of the point, or is pushed back inside; one that would
// cover exclude goes above it, or below it when there is no room above.
RECT placePopup(SIZE size, POINT at, UINT flags, const RECT* exclude, const RECT& screen);
// A menu opened from an item: to the right of the item's popup, its first
// item level with that item, or to the left when the right has no room.
RECT placeSubmenu(SIZE size, const RECT& itemOnScreen, const RECT& parentOnScreen, const RECT& screen);

// Draws the whole popup; selected is the highlighted item (-1: none).
void paintPopup(HDC hdc, const Menu& menu, const PopupLayout& layout, int selected);

}  // namespace user
