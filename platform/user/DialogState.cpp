#include "user/DialogState.h"

#include <memory>

#include "user/WindowManager.h"

namespace user {

DialogState::~DialogState() {
  if (templateFont) DeleteObject(templateFont);
}

DialogState* dialogState(HWND hwnd) {
  Window* window = WindowManager::instance().fromHandle(hwnd);
  return window ? dynamic_cast<DialogState*>(window->control.get()) : nullptr;
}

DialogState* ensureDialogState(HWND hwnd) {
  Window* window = WindowManager::instance().fromHandle(hwnd);
  if (!window || window->isDesktop()) return nullptr;
  if (auto* existing = dynamic_cast<DialogState*>(window->control.get())) return existing;
  // A dialog class is never a standard control, so the slot is free.
  if (window->control) return nullptr;
  window->control = std::make_unique<DialogState>();
  return static_cast<DialogState*>(window->control.get());
}

BaseUnits dialogBaseUnits(HWND dialog) {
  DialogState* state = dialogState(dialog);
  if (state && state->hasUnits) return state->units;
  static const BaseUnits system = baseUnitsOf(nullptr);
  return system;
}

}  // namespace user
