// A menu-bar resource (RCDATA) as the resource compiler writes it: the menu
// the bar takes its popups from, the button count, then seven 16-bit words
// per button: image (or I_IMAGENONE), command, state, style, string id, a
// reserved word, and the index of the popup it opens (or NOMENU). The bytes
// come from a resource file: a resource shorter than the buttons it counts
// is refused.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include <windows.h>

namespace shell {

struct MenuBarResourceButton {
  int image = -2;  // I_IMAGENONE
  WORD command = 0;
  BYTE state = 0;  // TBSTATE_*
  BYTE style = 0;  // TBSTYLE_*
  WORD stringId = 0;
  int popup = -1;  // NOMENU
};

struct MenuBarResource {
  WORD menuId = 0;
  std::vector<MenuBarResourceButton> buttons;
};

std::optional<MenuBarResource> parseMenuBarResource(const void* bytes, size_t size);

}  // namespace shell
