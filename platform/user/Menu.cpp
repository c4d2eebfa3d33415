#include "user/Menu.h"

#include <algorithm>
#include <memory>

namespace user {

namespace {

constexpr uint32_t kMenuTag = 5;

// Whether target is menu itself or lies somewhere below it.
bool reaches(HMENU menu, HMENU target, int depth) {
  if (menu == target) return true;
  if (depth > kMaxMenuDepth) return true;  // too deep to tell: treat as a cycle
  Menu* m = menuTable().get(menu);
  if (!m) return false;
  for (const MenuItem& item : m->items)
    if (item.submenu && reaches(item.submenu, target, depth + 1)) return true;
  return false;
}

std::optional<MenuItemRef> findByCommand(HMENU handle, UINT command, int depth) {
  Menu* menu = menuTable().get(handle);
  if (!menu || depth > kMaxMenuDepth) return std::nullopt;
  for (size_t i = 0; i < menu->items.size(); ++i) {
    const MenuItem& item = menu->items[i];
    if (item.popup()) {
      if (static_cast<UINT>(reinterpret_cast<uintptr_t>(item.submenu)) == command) return MenuItemRef{handle, i};
      if (auto inner = findByCommand(item.submenu, command, depth + 1)) return inner;
    } else if (!item.separator && item.id == command) {
      return MenuItemRef{handle, i};
    }
  }
  return std::nullopt;
}

int depthOf(HMENU handle, int depth) {
  Menu* menu = menuTable().get(handle);
  if (!menu) return 0;
  if (depth > kMaxMenuDepth) return depth;
  int deepest = 0;
  for (const MenuItem& item : menu->items)
    if (item.submenu) deepest = std::max(deepest, depthOf(item.submenu, depth + 1));
  return deepest + 1;
}

}  // namespace

kernel::HandleTable<Menu>& menuTable() {
  static auto* table = new kernel::HandleTable<Menu>(kMenuTag);
  return *table;
}

Menu* menuFromHandle(HMENU handle) {
  Menu* menu = menuTable().get(handle);
  if (!menu) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return menu;
}

HMENU createMenu(bool popup) {
  auto menu = std::make_unique<Menu>();
  menu->popup = popup;
  HMENU handle = menuTable().add<HMENU>(std::move(menu));
  if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return handle;
}

bool destroyMenu(HMENU handle) {
  std::unique_ptr<Menu> menu = menuTable().remove(handle);
  if (!menu) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return false;
  }
  // A menu cannot reach itself (insertion refuses that), so this ends.
  for (const MenuItem& item : menu->items)
    if (item.submenu) destroyMenu(item.submenu);
  return true;
}

std::optional<MenuItemRef> findMenuItem(HMENU handle, UINT item, UINT flags) {
  Menu* menu = menuFromHandle(handle);
  if (!menu) return std::nullopt;
  if (flags & MF_BYPOSITION) {
    if (item >= menu->items.size()) return std::nullopt;
    return MenuItemRef{handle, item};
  }
  return findByCommand(handle, item, 0);
}

MenuItem* itemAt(const MenuItemRef& ref) {
  Menu* menu = menuTable().get(ref.menu);
  if (!menu || ref.index >= menu->items.size()) return nullptr;
  return &menu->items[ref.index];
}

bool makeMenuItem(HMENU into, UINT flags, UINT_PTR idNewItem, LPCWSTR text, MenuItem& item) {
  if (flags & (MF_BITMAP | MF_OWNERDRAW)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  item = MenuItem{};
  item.state = flags & kMenuStateMask;
  if (flags & MF_SEPARATOR) {
    item.separator = true;
    return true;
  }
  if (flags & MF_POPUP) {
    auto submenu = reinterpret_cast<HMENU>(idNewItem);
    if (!menuFromHandle(submenu)) return false;
    // A menu that would lead back to itself could never be drawn or freed.
    if (reaches(submenu, into, 0) || depthOf(submenu, 0) + 1 > kMaxMenuDepth) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    item.submenu = submenu;
  } else {
    item.id = static_cast<UINT>(idNewItem);
  }
  if (text) item.text = text;
  return true;
}

bool insertMenuItem(HMENU handle, size_t position, MenuItem item) {
  Menu* menu = menuFromHandle(handle);
  if (!menu) return false;
  if (position > menu->items.size()) position = menu->items.size();
  menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(position), std::move(item));
  return true;
}

std::u16string menuTextAsRead(std::u16string_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\t') break;
    if (c == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') out.push_back(u'&'), ++i;
      continue;
    }
    out.push_back(c);
  }
  return out;
}

char16_t menuMnemonic(std::u16string_view text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == u'\t') break;
    if (text[i] != u'&') continue;
    if (text[i + 1] == u'&') {
      ++i;
      continue;
    }
    return towlower(text[i + 1]);
  }
  return 0;
}

}  // namespace user
