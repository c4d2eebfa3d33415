// SHHandleWMSettingChange: a window that follows the input panel is sized
// again when the panel opens or closes: down to the panel's top while it
// shows, down to the menu bar when it goes.
#include <aygshell.h>

#include "device/Device.h"
#include "shell/DesktopAreas.h"

namespace {

// What a program compiled for the device passes, and what this host's
// structure measures.
constexpr DWORD kDeviceSize = 12;

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

BOOL WINAPI SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM, PSHACTIVATEINFO info) {
  if (!info || (info->cbSize != kDeviceSize && info->cbSize != sizeof(SHACTIVATEINFO))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (wParam != SPI_SETSIPINFO) return TRUE;
  bool sipUp = device::Device::instance().sipVisible();
  info->fSipUp = sipUp ? 1 : 0;
  // The panel's state is read, not remembered: a window that missed a change
  // is still sized right by the next one.
  if (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) return TRUE;
  RECT want = shell::fullScreenRect(shell::FullScreen::FollowSip);
  RECT now;
  GetWindowRect(hwnd, &now);
  if (!sameRect(want, now))
    SetWindowPos(hwnd, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}
