// Makes a dialog from its template: the dialog window with the template's
// styles, caption and font, sized and placed in dialog units of that font;
// its controls in template order, each given the font; then WM_INITDIALOG
// with the caller's parameter. Modal runs and modeless dialogs both start
// here.
#pragma once

#include <windows.h>

#include "user/DialogTemplate.h"

namespace user {

struct DialogRequest {
  HINSTANCE instance = nullptr;
  HWND owner = nullptr;
  DLGPROC proc = nullptr;
  LPARAM param = 0;
  // A modal run: the owner is disabled once the dialog window exists, and
  // the dialog is not shown here but by the run.
  bool modal = false;
};

// The dialog, or null when its window or (without DS_NOFAILCREATE) one of
// its controls cannot be made, or it destroyed itself while starting. A
// modeless dialog whose template has WS_VISIBLE is shown.
HWND buildDialog(const DialogTemplate& dialogTemplate, const DialogRequest& request);

}  // namespace user
