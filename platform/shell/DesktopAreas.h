// The parts of the screen the shell gives full-screen windows: below the
// navigation bar, down to the top of the input panel while it shows, else
// down to the menu bar, or to the screen's bottom for a window that wants
// no menu bar.
#pragma once

#include <windows.h>

namespace shell {

enum class FullScreen {
  FollowSip,     // above the input panel when it shows, room for the menu bar
  KeepMenuBar,   // room for the menu bar, wherever the input panel is
  NoMenuBar,     // down to the screen's bottom
};

RECT fullScreenRect(FullScreen kind);

}  // namespace shell
