// Common-control initialisation. The common controls register their window
// classes here as they come.
#include <commctrl.h>

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

void WINAPI InitCommonControls() {}
