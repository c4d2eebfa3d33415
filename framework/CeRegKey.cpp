#include "framework/CeRegKey.h"

void CeRegKey::Create(HKEY root, LPCWSTR path, LPWSTR keyClass, DWORD options, REGSAM access,
                      LPSECURITY_ATTRIBUTES security, LPDWORD disposition) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(root, path, 0, keyClass, options, access, security, &created, disposition) != ERROR_SUCCESS)
    return;
  Close();
  key = created;
}

LONG CeRegKey::QueryValue(void* buffer, LPCWSTR name, DWORD* size) {
  return RegQueryValueExW(key, name, nullptr, nullptr, static_cast<LPBYTE>(buffer), size);
}

LONG CeRegKey::SetBinaryValue(const void* data, DWORD size, LPCWSTR name) {
  return RegSetValueExW(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

void CeRegKey::Close() {
  if (key == nullptr) return;
  RegCloseKey(key);
  key = nullptr;
}
