// Accelerator tables: loaded from RT_ACCELERATOR resources or made from
// ACCEL arrays; a key that matches an entry becomes WM_COMMAND.
#include <cstring>
#include <memory>
#include <vector>

#include <windows.h>

#include "kernel/HandleTable.h"

namespace {

struct AcceleratorTable {
  std::vector<ACCEL> entries;
};

kernel::HandleTable<AcceleratorTable>& tables() {
  static auto* table = new kernel::HandleTable<AcceleratorTable>(10);
  return *table;
}

// One entry as the resource compiler stores it: flags, key, command,
// padding; the last entry has bit 0x80 in its flags.
#pragma pack(push, 1)
struct ResourceEntry {
  WORD flags;
  WORD key;
  WORD command;
  WORD padding;
};
#pragma pack(pop)
static_assert(sizeof(ResourceEntry) == 8);

constexpr WORD kLastEntry = 0x80;

HACCEL addTable(std::vector<ACCEL> entries) {
  auto table = std::make_unique<AcceleratorTable>();
  table->entries = std::move(entries);
  return tables().add<HACCEL>(std::move(table));
}

bool modifiersMatch(BYTE flags) {
  bool shift = GetKeyState(VK_SHIFT) < 0;
  bool control = GetKeyState(VK_CONTROL) < 0;
  bool alt = GetKeyState(VK_MENU) < 0;
  return shift == ((flags & FSHIFT) != 0) && control == ((flags & FCONTROL) != 0) && alt == ((flags & FALT) != 0);
}

bool matches(const ACCEL& entry, const MSG& msg) {
  if (entry.fVirt & FVIRTKEY) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    return entry.key == (msg.wParam & 0xFFFF) && modifiersMatch(entry.fVirt);
  }
  if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
  bool alt = GetKeyState(VK_MENU) < 0;
  return entry.key == (msg.wParam & 0xFFFF) && alt == ((entry.fVirt & FALT) != 0);
}

}  // namespace

HACCEL WINAPI LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) {
  HRSRC found = FindResourceW(instance, name, RT_ACCELERATOR);
  if (!found) return nullptr;
  DWORD size = SizeofResource(instance, found);
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(instance, found)));
  if (!bytes || size < sizeof(ResourceEntry)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  std::vector<ACCEL> entries;
  for (DWORD offset = 0; offset + sizeof(ResourceEntry) <= size; offset += sizeof(ResourceEntry)) {
    ResourceEntry e;
    std::memcpy(&e, bytes + offset, sizeof(e));
    entries.push_back({static_cast<BYTE>(e.flags & 0x7F), e.key, e.command});
    if (e.flags & kLastEntry) break;
  }
  return addTable(std::move(entries));
}

HACCEL WINAPI CreateAcceleratorTableW(LPACCEL accel, int count) {
  if (!accel || count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return addTable(std::vector<ACCEL>(accel, accel + count));
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL accel) {
  if (!tables().remove(accel)) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return FALSE;
  }
  return TRUE;
}

int WINAPI TranslateAcceleratorW(HWND hwnd, HACCEL accel, LPMSG msg) {
  if (!accel || !msg) return 0;
  AcceleratorTable* table = tables().get(accel);
  if (!table) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return 0;
  }
  if (!IsWindow(hwnd)) return 0;
  for (const ACCEL& entry : table->entries) {
    if (!matches(entry, *msg)) continue;
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
    return 1;
  }
  return 0;
}
