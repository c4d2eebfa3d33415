// Menus: a list of items (commands, separators and popups that lead to
// another menu), named by HMENU handles from one handle table. A popup item
// holds the handle of its menu; destroying a menu destroys the menus below it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "kernel/HandleTable.h"

namespace user {

struct MenuItem {
  UINT state = 0;  // MF_GRAYED, MF_DISABLED, MF_CHECKED
  UINT id = 0;     // the command; 0 for separators and popups
  bool separator = false;
  HMENU submenu = nullptr;  // a popup item's menu
  std::u16string text;

  bool popup() const { return submenu != nullptr; }
  // Grayed and disabled items cannot be chosen.
  bool selectable() const { return !separator && !(state & (MF_GRAYED | MF_DISABLED)); }
};

struct Menu {
  bool popup = false;  // made by CreatePopupMenu (or a popup of a resource)
  std::vector<MenuItem> items;
};

// The item state bits a menu keeps.
constexpr UINT kMenuStateMask = MF_GRAYED | MF_DISABLED | MF_CHECKED;
// Deeper menus than this are refused: a resource or a program cannot build
// a chain that recursion over it could not follow.
constexpr int kMaxMenuDepth = 16;

kernel::HandleTable<Menu>& menuTable();

// A live menu; null (with ERROR_INVALID_MENU_HANDLE) for anything else.
Menu* menuFromHandle(HMENU handle);
HMENU createMenu(bool popup);
// Destroys the menu and every menu its popup items lead to.
bool destroyMenu(HMENU handle);

// An item named as the menu calls name them: by position in the menu, or
// by command anywhere below it (a popup item also answers to its menu's
// handle), depth first.
struct MenuItemRef {
  HMENU menu;
  size_t index;
};
std::optional<MenuItemRef> findMenuItem(HMENU menu, UINT item, UINT flags);
MenuItem* itemAt(const MenuItemRef& ref);

// The item AppendMenuW and InsertMenuW describe; false (with the error set)
// for kinds the platform does not draw (bitmaps, owner-drawn items) and for
// a popup that would make the menu its own descendant.
bool makeMenuItem(HMENU into, UINT flags, UINT_PTR idNewItem, LPCWSTR text, MenuItem& item);
// Inserts before position (past the end appends).
bool insertMenuItem(HMENU menu, size_t position, MenuItem item);


// The item's text as a person reads it: without the '&' marks ("&&" is a
// literal '&') and without the shortcut after a tab.
std::u16string menuTextAsRead(std::u16string_view text);
// The character after a single '&' (the item's mnemonic), lower case; 0
// when there is none.
char16_t menuMnemonic(std::u16string_view text);

}  // namespace user
