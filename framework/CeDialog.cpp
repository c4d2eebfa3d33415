#include "framework/CeDialog.h"

#include "framework/CeApp.h"
#include "framework/CeModelessMap.h"

namespace {

CeDialog* ObjectOf(HWND dialog) { return reinterpret_cast<CeDialog*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

// Messages whose dialog-procedure result is the answer itself rather than a
// handled flag with the answer left in DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_INITDIALOG:
      return true;
    default:
      return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
  }
}

void ReportDialogException() noexcept {
  try {
    MessageBoxW(nullptr, u"Window message termainated abnormally by an exception", u"Fatal", MB_ICONHAND | MB_OK);
  } catch (...) {
    // Nothing may leave a dialog procedure, not even from the report.
  }
}

// A window's rectangle in the client coordinates of another window.
RECT ClientRectIn(HWND window, HWND parent) {
  RECT rect = {};
  GetClientRect(window, &rect);
  MapWindowPoints(window, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The coordinate that centres extent over [centreLow, centreHigh), pulled
// back inside [areaLow, areaHigh).
int CentredIn(LONG centreLow, LONG centreHigh, int extent, LONG areaLow, LONG areaHigh) {
  int at = (centreLow + centreHigh) / 2 - extent / 2;
  if (at < areaLow) return areaLow;
  if (at + extent > areaHigh) return areaHigh - extent;
  return at;
}

}  // namespace

CeDialog::CeDialog(LPCWSTR name) : templateName(name) {}

CeDialog::CeDialog(int templateNumber) : templateName(MAKEINTRESOURCEW(WORD(templateNumber))) {}

// A dialog that was not run modally leaves the registry of modeless dialogs;
// its window, if still there, goes with the object while the object can
// still answer as a dialog.
CeDialog::~CeDialog() {
  if (!isModal && hwnd != nullptr) g_modelessMap.Remove(hwnd);
  DestroyLiveWindow();
}

LPCDLGTEMPLATEW CeDialog::LoadTemplate(HINSTANCE instance, LPCWSTR name) {
  HRSRC resource = FindResourceW(instance, name, RT_DIALOG);
  if (resource == nullptr) return nullptr;
  return static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(instance, resource)));
}

INT_PTR CeDialog::RunModal(LPCWSTR name, HWND owner, HINSTANCE instance) {
  if (name == nullptr) name = templateName;
  isModal = true;
  if (instance == nullptr) instance = GetModuleHandleW(nullptr);
  if (owner == nullptr) owner = DefaultOwner();
  if (owner != nullptr && (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD) != 0) owner = TopLevelOf(owner);
  // A template that is not there makes the dialog manager fail with its own
  // failure value.
  LPCDLGTEMPLATEW dialogTemplate = LoadTemplate(instance, name);
  return DialogBoxIndirectParamW(instance, dialogTemplate, owner, &CeDialogProc, reinterpret_cast<LPARAM>(this));
}

HWND CeDialog::CreateModeless(LPCWSTR name, HWND owner, HINSTANCE instance) {
  if (name == nullptr) name = templateName;
  if (instance == nullptr) instance = GetModuleHandleW(nullptr);
  if (owner != nullptr && (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD) != 0) owner = TopLevelOf(owner);
  LPCDLGTEMPLATEW dialogTemplate = LoadTemplate(instance, name);
  if (dialogTemplate == nullptr) return nullptr;
  HWND dialog =
      CreateDialogIndirectParamW(instance, dialogTemplate, owner, &CeDialogProc, reinterpret_cast<LPARAM>(this));
  // The dialog may have been refused after it was bound (its controls could
  // not be made): the registry must not keep its handle.
  if (dialog == nullptr || dialog != hwnd) return nullptr;
  return dialog;
}

HWND CeDialog::DefaultOwner() {
  if (g_app != nullptr && g_app->mainWindowHandle != nullptr) return g_app->mainWindowHandle;
  return GetActiveWindow();
}

HWND CeDialog::TopLevelOf(HWND window) {
  for (;;) {
    const bool child = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
    HWND next = child ? GetParent(window) : GetWindow(window, GW_OWNER);
    if (next == nullptr) return window;
    window = next;
  }
}

