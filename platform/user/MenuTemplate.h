// A menu template as the resource compiler writes a MENU resource: a header
// (version 0 and the offset of the items), then each item's option word,
// command (not for popups) and text; a popup's items follow it, and MF_END
// marks the last item of each level. The bytes come from a resource file:
// every read is bounded, and a template that runs past its end, holds an
// unterminated text or nests too deep is refused whole.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace user {

struct MenuTemplateItem {
  WORD options = 0;  // MF_POPUP, MF_GRAYED, MF_DISABLED, MF_CHECKED, ...; MF_END removed
  WORD id = 0;
  std::u16string text;
  std::vector<MenuTemplateItem> children;  // a popup's items

  bool popup() const { return (options & MF_POPUP) != 0; }
  // The resource compiler writes MENUITEM SEPARATOR as an item without
  // options, command or text.
  bool separator() const { return !popup() && ((options & MF_SEPARATOR) || (id == 0 && text.empty())); }
};

// The top level of the menu; nothing when the bytes are malformed.
std::optional<std::vector<MenuTemplateItem>> parseMenuTemplate(const void* bytes, size_t size);

// Builds the menus: a menu bar (CreateMenu) holding the top level, popups
// below it. Null when the handles run out.
HMENU buildMenu(const std::vector<MenuTemplateItem>& items);

}  // namespace user
