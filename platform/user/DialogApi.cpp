// The dialog manager's entry points: dialogs from templates, modal and
// modeless, their end, and dialog units.
#include <cstdint>

#include "kernel/Resources.h"
#include "user/DialogBuilder.h"
#include "user/DialogModal.h"
#include "user/DialogState.h"
#include "user/WindowClass.h"
#include "user/WindowManager.h"

namespace {

// A template the caller built in memory is read as far as it says.
constexpr size_t kCallerTemplate = SIZE_MAX;

// A template inside a module's resources is read no further than its
// resource's end.
size_t templateBound(HINSTANCE instance, const void* bytes) {
  auto* p = static_cast<const uint8_t*>(bytes);
  for (HMODULE module : {static_cast<HMODULE>(instance), static_cast<HMODULE>(nullptr)}) {
    const kernel::ResourceIndex* index = kernel::moduleResources(module);
    if (!index) continue;
    for (const kernel::ResourceEntry& entry : index->entries())
      if (p >= entry.data && p < entry.data + entry.size) return static_cast<size_t>(entry.data + entry.size - p);
  }
  return kCallerTemplate;
}

bool ownerUsable(HWND owner) {
  if (!owner || IsWindow(owner)) return true;
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return false;
}

std::optional<user::DialogTemplate> readTemplate(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, size_t size) {
  if (!dialogTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  auto parsed = user::parseDialogTemplate(dialogTemplate, size ? size : templateBound(instance, dialogTemplate));
  if (!parsed) SetLastError(ERROR_INVALID_DATA);
  return parsed;
}

// The template resource of a module; null (with the error set) when there
// is none.
LPCDLGTEMPLATEW findTemplate(HINSTANCE instance, LPCWSTR name, size_t& size) {
  HRSRC resource = FindResourceW(instance, name, RT_DIALOG);
  if (!resource) return nullptr;
  size = SizeofResource(instance, resource);
  return static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(instance, resource)));
}

}  // namespace

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                       LPARAM param) {
  if (!ownerUsable(owner)) return 0;
  auto parsed = readTemplate(instance, dialogTemplate, 0);
  if (!parsed) return -1;
  return user::runModalDialog(*parsed, user::defaultInstance(instance), owner, proc, param);
}

INT_PTR WINAPI DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
  if (!ownerUsable(owner)) return 0;
  size_t size = 0;
  LPCDLGTEMPLATEW found = findTemplate(instance, templateName, size);
  if (!found) return -1;
  auto parsed = readTemplate(instance, found, size);
  if (!parsed) return -1;
  return user::runModalDialog(*parsed, user::defaultInstance(instance), owner, proc, param);
}

HWND WINAPI CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                       LPARAM param) {
  if (!ownerUsable(owner)) return nullptr;
  auto parsed = readTemplate(instance, dialogTemplate, 0);
  if (!parsed) return nullptr;
  user::DialogRequest request{user::defaultInstance(instance), owner, proc, param, false};
  return user::buildDialog(*parsed, request);
}

HWND WINAPI CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
  if (!ownerUsable(owner)) return nullptr;
  size_t size = 0;
  LPCDLGTEMPLATEW found = findTemplate(instance, templateName, size);
  if (!found) return nullptr;
  auto parsed = readTemplate(instance, found, size);
  if (!parsed) return nullptr;
  user::DialogRequest request{user::defaultInstance(instance), owner, proc, param, false};
  return user::buildDialog(*parsed, request);
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  if (!user::WindowManager::instance().checked(dialog)) return FALSE;
  if (user::endDialog(dialog, result)) return TRUE;
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

BOOL WINAPI MapDialogRect(HWND dialog, LPRECT rect) {
  if (!user::WindowManager::instance().checked(dialog)) return FALSE;
  if (!rect || !user::dialogState(dialog)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *rect = user::dialogRectToPixels(*rect, user::dialogBaseUnits(dialog));
  return TRUE;
}

LONG WINAPI GetDialogBaseUnits() {
  user::BaseUnits units = user::baseUnitsOf(nullptr);
  return MAKELONG(units.cx, units.cy);
}
