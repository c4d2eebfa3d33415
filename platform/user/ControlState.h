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

// The state object of a live control of type T; null for any other window.
template <typename T>
T* existingControl(HWND hwnd) {
  Window* window = WindowManager::instance().fromHandle(hwnd);
  return window && !window->dead ? dynamic_cast<T*>(window->control.get()) : nullptr;
}

// The window procedure of a control class: its state object takes every
// message.
template <typename T>
LRESULT CALLBACK controlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  T* control = controlState<T>(hwnd);
  return control ? control->handle(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
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
