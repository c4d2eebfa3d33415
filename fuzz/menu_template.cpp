// Arbitrary bytes as a menu template: the reader must refuse what it cannot
// read, whole, without a fault; what it accepts builds menus that can be
// walked and destroyed.
#include <cstddef>
#include <cstdint>
#include <vector>

#include <windows.h>

#include "user/MenuTemplate.h"

namespace {

size_t countItems(const std::vector<user::MenuTemplateItem>& items) {
  size_t n = items.size();
  for (const user::MenuTemplateItem& item : items) n += countItems(item.children);
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the given size, so that reading one byte too far is
  // caught by the address sanitizer.
  std::vector<uint8_t> bytes(data, data + size);
  auto parsed = user::parseMenuTemplate(bytes.data(), bytes.size());
  if (!parsed) return 0;
  // Every item takes at least an option word and a terminator.
  if (countItems(*parsed) * 4 > size) __builtin_trap();
  HMENU menu = user::buildMenu(*parsed);
  if (!menu) return 0;
  if (GetMenuItemCount(menu) != static_cast<int>(parsed->size())) __builtin_trap();
  DestroyMenu(menu);
  return 0;
}
