// A registry key held by handle. It has no destructor of its own: whoever
// creates the key closes it.
#pragma once

#include <windows.h>

class CeRegKey {
 public:
  // Opens the key, creating it when it is missing. On success the key held
  // before, if any, is closed; on failure it is kept.
  void Create(HKEY root, LPCWSTR path, LPWSTR keyClass, DWORD options, REGSAM access,
              LPSECURITY_ATTRIBUTES security, LPDWORD disposition = nullptr);
  // Reads a value into buffer; *size is the room on entry and the value's
  // size on return. The error code, 0 on success.
  LONG QueryValue(void* buffer, LPCWSTR name, DWORD* size);
  LONG SetBinaryValue(const void* data, DWORD size, LPCWSTR name);
  void Close();

  HKEY key = nullptr;
};
