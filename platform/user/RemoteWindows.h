// Windows of another process on the same device image, found through the
// bus. Their handles are of a kind of their own: IsWindow accepts them and
// SetForegroundWindow asks the other process to raise them; nothing else
// reaches into another process.
#pragma once

#include <cstdint>

#include <windows.h>

namespace user {

HWND remoteWindowHandle(uint64_t remote);
bool isRemoteWindow(HWND hwnd);
bool raiseRemoteWindow(HWND hwnd);

}  // namespace user
