// TrackPopupMenuEx: a popup menu shown on the device and run in a nested
// loop until a command is chosen or the menu is dismissed. The owner hears
// WM_INITMENUPOPUP before each popup shows. The stylus picks an item by
// lifting over it (a tap, or a press dragged onto it); a tap outside the
// popups dismisses the menu. The keys move the highlight (Up, Down, Home,
// End, past separators and grayed items), open and close submenus (Right,
// Left), choose (Enter, or an item's mnemonic letter) and step back
// (Escape). The chosen command is returned with TPM_RETURNCMD, otherwise
// posted to the owner as WM_COMMAND.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

namespace user {

inline constexpr const char16_t* kPopupMenuClassName = u"#32768";
LRESULT CALLBACK popupMenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

BOOL trackPopupMenu(HMENU menu, UINT flags, POINT at, HWND owner, const RECT* exclude);

bool menuIsOpen();
// An item of the open menu found by its text as a person reads it (without
// '&' marks and shortcut), the innermost popup first: its place on the
// screen. False with the reason when no menu is open or none has the item.
bool findOpenMenuItem(std::u16string_view text, RECT& onScreen, std::string& reason);
// The point of the tap outside its popups that dismissed the last menu, if
// that is how it ended; the menu bar opens another of its menus there.
std::optional<POINT> lastDismissingTap();

}  // namespace user
