#include "framework/CeWnd.h"

#include "framework/CeString.h"

namespace {

// Registration of the generic class is tried once per process; a failed
// registration is not retried and shows up as a failed Create.
bool genericClassAttempted = false;

void RegisterGenericClass(HINSTANCE instance) {
  if (genericClassAttempted) return;
  genericClassAttempted = true;
  WNDCLASSW wc = {};
  wc.style = 0;
  wc.lpfnWndProc = &CeWnd::ClassProc;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = CeWnd::kGenericClassName;
  RegisterClassW(&wc);
}

CeWnd* ObjectOf(HWND window) { return reinterpret_cast<CeWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

}  // namespace

// The window goes with the object. Its WM_DESTROY is still dispatched here,
// while the object is whole enough to answer it.
CeWnd::~CeWnd() { DestroyLiveWindow(); }

bool CeWnd::Create(LPCWSTR className, HWND parent, int x, int y, int width, int height, LPCWSTR title, DWORD style,
                   DWORD exStyle, HMENU menuOrId, HINSTANCE instance) {
  if (instance == nullptr) instance = GetModuleHandleW(nullptr);
  CeString windowClass;
  if (className != nullptr && className[0] != 0) {
    windowClass.Format(u"CeWnd:%s", className);
    RegisterSuperclass(className, windowClass.Text(), instance);
  } else {
    RegisterGenericClass(instance);
    windowClass = kGenericClassName;
  }
  HWND created = CreateWindowExW(exStyle, windowClass.Text(), title, style, x, y, width, height, parent, menuOrId,
                                 instance, this);
  return created != nullptr && created == hwnd;
}

void CeWnd::RegisterSuperclass(LPCWSTR baseClassName, LPCWSTR superclassName, HINSTANCE instance) {
  prevProc = nullptr;
  WNDCLASSW wc = {};
  if (!GetClassInfoW(nullptr, baseClassName, &wc)) return;
  // Default processing of the new window behaves as the named class.
  prevProc = wc.lpfnWndProc;
  wc.lpfnWndProc = &ClassProc;
  wc.hInstance = instance;
  wc.lpszClassName = superclassName;
  wc.style &= ~UINT(CS_GLOBALCLASS);
  // A superclass registered by an earlier Create is simply used again.
  RegisterClassW(&wc);
}

LRESULT CALLBACK CeWnd::ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CREATE || ObjectOf(window) != nullptr) return DefWindowProcW(window, message, wParam, lParam);
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  auto* object = create != nullptr ? static_cast<CeWnd*>(create->lpCreateParams) : nullptr;
  // A window made without an object is left to the platform's default.
  if (object == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InstanceProc));
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  try {
    object->Attach(window);
  } catch (...) {
    ReportException(message);
  }
  object->hwnd = window;
  // The object's OnCreate sees this same WM_CREATE.
  return CallWindowProcW(&InstanceProc, window, message, wParam, lParam);
}

LRESULT CALLBACK CeWnd::InstanceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CeWnd* object = ObjectOf(window);
  if (object == nullptr) return DefWindowProcW(window, message, wParam, lParam);

  CurrentMessage current(*object, window, message, wParam, lParam);

  bool handled = false;
  LRESULT result = 0;
  try {
    result = object->Dispatch(message, wParam, lParam, &handled);
    if (!handled) result = object->DefaultProc();
    if (message == WM_DESTROY) object->Unbind(window);
  } catch (...) {
    ReportException(message);
  }
  return result;
}

CeWnd::CurrentMessage::CurrentMessage(CeWnd& wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    : wnd(wnd), outerHwnd(wnd.curHwnd), outerMsg(wnd.curMsg), outerWParam(wnd.curWParam),
      outerLParam(wnd.curLParam) {
  wnd.curHwnd = hwnd;
  wnd.curMsg = message;
  wnd.curWParam = wParam;
  wnd.curLParam = lParam;
}

CeWnd::CurrentMessage::~CurrentMessage() {
  wnd.curHwnd = outerHwnd;
  wnd.curMsg = outerMsg;
  wnd.curWParam = outerWParam;
  wnd.curLParam = outerLParam;
}

void CeWnd::Unbind(HWND window) {
  const WNDPROC restored = prevProc != nullptr ? prevProc : &DefWindowProcW;
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(restored));
  HWND bound = hwnd;
  hwnd = nullptr;
  Detach(bound);
}

void CeWnd::ReportException(UINT message) noexcept {
  try {
    WCHAR text[256];
    wsprintfW(text, u"Window message (0x%04x) termainated abnormally by an exception", message);
    MessageBoxW(nullptr, text, u"Fatal", MB_ICONHAND | MB_OK);
  } catch (...) {
    // Nothing may leave a window procedure, not even from the report.
  }
}

LRESULT CeWnd::DefaultProc() {
  if (prevProc != nullptr) return CallWindowProcW(prevProc, curHwnd, curMsg, curWParam, curLParam);
  return DefWindowProcW(curHwnd, curMsg, curWParam, curLParam);
}

LRESULT CeWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = false;
  // Positions, sizes, repeat counts and key data: zero-extended 16-bit halves.
  const UINT low = LOWORD(lParam);
  const UINT high = HIWORD(lParam);
  switch (message) {
    case WM_CHAR:
      OnChar(wParam, low, high, handled);
      return 0;
    case WM_CLOSE:
      OnClose(handled);
      return 0;
    case WM_CREATE:
      OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam), handled);
      return 0;
    case WM_COMMAND:
      return OnCommand(wParam, reinterpret_cast<HWND>(lParam), handled);
    case WM_NOTIFY:
      return OnNotify(wParam, reinterpret_cast<NMHDR*>(lParam), handled);
    case WM_DESTROY:
      OnDestroy(handled);
      return 0;
    case WM_ENABLE:
      OnEnable(BOOL(wParam), handled);
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBkgnd(reinterpret_cast<HDC>(wParam), handled);
    case WM_KEYDOWN:
      OnKeyDown(wParam, low, high, handled);
      return 0;
    case WM_KEYUP:
      OnKeyUp(wParam, low, high, handled);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(wParam, low, high, handled);
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(wParam, low, high, handled);
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(wParam, low, high, handled);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, low, high, handled);
      return 0;
    case WM_MOVE:
      OnMove(low, high, handled);
      return 0;
    case WM_PAINT:
      OnPaint(handled);
      return 0;
    case WM_SHOWWINDOW:
      OnShowWindow(BOOL(wParam), lParam, handled);
      return 0;
    case WM_SIZE:
      OnSize(wParam, low, high, handled);
      return 0;
    case WM_TIMER:
      OnTimer(wParam, handled);
      return 0;
    case WM_SETTINGCHANGE:
      OnSettingChange(LOWORD(wParam), lParam, handled);
      return 0;
    default:
      return OnMessage(message, wParam, lParam, handled);
  }
}
