// Keyboard navigation of dialogs: Enter, Escape and Tab, and finding
// controls by id.
#include <algorithm>

#include "user/WindowManager.h"

using user::Window;
using user::WindowManager;

namespace {

WindowManager& wm() { return WindowManager::instance(); }

bool isPushButton(HWND hwnd) {
  return (SendMessageW(hwnd, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The button Enter presses: the focused push button, else the default one.
HWND defaultButton(HWND dialog) {
  HWND focus = GetFocus();
  if (focus && IsChild(dialog, focus) && isPushButton(focus)) return focus;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return child;
  return nullptr;
}

void pressEnter(HWND dialog) {
  HWND button = defaultButton(dialog);
  if (button && !IsWindowEnabled(button)) return;
  WORD id = button ? static_cast<WORD>(GetDlgCtrlID(button)) : IDOK;
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void pressEscape(HWND dialog) {
  HWND cancel = GetDlgItem(dialog, IDCANCEL);
  if (cancel && !IsWindowEnabled(cancel)) return;
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
}

bool tabStop(Window* w) { return (w->style & WS_TABSTOP) && w->reallyVisible() && w->enabledFlag(); }

// The next (or previous) control with WS_TABSTOP after the focus, wrapping.
void moveFocus(HWND dialog, bool backwards) {
  Window* box = wm().fromHandle(dialog);
  if (!box) return;
  std::vector<Window*> controls;
  WindowManager::collectDescendants(box, controls);
  std::erase_if(controls, [](Window* w) { return !tabStop(w); });
  if (controls.empty()) return;
  Window* focus = wm().fromHandle(GetFocus());
  auto at = std::find(controls.begin(), controls.end(), focus);
  size_t n = controls.size();
  size_t index;
  if (at == controls.end())
    index = backwards ? n - 1 : 0;
  else
    index = (static_cast<size_t>(at - controls.begin()) + (backwards ? n - 1 : 1)) % n;
  SetFocus(controls[index]->handle);
}

}  // namespace

BOOL WINAPI IsDialogMessageW(HWND dialog, LPMSG msg) {
  if (!msg || !wm().fromHandle(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  if (msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_RETURN:
        pressEnter(dialog);
        return TRUE;
      case VK_ESCAPE:
        pressEscape(dialog);
        return TRUE;
      case VK_TAB:
        moveFocus(dialog, GetKeyState(VK_SHIFT) < 0);
        return TRUE;
      default:
        break;
    }
  }
  TranslateMessage(msg);
  DispatchMessageW(msg);
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
