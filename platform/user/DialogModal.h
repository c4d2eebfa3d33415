// A modal dialog run: the owner is disabled, a nested loop runs on the one
// queue until EndDialog (or the dialog's end some other way, or WM_QUIT,
// which is posted again), then the owner is enabled and activated again,
// and the run answers EndDialog's value.
#pragma once

#include <windows.h>

#include "user/DialogTemplate.h"

namespace user {

// -1 when the dialog cannot be made; 0 when the loop ends without
// EndDialog.
INT_PTR runModalDialog(const DialogTemplate& dialogTemplate, HINSTANCE instance, HWND owner, DLGPROC proc,
                       LPARAM param);

// EndDialog's work; false for a window that is no dialog.
bool endDialog(HWND dialog, INT_PTR result);

}  // namespace user
