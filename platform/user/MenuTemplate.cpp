#include "user/MenuTemplate.h"

#include <cstdint>
#include <cstring>

#include "user/Menu.h"

namespace user {

namespace {

// The option bits an item keeps; MF_END only ends a level.
constexpr WORD kItemOptions = MF_POPUP | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR;

class Reader {
 public:
  Reader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

  bool word(WORD& out) {
    if (size_ - pos_ < 2) return false;
    std::memcpy(&out, bytes_ + pos_, 2);
    pos_ += 2;
    return true;
  }
  bool text(std::u16string& out) {
    out.clear();
    for (;;) {
      WORD unit;
      if (!word(unit)) return false;
      if (unit == 0) return true;
      out.push_back(static_cast<char16_t>(unit));
    }
  }
  bool atEnd() const { return pos_ == size_; }
  bool skip(size_t n) {
    if (size_ - pos_ < n) return false;
    pos_ += n;
    return true;
  }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t pos_ = 0;
};

// Reads one level up to and including the item marked MF_END.
bool readLevel(Reader& reader, std::vector<MenuTemplateItem>& items, int depth) {
  if (depth > kMaxMenuDepth) return false;
  for (;;) {
    MenuTemplateItem item;
    WORD options;
    if (!reader.word(options)) return false;
    item.options = options & kItemOptions;
    if (!(options & MF_POPUP) && !reader.word(item.id)) return false;
    if (!reader.text(item.text)) return false;
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
  Reader reader(static_cast<const uint8_t*>(bytes), size);
  WORD version, offset;
  if (!reader.word(version) || !reader.word(offset) || version != 0) return std::nullopt;
  if (!reader.skip(offset)) return std::nullopt;
  std::vector<MenuTemplateItem> items;
  // A menu without items is only its header.
  if (!reader.atEnd() && !readLevel(reader, items, 1)) return std::nullopt;
  return items;
}

HMENU buildMenu(const std::vector<MenuTemplateItem>& items) { return buildLevel(items, false); }

}  // namespace user
