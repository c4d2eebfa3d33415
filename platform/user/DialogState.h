// What the dialog manager keeps for a dialog window besides its dialog
// words: its font and base units, the default push button, the control
// that gets the focus back when the dialog is activated, and the end of a
// modal run. Owned by the window, so it goes with it.
#pragma once

#include <windows.h>

#include "user/DialogUnits.h"
#include "user/Window.h"

namespace user {

class DialogState : public Control {
 public:
  ~DialogState() override;

  HFONT font = nullptr;          // WM_SETFONT; WM_GETFONT answers it
  HFONT templateFont = nullptr;  // made from the template, deleted with the dialog
  BaseUnits units;               // of the template's font
  bool hasUnits = false;

  WORD defaultId = 0;  // DM_SETDEFID
  bool hasDefault = false;
  HWND focus = nullptr;  // restored when the dialog is activated again

  bool modal = false;
  HWND disabledOwner = nullptr;  // the owner a modal run disabled, until it ends
  bool ended = false;
  INT_PTR result = 0;
};

// The state of a dialog window made by the dialog manager or handled by
// DefDlgProcW; null for any other window.
DialogState* dialogState(HWND hwnd);
// Makes it for a window that DefDlgProcW handles.
DialogState* ensureDialogState(HWND hwnd);

// Base units of a dialog: its template font's, else the system font's.
BaseUnits dialogBaseUnits(HWND dialog);

}  // namespace user
