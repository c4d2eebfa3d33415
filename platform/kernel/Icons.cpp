#include "kernel/Icons.h"

#include <windows.h>

#include "kernel/HandleTable.h"

namespace kernel {
namespace {

HandleTable<Icon>& icons() {
  static auto* table = new HandleTable<Icon>(4);
  return *table;
}

}  // namespace

const Icon* iconFromHandle(HICON handle) { return icons().get(handle); }

HICON addIcon(Icon icon) { return icons().add<HICON>(std::make_unique<Icon>(std::move(icon))); }

}  // namespace kernel

BOOL WINAPI DestroyIcon(HICON handle) {
  const kernel::Icon* icon = kernel::icons().get(handle);
  if (!icon) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!icon->shared) kernel::icons().remove(handle);
  return TRUE;
}
