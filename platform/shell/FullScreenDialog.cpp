// SHInitDialog: a dialog made full-screen as the shell does it. Its title
// and its OK button move to the navigation bar, so the dialog gives up its
// own caption and frame and fills the area below the bar.
#include <aygshell.h>

#include "device/Device.h"
#include "shell/DesktopAreas.h"

namespace {

constexpr DWORD kFrameStyles = WS_CAPTION | WS_BORDER | WS_DLGFRAME;
constexpr DWORD kFrameExStyles = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

bool sizing(DWORD flags, shell::FullScreen& kind) {
  if (flags & SHIDIF_FULLSCREENNOMENUBAR) {
    kind = shell::FullScreen::NoMenuBar;
    return true;
  }
  if (flags & SHIDIF_SIZEDLGFULLSCREEN) {
    kind = shell::FullScreen::KeepMenuBar;
    return true;
  }
  if (flags & SHIDIF_SIZEDLG) {
    kind = shell::FullScreen::FollowSip;
    return true;
  }
  return false;
}

void fillArea(HWND dialog, shell::FullScreen kind) {
  DWORD style = static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE));
  if (style & kFrameStyles) SetWindowLongW(dialog, GWL_STYLE, static_cast<LONG>(style & ~kFrameStyles));
  DWORD exStyle = static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE));
  if (exStyle & kFrameExStyles) SetWindowLongW(dialog, GWL_EXSTYLE, static_cast<LONG>(exStyle & ~kFrameExStyles));
  RECT area = shell::fullScreenRect(kind);
  SetWindowPos(dialog, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

BOOL WINAPI SHInitDialog(PSHINITDLGINFO info) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!IsWindow(info->hDlg)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!(info->dwMask & SHIDIM_FLAGS)) return TRUE;
  HWND dialog = info->hDlg;
  DWORD flags = info->dwFlags;
  // The panel goes down first, so that the dialog is sized for the room
  // it leaves.
  if (flags & SHIDIF_SIPDOWN) device::Device::instance().setSipVisible(false);
  if (!IsWindow(dialog)) return FALSE;
  if (flags & SHIDIF_DONEBUTTON) {
    DWORD exStyle = static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE));
    SetWindowLongW(dialog, GWL_EXSTYLE, static_cast<LONG>(exStyle | WS_EX_CAPTIONOKBTN));
  }
  shell::FullScreen kind;
  if (sizing(flags, kind) && !(GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD)) fillArea(dialog, kind);
  return IsWindow(dialog) ? TRUE : FALSE;
}
