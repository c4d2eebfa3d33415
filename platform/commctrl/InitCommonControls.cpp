// Common-control initialisation: registers the classes of the common
// controls as global classes, so that any module can create them and
// GetClassInfoW finds them for superclassing.
#include <commctrl.h>

#include "commctrl/Header.h"
#include "commctrl/ListView.h"
#include "commctrl/TreeView.h"

namespace {

void registerOnce(bool& done, void (*registerClass)()) {
  if (done) return;
  done = true;
  registerClass();
}

void registerClasses(DWORD classes) {
  static bool tree = false, list = false, header = false;
  if (classes & ICC_TREEVIEW_CLASSES) registerOnce(tree, commctrl::registerTreeViewClass);
  // A list view in report view carries a header.
  if (classes & ICC_LISTVIEW_CLASSES) {
    registerOnce(header, commctrl::registerHeaderClass);
    registerOnce(list, commctrl::registerListViewClass);
  }
}

}  // namespace

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  registerClasses(init->dwICC);
  return TRUE;
}

void WINAPI InitCommonControls() { registerClasses(ICC_WIN95_CLASSES); }
