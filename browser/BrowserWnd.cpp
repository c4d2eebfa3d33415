#include "browser/BrowserWnd.h"

LRESULT BrowserWnd::OnClose(bool* handled) {
  *handled = true;
  DestroyMainWindow();
  return 0;
}

// The navigation bar's "ok" button sends IDOK with a non-zero notification
// code; it closes the program. The command is still left to default
// processing.
LRESULT BrowserWnd::OnCommand(WPARAM idAndCode, HWND, bool*) {
  if (HIWORD(idAndCode) != 0 && LOWORD(idAndCode) == IDOK) DestroyMainWindow();
  return 0;
}

LRESULT BrowserWnd::OnDestroy(bool* handled) {
  *handled = true;
  PostQuitMessage(0);
  return 0;
}

void BrowserWnd::DestroyMainWindow() {
  HWND window = hwnd;
  if (DestroyWindow(window)) hwnd = nullptr;
}
