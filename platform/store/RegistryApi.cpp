// The registry calls of coredll over Registry; opened keys are handles of
// their own table, the predefined roots are fixed values.
#include <cstring>
#include <memory>

#include <windows.h>

#include "kernel/HandleTable.h"
#include "store/Registry.h"
#include "store/Session.h"

namespace {

constexpr uint32_t kRegistryKeyTag = 7;

struct OpenKey {
  int64_t id;
};

kernel::HandleTable<OpenKey>& keys() {
  static auto* table = [] {
    store::registerSessionCloser([] {
      std::vector<uintptr_t> open;
      keys().forEach([&](uint32_t handle, OpenKey&) { open.push_back(handle); });
      for (uintptr_t handle : open) keys().remove(reinterpret_cast<HKEY>(handle));
    });
    return new kernel::HandleTable<OpenKey>(kRegistryKeyTag);
  }();
  return *table;
}

LONG resolve(HKEY key, int64_t& id) {
  if (store::registry().rootKey(key, id) == ERROR_SUCCESS) return store::currentImage() ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
  OpenKey* open = keys().get(key);
  if (!open) return ERROR_INVALID_HANDLE;
  id = open->id;
  return ERROR_SUCCESS;
}

std::u16string text(LPCWSTR s) { return s ? std::u16string(s) : std::u16string(); }

// Copies a name with its terminator into a caller's buffer of *size
// characters; on success *size is the length without the terminator.
LONG copyName(const std::u16string& name, LPWSTR buffer, LPDWORD size) {
  if (!buffer || !size) return ERROR_INVALID_PARAMETER;
  if (*size < name.size() + 1) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.data(), name.size() * sizeof(WCHAR));
  buffer[name.size()] = 0;
  *size = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

// The data part of a query: a null buffer asks for the size; a short one
// gets ERROR_MORE_DATA and the size needed.
LONG copyData(const std::vector<uint8_t>& data, LPBYTE buffer, LPDWORD size) {
  if (buffer && !size) return ERROR_INVALID_PARAMETER;
  if (!size) return ERROR_SUCCESS;
  DWORD room = *size;
  *size = static_cast<DWORD>(data.size());
  if (!buffer) return ERROR_SUCCESS;
  if (room < data.size()) return ERROR_MORE_DATA;
  if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
  return ERROR_SUCCESS;
}

}  // namespace

LONG WINAPI RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                            PHKEY result, LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  int64_t id = 0;
  if (LONG error = resolve(key, id)) return error;
  int64_t opened = 0;
  bool created = false;
  if (LONG error = store::registry().openKey(id, text(subKey), true, opened, created)) return error;
  *result = keys().add<HKEY>(std::make_unique<OpenKey>(OpenKey{opened}));
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG WINAPI RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  int64_t id = 0;
  if (LONG error = resolve(key, id)) return error;
  int64_t opened = 0;
  bool created = false;
  if (LONG error = store::registry().openKey(id, text(subKey), false, opened, created)) return error;
  *result = keys().add<HKEY>(std::make_unique<OpenKey>(OpenKey{opened}));
  return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY key) {
  int64_t id = 0;
  if (store::registry().rootKey(key, id) == ERROR_SUCCESS) return ERROR_SUCCESS;
  return keys().remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG WINAPI RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
  int64_t id = 0;
  if (LONG error = resolve(key, id)) return error;
  if (data && !dataSize) return ERROR_INVALID_PARAMETER;
  store::RegValue value;
  if (LONG error = store::registry().queryValue(id, text(valueName), value)) return error;
  if (type) *type = value.type;
  return copyData(value.data, data, dataSize);
}

LONG WINAPI RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD dataSize) {
  int64_t id = 0;
  if (LONG error = resolve(key, id)) return error;
  if (!data && dataSize) return ERROR_INVALID_PARAMETER;
  return store::registry().setValue(id, text(valueName), type, data, dataSize);
}

LONG WINAPI RegDeleteValueW(HKEY key, LPCWSTR valueName) {
  int64_t id = 0;
  if (LONG error = resolve(key, id)) return error;
  return store::registry().deleteValue(id, text(valueName));
}

LONG WINAPI RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
  int64_t id = 0;
  if (LONG error = resolve(key, id)) return error;
  if (!subKey) return ERROR_INVALID_PARAMETER;
  return store::registry().deleteKey(id, text(subKey));
}

LONG WINAPI RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameSize, LPDWORD, LPWSTR className,
                          LPDWORD classSize, PFILETIME lastWriteTime) {
  int64_t id = 0;
  if (LONG error = resolve(key, id)) return error;
  std::u16string found;
  if (LONG error = store::registry().enumKey(id, index, found)) return error;
  if (LONG error = copyName(found, name, nameSize)) return error;
  if (className && classSize && *classSize) className[0] = 0;
  if (classSize) *classSize = 0;
  if (lastWriteTime) *lastWriteTime = FILETIME{0, 0};
  return ERROR_SUCCESS;
}

LONG WINAPI RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameSize, LPDWORD, LPDWORD type,
                          LPBYTE data, LPDWORD dataSize) {
  int64_t id = 0;
  if (LONG error = resolve(key, id)) return error;
  if (data && !dataSize) return ERROR_INVALID_PARAMETER;
  store::RegValue value;
  if (LONG error = store::registry().enumValue(id, index, value)) return error;
  if (LONG error = copyName(value.name, valueName, valueNameSize)) return error;
  if (type) *type = value.type;
  return copyData(value.data, data, dataSize);
}
