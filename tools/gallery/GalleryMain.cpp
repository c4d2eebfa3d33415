// The gallery: a second program for the same device, written against the
// platform's API as Vantor is, to look at and drive every piece of the
// platform: standard controls, Vantor's dialog templates, message boxes,
// menus and the menu bar, and the common controls.
#include <commctrl.h>

#include "GalleryWnd.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  HWND main = CreateGalleryWindow();
  if (main == nullptr) return 1;
  ShowWindow(main, showCommand);
  UpdateWindow(main);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}
