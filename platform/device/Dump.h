// The window tree as text, like a spy tool: what a person would see on the
// screen, one window a line. Device tests compare it; bug reports carry it.
//
//   screen=240x320 sip=off cursor=arrow
//   hwnd=0x10001 class="CeWnd:GENERIC" id=0 text="Vantor" rect=(0,26,240,294) style=0x10000000 exstyle=0x80000000 visible foreground
//     hwnd=0x10101 class="SysTreeView32" id=1 text="" rect=(...) style=0x... exstyle=0x... visible focus
//       item ...
//
// Windows come in z-order (topmost first), children indented two spaces a
// level below their parent. Texts are in double quotes with C escapes
// (\" \\ \n \r \t, \xNN or \uNNNN for other control characters), UTF-8 for the rest.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <windef.h>

namespace device {

// Adds a window's items below its line (rows of a list, nodes of a tree).
// Each line written starts with indent.
using DumpItems = std::function<void(HWND hwnd, const std::string& indent, std::string& out)>;
// Class names compare as the window manager does: without regard to case.
void registerDumpItems(std::u16string_view className, DumpItems items);

std::string dumpWindows();

// The window's text, whole.
std::u16string windowText(HWND hwnd);

// Text in double quotes with the dump's escapes.
std::string quoteText(std::u16string_view text);

}  // namespace device
