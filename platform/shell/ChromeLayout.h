// Where the parts of the chrome lie, from the bars' rectangles: the title,
// clock and "ok" button of the navigation bar, and the input-panel button
// at the right of the menu-bar strip.
#pragma once

#include <windows.h>

namespace shell {

struct NavBarLayout {
  RECT title{};
  RECT clock{};
  RECT ok{};  // empty without the button
};

constexpr int kOkButtonWidth = 26;
constexpr int kClockWidth = 40;
constexpr int kTitleIndent = 6;

NavBarLayout layoutNavBar(const RECT& bar, bool withOk);
RECT sipButtonRect(const RECT& strip);

}  // namespace shell
