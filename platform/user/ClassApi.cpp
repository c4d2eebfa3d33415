// Window classes: registration and description.
#include <algorithm>
#include <cstring>

#include "user/WindowClass.h"
#include "user/WindowManager.h"

using user::ClassRegistry;
using user::WindowClass;
using user::WindowManager;

namespace {

// The window manager registers the platform's classes when it starts.
ClassRegistry& registry() {
  WindowManager::instance();
  return ClassRegistry::instance();
}

}  // namespace

ATOM WINAPI RegisterClassW(const WNDCLASSW* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WindowClass* cls = registry().add(*wc);
  return cls ? cls->atom : 0;
}

BOOL WINAPI UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
  return registry().remove(className, instance) ? TRUE : FALSE;
}

BOOL WINAPI GetClassInfoW(HINSTANCE instance, LPCWSTR className, LPWNDCLASSW wc) {
  WindowClass* cls = registry().find(className, instance);
  if (!cls) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (wc) cls->describe(*wc);
  return TRUE;
}

int WINAPI GetClassNameW(HWND hwnd, LPWSTR className, int maxCount) {
  user::Window* window = WindowManager::instance().checked(hwnd);
  if (!window) return 0;
  if (!className || maxCount <= 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::u16string& name = window->cls->name;
  size_t count = std::min(name.size(), static_cast<size_t>(maxCount - 1));
  std::memcpy(className, name.data(), count * sizeof(WCHAR));
  className[count] = 0;
  return static_cast<int>(count);
}

DWORD WINAPI GetClassLongW(HWND hwnd, int index) {
  user::Window* window = WindowManager::instance().checked(hwnd);
  if (!window) return 0;
  const WindowClass& cls = *window->cls;
  auto low = [](const void* p) { return static_cast<DWORD>(reinterpret_cast<uintptr_t>(p)); };
  switch (index) {
    case GCL_MENUNAME:
      return low(cls.menuName);
    case GCL_HBRBACKGROUND:
      return low(cls.background);
    case GCL_HCURSOR:
      return low(cls.cursor);
    case GCL_HICON:
      return low(cls.icon);
    case GCL_WNDPROC:
      return low(reinterpret_cast<const void*>(cls.proc));
    case GCL_STYLE:
      return cls.style;
    case GCL_CBWNDEXTRA:
      return static_cast<DWORD>(cls.windowExtra);
    case GCL_CBCLSEXTRA:
      return static_cast<DWORD>(cls.classExtra);
    default:
      break;
  }
  if (index >= 0 && static_cast<size_t>(index) + sizeof(DWORD) <= cls.extraBytes.size()) {
    DWORD value;
    std::memcpy(&value, cls.extraBytes.data() + index, sizeof(value));
    return value;
  }
  SetLastError(ERROR_INVALID_INDEX);
  return 0;
}
