// The device's `menu "POPUP" "ITEM"` step, done as a person does it: a tap
// on the menu bar's button named POPUP, then (as the next step, once the
// popup shows) a tap on its item named ITEM. Names are read as a person
// reads them: without '&' marks and shortcuts.
#include <memory>

#include "device/Device.h"
#include "device/Dump.h"
#include "shell/MenuBar.h"
#include "user/Menu.h"
#include "user/MenuTracker.h"

namespace shell {

namespace {

void tapCentre(const RECT& r) {
  device::Device& device = device::Device::instance();
  display::InputEvent e;
  e.x = (r.left + r.right) / 2;
  e.y = (r.top + r.bottom) / 2;
  e.type = display::InputEvent::Type::StylusDown;
  device.pushInput(e);
  e.type = display::InputEvent::Type::StylusUp;
  device.pushInput(e);
}

}  // namespace

void installMenuChooser() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  // The item's turn names no popup; its messages name the one tapped before.
  auto lastPopup = std::make_shared<std::u16string>();
  device::Device::instance().script().setMenuChooser(
      [lastPopup](const std::u16string& popup, const std::u16string& item, std::string& reason) {
        if (!popup.empty()) *lastPopup = popup;
        std::string step = "menu " + device::quoteText(*lastPopup) + " " + device::quoteText(item) + ": ";
        if (popup.empty()) {
          RECT r;
          std::string why;
          if (!user::findOpenMenuItem(user::menuTextAsRead(item), r, why)) {
            reason = step + why;
            return false;
          }
          tapCentre(r);
          return true;
        }
        HWND hwnd = menuBarOf(GetForegroundWindow());
        MenuBar* bar = MenuBar::of(hwnd);
        if (!bar || !IsWindowVisible(hwnd)) {
          reason = step + "the foreground window has no menu bar";
          return false;
        }
        auto button = bar->buttonOnScreen(user::menuTextAsRead(popup));
        if (!button) {
          reason = step + "the menu bar has no button " + device::quoteText(popup);
          return false;
        }
        tapCentre(*button);
        return true;
      });
}

}  // namespace shell
