#include "kernel/StringTable.h"

#include <cstring>

#include <windows.h>

#include "kernel/Resources.h"

namespace kernel {

std::optional<CountedString> findString(const ResourceIndex& resources, UINT id) {
  if (id > 0xFFFF) return std::nullopt;
  ResourceName type;
  type.ordinal = 6;  // RT_STRING
  ResourceName block;
  block.ordinal = WORD(id / 16 + 1);
  const ResourceEntry* entry = resources.find(type, block);
  if (!entry) return std::nullopt;
  // Counted strings: each a WORD length and that many units. The data is
  // DWORD-aligned, so the units can be handed out in place.
  size_t offset = 0;
  for (UINT i = 0;; ++i) {
    if (offset + 2 > entry->size) return std::nullopt;
    WORD length;
    std::memcpy(&length, entry->data + offset, 2);
    offset += 2;
    if (size_t(length) * 2 > entry->size - offset) return std::nullopt;
    if (i == id % 16) return CountedString{reinterpret_cast<const WCHAR*>(entry->data + offset), length};
    offset += size_t(length) * 2;
  }
}

}  // namespace kernel

INT_PTR WINAPI LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferMax) {
  const kernel::ResourceIndex* resources = kernel::moduleResources(instance);
  if (!resources) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (bufferMax < 0 || (!buffer && bufferMax != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto found = kernel::findString(*resources, id);
  if (!found) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    if (buffer && bufferMax > 0) buffer[0] = 0;
    return 0;
  }
  if (!buffer) return reinterpret_cast<INT_PTR>(found->text);
  if (bufferMax == 0) {
    // The desktop's form: the buffer receives the pointer, the result is the length.
    const WCHAR* text = found->text;
    std::memcpy(buffer, &text, sizeof text);
    return found->length;
  }
  size_t n = found->length < size_t(bufferMax) - 1 ? found->length : size_t(bufferMax) - 1;
  std::memcpy(buffer, found->text, n * sizeof(WCHAR));
  buffer[n] = 0;
  return INT_PTR(n);
}