void CeDialog::CenterOnOwner(HWND centreOn) {
  const DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE));
  const bool child = (style & WS_CHILD) != 0;
  if (centreOn == nullptr) centreOn = child ? GetParent(hwnd) : GetWindow(hwnd, GW_OWNER);

  RECT own = {};
  GetWindowRect(hwnd, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;

  RECT area = {};
  RECT centre = {};
  if (!child) {
    if (centreOn != nullptr && (GetWindowLongW(centreOn, GWL_STYLE) & WS_VISIBLE) == 0) centreOn = nullptr;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    if (centreOn != nullptr)
      GetWindowRect(centreOn, &centre);
    else
      centre = area;
  } else {
    HWND parent = GetParent(hwnd);
    GetClientRect(parent, &area);
    centre = ClientRectIn(centreOn, parent);
  }

  const int x = CentredIn(centre.left, centre.right, width, area.left, area.right);
  const int y = CentredIn(centre.top, centre.bottom, height, area.top, area.bottom);
  SetWindowPos(hwnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CeDialog::OnCancel() {
  if (isModal) EndDialog(hwnd, IDCANCEL);
}

void CeDialog::OnOK() {
  if (isModal) EndDialog(hwnd, IDOK);
}

BOOL CeDialog::OnInitDialog() {
  if (isModal) CenterOnOwner(nullptr);
  return TRUE;
}

void CeDialog::Bind(HWND dialog) {
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
  Attach(dialog);
  hwnd = dialog;
  // The message loop offers its messages to every registered modeless
  // dialog; the key goes as soon as the window does.
  if (!isModal) g_modelessMap.Add(dialog, this);
}

void CeDialog::Unbind(HWND dialog) {
  if (prevProc != nullptr) SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(prevProc));
  if (!isModal) g_modelessMap.Remove(dialog);
  SetWindowLongPtrW(dialog, DWLP_USER, 0);
  hwnd = nullptr;
  Detach(dialog);
}

INT_PTR CALLBACK CeDialog::CeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  CeDialog* object = ObjectOf(dialog);
  if (object == nullptr) {
    // Before WM_INITDIALOG there is no object to answer; a dialog started
    // without one is answered by the dialog manager alone.
    if (message != WM_INITDIALOG || lParam == 0) return 0;
    object = reinterpret_cast<CeDialog*>(lParam);
    try {
      object->Bind(dialog);
    } catch (...) {
      ReportDialogException();
    }
  }

  CurrentMessage current(*object, dialog, message, wParam, lParam);

  bool handled = false;
  INT_PTR answer = 0;
  try {
    const LRESULT result = object->Dispatch(message, wParam, lParam, &handled);
    if (handled && AnswersDirectly(message)) {
      answer = result;
    } else {
      if (handled) SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
      if (message == WM_DESTROY) object->Unbind(dialog);
      answer = handled ? TRUE : FALSE;
    }
  } catch (...) {
    ReportDialogException();
    answer = handled ? TRUE : FALSE;
  }
  return answer;
}

LRESULT CeDialog::DefaultProc() {
  if (prevProc != nullptr) return CallWindowProcW(prevProc, curHwnd, curMsg, curWParam, curLParam);
  // The dialog manager does its own default processing of what the
  // procedure leaves.
  return 0;
}

LRESULT CeDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = false;
  if (message == WM_INITDIALOG) {
    *handled = true;
    return OnInitDialog();
  }
  if (message != WM_COMMAND) return CeWnd::Dispatch(message, wParam, lParam, handled);

  switch (LOWORD(wParam)) {
    case IDOK:
      OnOK();
      *handled = true;
      return 0;
    case IDCANCEL:
      OnCancel();
      *handled = true;
      return 0;
    case kStaticId:
      OnStaticLabel(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      *handled = true;
      return 0;
    default:
      OnCommand(wParam, reinterpret_cast<HWND>(lParam), handled);
      return 0;
  }
}

// A tap on a label gives the focus to the control it labels, the one after
// it in the window order. Other notifications from labels mean nothing.
void CeDialog::OnStaticLabel(WORD code, HWND label) {
  if (code != 0 || label == nullptr) return;
  HWND next = GetWindow(label, GW_HWNDNEXT);
  if (next != nullptr) SendMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
}
