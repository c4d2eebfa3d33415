#include "kernel/Handles.h"

#include <array>

#include <windows.h>

namespace kernel {
namespace {
std::array<HandleCloser, 128>& closers() {
  static std::array<HandleCloser, 128> table{};
  return table;
}
}  // namespace

void registerHandleCloser(uint32_t tag, HandleCloser close) { closers()[tag & 0x7F] = close; }

}  // namespace kernel

BOOL WINAPI CloseHandle(HANDLE handle) {
  auto value = reinterpret_cast<uintptr_t>(handle);
  if (value != 0 && value <= 0xFFFFFFFFu) {
    if (kernel::HandleCloser close = kernel::closers()[(value >> 24) & 0x7F]; close && close(handle)) return TRUE;
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
