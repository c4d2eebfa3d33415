#include "shell/DesktopAreas.h"

#include "device/Device.h"

namespace shell {

RECT fullScreenRect(FullScreen kind) {
  device::Device& device = device::Device::instance();
  RECT area = device.workArea();
  switch (kind) {
    case FullScreen::FollowSip:
      if (device.sipVisible()) area.bottom = device.visibleDesktop().bottom;
      break;
    case FullScreen::KeepMenuBar:
      break;
    case FullScreen::NoMenuBar:
      area.bottom = device.screenHeight();
      break;
  }
  return area;
}

}  // namespace shell
