// The menu calls: thin entry points over user/Menu, the resource reader and
// the popup menu tracker.
#include <windows.h>

#include "user/Menu.h"
#include "user/MenuTemplate.h"
#include "user/MenuTracker.h"

using user::MenuItem;
using user::MenuItemRef;

namespace {

constexpr DWORD kNoSuchItem = 0xFFFFFFFF;

std::optional<MenuItemRef> lookUp(HMENU menu, UINT item, UINT flags) {
  auto ref = user::findMenuItem(menu, item, flags);
  if (!ref && user::menuTable().get(menu)) SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
  return ref;
}

BOOL removeItem(HMENU menu, UINT position, UINT flags, bool destroySubmenu) {
  auto ref = lookUp(menu, position, flags);
  if (!ref) return FALSE;
  user::Menu* owner = user::menuTable().get(ref->menu);
  HMENU submenu = owner->items[ref->index].submenu;
  owner->items.erase(owner->items.begin() + static_cast<std::ptrdiff_t>(ref->index));
  if (destroySubmenu && submenu) user::destroyMenu(submenu);
  return TRUE;
}

}  // namespace

HMENU WINAPI LoadMenuW(HINSTANCE instance, LPCWSTR name) {
  HRSRC found = FindResourceW(instance, name, RT_MENU);
  if (!found) return nullptr;
  DWORD size = SizeofResource(instance, found);
  const void* bytes = LockResource(LoadResource(instance, found));
  auto items = user::parseMenuTemplate(bytes, bytes ? size : 0);
  if (!items) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  HMENU menu = user::buildMenu(*items);
  if (!menu) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return menu;
}

HMENU WINAPI CreateMenu() { return user::createMenu(false); }

HMENU WINAPI CreatePopupMenu() { return user::createMenu(true); }

BOOL WINAPI DestroyMenu(HMENU menu) { return user::destroyMenu(menu) ? TRUE : FALSE; }

HMENU WINAPI GetSubMenu(HMENU menu, int pos) {
  user::Menu* m = user::menuFromHandle(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return nullptr;
  return m->items[static_cast<size_t>(pos)].submenu;
}

int WINAPI GetMenuItemCount(HMENU menu) {
  user::Menu* m = user::menuFromHandle(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU menu, int pos) {
  user::Menu* m = user::menuFromHandle(menu);
  if (!m || pos < 0 || static_cast<size_t>(pos) >= m->items.size()) return kNoSuchItem;
  const MenuItem& item = m->items[static_cast<size_t>(pos)];
  return item.popup() ? kNoSuchItem : item.id;
}

BOOL WINAPI AppendMenuW(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCWSTR newItem) {
  if (!user::menuFromHandle(menu)) return FALSE;
  MenuItem item;
  if (!user::makeMenuItem(menu, flags, idNewItem, newItem, item)) return FALSE;
  return user::insertMenuItem(menu, SIZE_MAX, std::move(item)) ? TRUE : FALSE;
}

BOOL WINAPI InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCWSTR newItem) {
  user::Menu* m = user::menuFromHandle(menu);
  if (!m) return FALSE;
  // By position, -1 or a place past the end appends; by command the item
  // goes before that command in whichever menu holds it.
  MenuItemRef where{menu, SIZE_MAX};
  if (flags & MF_BYPOSITION) {
    if (position < m->items.size()) where.index = position;
  } else {
    auto ref = lookUp(menu, position, flags);
    if (!ref) return FALSE;
    where = *ref;
  }
  MenuItem item;
  if (!user::makeMenuItem(where.menu, flags, idNewItem, newItem, item)) return FALSE;
  return user::insertMenuItem(where.menu, where.index, std::move(item)) ? TRUE : FALSE;
}

BOOL WINAPI RemoveMenu(HMENU menu, UINT position, UINT flags) { return removeItem(menu, position, flags, false); }

BOOL WINAPI DeleteMenu(HMENU menu, UINT position, UINT flags) { return removeItem(menu, position, flags, true); }

BOOL WINAPI EnableMenuItem(HMENU menu, UINT idEnableItem, UINT enable) {
  auto ref = lookUp(menu, idEnableItem, enable);
  if (!ref) return static_cast<BOOL>(kNoSuchItem);
  MenuItem* item = user::itemAt(*ref);
  UINT previous = item->state & (MF_GRAYED | MF_DISABLED);
  item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return static_cast<BOOL>(previous);
}

DWORD WINAPI CheckMenuItem(HMENU menu, UINT idCheckItem, UINT check) {
  auto ref = lookUp(menu, idCheckItem, check);
  if (!ref) return kNoSuchItem;
  MenuItem* item = user::itemAt(*ref);
  DWORD previous = item->state & MF_CHECKED;
  item->state = (item->state & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

int WINAPI GetMenuStringW(HMENU menu, UINT idItem, LPWSTR text, int maxCount, UINT flags) {
  auto ref = lookUp(menu, idItem, flags);
  if (!ref) return 0;
  const std::u16string& itemText = user::itemAt(*ref)->text;
  // Without a buffer the answer is the length the text needs.
  if (!text || maxCount <= 0) return static_cast<int>(itemText.size());
  size_t n = std::min(itemText.size(), static_cast<size_t>(maxCount) - 1);
  itemText.copy(text, n);
  text[n] = 0;
  return static_cast<int>(n);
}

BOOL WINAPI TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND hwnd, LPTPMPARAMS params) {
  const RECT* exclude = params && params->cbSize == sizeof(TPMPARAMS) ? &params->rcExclude : nullptr;
  return user::trackPopupMenu(menu, flags, POINT{x, y}, hwnd, exclude);
}

BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT*) {
  return user::trackPopupMenu(menu, flags, POINT{x, y}, hwnd, nullptr);
}
