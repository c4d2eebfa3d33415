// The host keyboard as the device's keyboard: which virtual key a host key
// is, and which host keys belong to the host window itself.
#pragma once

#include <cstdint>
#include <optional>

#include "display/Backend.h"

namespace display {

struct DeviceKey {
  uint32_t vk = 0;         // 0: the device has no such key (its text, if any, comes as characters)
  bool typesText = false;  // the host follows the key with the text the device makes of it itself
  bool shift = false;      // shift as the device sees it: caps lock turns letters too
};

// keycode and modifiers are SDL's (SDL_Keycode, SDL_Keymod). A key is passed
// on only where the device's US layout types what the host's layout does,
// so that no character comes twice or differs.
DeviceKey deviceKey(int32_t keycode, uint16_t modifiers);

// F2, F3 and F12 turn the device, show the input panel, take a screenshot.
std::optional<HostRequest> hostKey(int32_t keycode);

}  // namespace display
