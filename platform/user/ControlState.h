// Finds (or makes on first use) the state object of a standard control.
// A control's procedure may be reached first with any message: a framework
// superclass passes WM_NCCREATE elsewhere and forwards from WM_CREATE on.
#pragma once

#include <memory>

#include "user/WindowManager.h"

namespace user {

template <typename T>
T* controlState(HWND hwnd) {
  Window* window = WindowManager::instance().fromHandle(hwnd);
  if (!window || window->dead) return nullptr;
  if (auto* existing = dynamic_cast<T*>(window->control.get())) return existing;
  window->control = std::make_unique<T>(hwnd);
  return static_cast<T*>(window->control.get());
}

// The control's window style.
inline DWORD controlStyle(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

// WM_COMMAND with a notification code to the control's parent.
inline void notifyParent(HWND hwnd, UINT code) {
  HWND parent = GetParent(hwnd);
  if (!parent) return;
  auto id = static_cast<WORD>(GetWindowLongPtrW(hwnd, GWLP_ID));
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

}  // namespace user
