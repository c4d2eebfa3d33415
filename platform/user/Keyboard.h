// The characters keys type on the device's US layout.
#pragma once

#include <windows.h>

namespace user {

// False for keys that type nothing (arrows, function keys, modifiers).
bool characterForKey(UINT vk, bool shift, bool control, char16_t& ch);

}  // namespace user
