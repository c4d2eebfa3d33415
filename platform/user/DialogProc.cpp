// The window procedure of the "Dialog" class: the dialog procedure kept in
// DWLP_DLGPROC answers first, with its result in DWLP_MSGRESULT; what it
// leaves gets the dialog's default processing: the font, the default
// button, the focus that comes back with activation, WM_NEXTDLGCTL, Close
// as Cancel and the background.
#include <windows.h>

#include "user/DialogNavigation.h"
#include "user/DialogState.h"

namespace {

// Messages whose dialog-procedure result is the answer itself.
bool answersDirectly(UINT msg) {
  switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

LRESULT eraseBackground(HWND dialog, HDC hdc) {
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(dialog)));
  if (!brush)
    brush = reinterpret_cast<HBRUSH>(
        DefWindowProcW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(dialog)));
  RECT area;
  GetClientRect(dialog, &area);
  FillRect(hdc, &area, brush);
  return 1;
}

// DM_SETDEFID: the button with the id shows as the default one, the one
// that did before no longer does.
void setDefaultId(HWND dialog, user::DialogState& state, WORD id) {
  if (state.hasDefault && state.defaultId != id)
    if (HWND old = GetDlgItem(dialog, state.defaultId);
        old && (SendMessageW(old, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
      SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  state.defaultId = id;
  state.hasDefault = true;
  if (HWND button = GetDlgItem(dialog, id); button && (SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
    SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void nextControl(HWND dialog, WPARAM wParam, LPARAM lParam) {
  HWND target;
  if (LOWORD(lParam)) {
    target = reinterpret_cast<HWND>(wParam);
    if (!target || !IsChild(dialog, target)) return;
  } else {
    HWND focus = GetFocus();
    target = user::nextTabItem(dialog, focus && IsChild(dialog, focus) ? focus : nullptr, wParam != 0);
  }
  if (target) user::focusDialogControl(dialog, target);
}

LRESULT defaultProcessing(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  user::DialogState* state = user::ensureDialogState(dialog);
  switch (msg) {
    case WM_CLOSE: {
      // Closing a dialog is its Cancel button, when that is not disabled.
      HWND cancel = GetDlgItem(dialog, IDCANCEL);
      if (!cancel || IsWindowEnabled(cancel))
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_ERASEBKGND:
      return eraseBackground(dialog, reinterpret_cast<HDC>(wParam));
    case WM_SETFONT:
      if (state) state->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return state ? reinterpret_cast<LRESULT>(state->font) : 0;
    case DM_GETDEFID:
      return state && state->hasDefault ? MAKELRESULT(state->defaultId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
      if (!state) return FALSE;
      setDefaultId(dialog, *state, LOWORD(wParam));
      return TRUE;
    case WM_NEXTDLGCTL:
      nextControl(dialog, wParam, lParam);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        user::rememberDialogFocus(dialog);
        return 0;
      }
      if (!user::restoreDialogFocus(dialog)) SetFocus(dialog);
      return 0;
    case WM_SETFOCUS:
      user::restoreDialogFocus(dialog);
      return 0;
    default:
      return DefWindowProcW(dialog, msg, wParam, lParam);
  }
}

}  // namespace

LRESULT WINAPI DefDlgProcW(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC))) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
    INT_PTR handled = proc(dialog, msg, wParam, lParam);
    if (!IsWindow(dialog)) return handled;
    if (handled) return answersDirectly(msg) ? handled : GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
  }
  if (!IsWindow(dialog)) return 0;
  return defaultProcessing(dialog, msg, wParam, lParam);
}
