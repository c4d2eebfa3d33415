#include "user/DialogModal.h"

#include <optional>

#include "user/DialogBuilder.h"
#include "user/DialogState.h"
#include "user/WindowManager.h"

namespace user {

namespace {

// A dialog owned by a child window belongs to the child's top-level window.
HWND topLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

void giveOwnerBack(DialogState& state) {
  HWND owner = state.disabledOwner;
  state.disabledOwner = nullptr;
  if (owner && IsWindow(owner)) EnableWindow(owner, TRUE);
}

}  // namespace

INT_PTR runModalDialog(const DialogTemplate& dialogTemplate, HINSTANCE instance, HWND owner, DLGPROC proc,
                       LPARAM param) {
  owner = topLevelOf(owner);
  HWND ownerFocus = GetFocus();
  if (!owner || !ownerFocus || !IsChild(owner, ownerFocus)) ownerFocus = nullptr;

  DialogRequest request{instance, owner, proc, param, true};
  HWND dialog = buildDialog(dialogTemplate, request);
  if (!dialog) return -1;
  WindowPin pin(WindowManager::instance().fromHandle(dialog));
  DialogState* state = dialogState(dialog);

  bool quit = false;
  int quitCode = 0;
  if (!state->ended) {
    ShowWindow(dialog, SW_SHOW);
    MSG msg;
    while (!state->ended && IsWindow(dialog)) {
      if (!GetMessageW(&msg, nullptr, 0, 0)) {
        quit = true;
        quitCode = static_cast<int>(msg.wParam);
        break;
      }
      if (!IsDialogMessageW(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }
  INT_PTR result = state->ended ? state->result : 0;

  // The owner is enabled before the dialog goes, so activation returns to it.
  giveOwnerBack(*state);
  if (IsWindow(dialog)) DestroyWindow(dialog);
  if (owner && IsWindow(owner) && IsWindowVisible(owner)) {
    if (GetActiveWindow() != owner) SetActiveWindow(owner);
    if (ownerFocus && IsWindow(ownerFocus) && IsChild(owner, ownerFocus) && GetFocus() != ownerFocus)
      SetFocus(ownerFocus);
  }
  if (quit) PostQuitMessage(quitCode);
  return result;
}

bool endDialog(HWND dialog, INT_PTR result) {
  DialogState* state = dialogState(dialog);
  if (!state) return false;
  state->ended = true;
  state->result = result;
  if (state->modal) {
    // As on the device, the owner gets its input back at once and the
    // dialog disappears; the run destroys it when its loop sees the end.
    giveOwnerBack(*state);
    ShowWindow(dialog, SW_HIDE);
    PostMessageW(dialog, WM_NULL, 0, 0);
  } else {
    ShowWindow(dialog, SW_HIDE);
  }
  return true;
}

}  // namespace user
