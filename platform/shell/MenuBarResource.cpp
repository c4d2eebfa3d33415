#include "shell/MenuBarResource.h"

#include <cstdint>
#include <cstring>

#include <aygshell.h>
#include <commctrl.h>

namespace shell {

namespace {

constexpr size_t kWordsPerButton = 7;

WORD wordAt(const uint8_t* bytes, size_t index) {
  WORD w;
  std::memcpy(&w, bytes + 2 * index, 2);
  return w;
}

}  // namespace

std::optional<MenuBarResource> parseMenuBarResource(const void* data, size_t size) {
  auto* bytes = static_cast<const uint8_t*>(data);
  if (!bytes || size < 4) return std::nullopt;
  MenuBarResource bar;
  bar.menuId = wordAt(bytes, 0);
  size_t count = wordAt(bytes, 1);
  // Bytes after the counted buttons (the resource's padding) are left alone.
  if ((size - 4) / (2 * kWordsPerButton) < count) return std::nullopt;
  for (size_t i = 0; i < count; ++i) {
    size_t at = 2 + i * kWordsPerButton;
    MenuBarResourceButton button;
    WORD image = wordAt(bytes, at);
    button.image = image == static_cast<WORD>(I_IMAGENONE) ? I_IMAGENONE : image;
    button.command = wordAt(bytes, at + 1);
    button.state = static_cast<BYTE>(wordAt(bytes, at + 2));
    button.style = static_cast<BYTE>(wordAt(bytes, at + 3));
    button.stringId = wordAt(bytes, at + 4);
    WORD popup = wordAt(bytes, at + 6);
    button.popup = popup == NOMENU ? -1 : popup;
    bar.buttons.push_back(button);
  }
  return bar;
}

}  // namespace shell
