// The window procedure of the "Dialog" class: the dialog procedure kept in
// DWLP_DLGPROC answers first, with its result in DWLP_MSGRESULT; what it
// leaves gets the dialog's default processing. The dialog manager builds
// dialogs from templates on top of this.
#include <windows.h>

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

}  // namespace

LRESULT WINAPI DefDlgProcW(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC))) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
    INT_PTR handled = proc(dialog, msg, wParam, lParam);
    if (!IsWindow(dialog)) return handled;
    if (handled) return answersDirectly(msg) ? handled : GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
  }
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
    default:
      return DefWindowProcW(dialog, msg, wParam, lParam);
  }
}
