#include "user/MenuTemplate.h"

#include <cstdint>

#include "user/Menu.h"
#include "user/TemplateReader.h"

namespace user {

namespace {

// The option bits an item keeps; MF_END only ends a level.
constexpr WORD kItemOptions = MF_POPUP | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR;

// Reads one level up to and including the item marked MF_END.
bool readLevel(TemplateReader& reader, std::vector<MenuTemplateItem>& items, int depth) {
  if (depth > kMaxMenuDepth) return false;
  for (;;) {
    MenuTemplateItem item;
    WORD options = reader.word();
    item.options = options & kItemOptions;
    if (!(options & MF_POPUP)) item.id = reader.word();
    item.text = reader.text();
    if (!reader.ok()) return false;
    if ((options & MF_POPUP) && !readLevel(reader, item.children, depth + 1)) return false;
    items.push_back(std::move(item));
    if (options & MF_END) return true;
  }
}

HMENU buildLevel(const std::vector<MenuTemplateItem>& items, bool popup) {
  HMENU menu = createMenu(popup);
  if (!menu) return nullptr;
  for (const MenuTemplateItem& t : items) {
    MenuItem item;
    item.state = t.options & kMenuStateMask;
    item.text = t.text;
    if (t.popup()) {
      item.submenu = buildLevel(t.children, true);
      if (!item.submenu) {
        destroyMenu(menu);
        return nullptr;
      }
    } else if (t.separator()) {
      item.separator = true;
      item.text.clear();
    } else {
      item.id = t.id;
    }
    insertMenuItem(menu, SIZE_MAX, std::move(item));
  }
  return menu;
}

}  // namespace

std::optional<std::vector<MenuTemplateItem>> parseMenuTemplate(const void* bytes, size_t size) {
  if (!bytes) return std::nullopt;
  TemplateReader reader(static_cast<const uint8_t*>(bytes), size);
  WORD version = reader.word();
  WORD offset = reader.word();
  reader.skip(offset);
  if (!reader.ok() || version != 0) return std::nullopt;
  std::vector<MenuTemplateItem> items;
  // A menu without items is only its header.
  if (!reader.atEnd() && !readLevel(reader, items, 1)) return std::nullopt;
  return items;
}

HMENU buildMenu(const std::vector<MenuTemplateItem>& items) { return buildLevel(items, false); }

}  // namespace user
