#include "user/SystemClasses.h"

#include "user/ButtonControl.h"
#include "user/ComboBox.h"
#include "user/ListBox.h"
#include "user/MenuTracker.h"
#include "user/ScrollBarControl.h"
#include "user/StaticControl.h"
#include "user/WindowClass.h"

namespace user {

void registerSystemClass(LPCWSTR name, WNDPROC proc, UINT style, int windowExtra, HBRUSH background) {
  WNDCLASSW wc{};
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = windowExtra;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  ClassRegistry::instance().add(wc);
}

void registerSystemClasses() {
  registerSystemClass(kDesktopClassName, DefWindowProcW, 0, 0, nullptr);
  registerSystemClass(WC_STATIC, controlProc<StaticControl>, CS_DBLCLKS | CS_PARENTDC, 0, nullptr);
  registerSystemClass(WC_BUTTON, controlProc<ButtonControl>, CS_DBLCLKS | CS_PARENTDC, 0, nullptr);
  registerSystemClass(kDialogClassName, DefDlgProcW, CS_DBLCLKS, DLGWINDOWEXTRA,
                      reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1)));
  registerSystemClass(kPopupMenuClassName, popupMenuWindowProc, 0, 0, nullptr);
  registerListBoxClasses();
  registerComboBoxClass();
  registerScrollBarClass();
}

}  // namespace user
