// IsDialogMessageW, the keyboard of dialogs: Tab and Shift+Tab through the
// tab stops, arrows within a group, Enter for the default button and
// Escape for Cancel, unless the focused control asks for the key with
// WM_GETDLGCODE. Also finding controls by id.
#include "user/DialogNavigation.h"
#include "user/DialogState.h"
#include "user/WindowManager.h"

using user::Window;
using user::WindowManager;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

bool isPushButton(HWND hwnd) {
  return (SendMessageW(hwnd, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

HWND focusIn(HWND dialog) {
  HWND focus = GetFocus();
  return focus && IsChild(dialog, focus) ? focus : nullptr;
}

// The button Enter presses: the focused push button, else the dialog's
// default (DM_GETDEFID), else a default push button among its controls.
HWND enterButton(HWND dialog, WORD& id) {
  HWND focus = focusIn(dialog);
  if (focus && isPushButton(focus)) {
    id = static_cast<WORD>(GetDlgCtrlID(focus));
    return focus;
  }
  // Only a dialog is asked: other windows may use WM_USER for their own ends.
  LRESULT defId = user::dialogState(dialog) ? SendMessageW(dialog, DM_GETDEFID, 0, 0) : 0;
  if (HIWORD(defId) == DC_HASDEFID) {
    id = LOWORD(defId);
    return GetDlgItem(dialog, id);
  }
  for (HWND child : user::dialogControls(dialog)) {
    if (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
      id = static_cast<WORD>(GetDlgCtrlID(child));
      return child;
    }
  }
  id = IDOK;
  return GetDlgItem(dialog, IDOK);
}

void pressEnter(HWND dialog) {
  WORD id = IDOK;
  HWND button = enterButton(dialog, id);
  if (button && !IsWindowEnabled(button)) return;
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void pressEscape(HWND dialog) {
  HWND cancel = GetDlgItem(dialog, IDCANCEL);
  if (cancel && !IsWindowEnabled(cancel)) return;
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
}

void tab(HWND dialog, bool backwards) {
  HWND next = user::nextTabItem(dialog, focusIn(dialog), backwards);
  if (next) user::focusDialogControl(dialog, next);
}

void arrow(HWND dialog, bool backwards) {
  HWND focus = focusIn(dialog);
  if (!focus) return;
  HWND next = user::nextGroupItem(dialog, focus, backwards);
  if (!next || next == focus) return;
  user::focusDialogControl(dialog, next);
  if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) SendMessageW(next, BM_CLICK, 0, 0);
}

// True when the dialog took the key itself.
bool dialogKey(HWND dialog, MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  UINT wants = static_cast<UINT>(SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
  if (wants & DLGC_WANTMESSAGE) return false;
  switch (msg.wParam) {
    case VK_TAB:
      if (wants & DLGC_WANTTAB) return false;
      tab(dialog, GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (wants & DLGC_WANTARROWS) return false;
      arrow(dialog, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
      return true;
    case VK_RETURN:
      pressEnter(dialog);
      return true;
    case VK_ESCAPE:
      pressEscape(dialog);
      return true;
    default:
      return false;
  }
}

}  // namespace

BOOL WINAPI IsDialogMessageW(HWND dialog, LPMSG msg) {
  if (!msg || !wm().fromHandle(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  if (dialogKey(dialog, *msg)) return TRUE;
  TranslateMessage(msg);
  DispatchMessageW(msg);
  // A tap may have moved the focus; the dialog gives it back there when it
  // is activated again.
  if (IsWindow(dialog)) user::rememberDialogFocus(dialog);
  return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
  Window* window = wm().checked(dialog);
  if (!window) return nullptr;
  for (Window* child : window->children)
    if (static_cast<int>(child->id) == id || static_cast<WORD>(child->id) == static_cast<WORD>(id))
      return child->handle;
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hwnd) {
  Window* window = wm().checked(hwnd);
  return window && window->isChild() ? static_cast<int>(window->id) : 0;
}

HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  if (!wm().checked(dialog) || (control && !IsChild(dialog, control))) return nullptr;
  return user::nextTabItem(dialog, control, previous != FALSE);
}

HWND WINAPI GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  if (!wm().checked(dialog) || (control && !IsChild(dialog, control))) return nullptr;
  return user::nextGroupItem(dialog, control, previous != FALSE);
}
