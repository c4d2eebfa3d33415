#include "shell/ChromeLayout.h"

#include <algorithm>

#include "device/Device.h"

namespace shell {

NavBarLayout layoutNavBar(const RECT& bar, bool withOk) {
  NavBarLayout layout;
  int right = bar.right;
  if (withOk) {
    layout.ok = {std::max(bar.left, right - kOkButtonWidth), bar.top, right, bar.bottom};
    right = layout.ok.left;
  }
  layout.clock = {std::max(bar.left, right - kClockWidth), bar.top, right, bar.bottom};
  layout.title = {std::min(bar.left + kTitleIndent, layout.clock.left), bar.top, layout.clock.left, bar.bottom};
  return layout;
}

RECT sipButtonRect(const RECT& strip) {
  return {std::max(strip.left, strip.right - device::Device::kSipButtonWidth), strip.top, strip.right, strip.bottom};
}

}  // namespace shell
