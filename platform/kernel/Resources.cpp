// FindResourceW and friends over the module's resource index. A resource
// handle carries the resources' handle tag (6) and the entry's place in the
// index, so a foreign handle is refused; the loaded "global" is the data
// itself, as on the device.
#include "kernel/Resources.h"

#include <windows.h>

namespace {

constexpr uintptr_t kResourceTag = 6;

HRSRC handleOf(const kernel::ResourceIndex& index, const kernel::ResourceEntry* entry) {
  auto place = uintptr_t(entry - index.entries().data());
  return reinterpret_cast<HRSRC>((kResourceTag << 24) | (place + 1));
}

const kernel::ResourceEntry* entryOf(const kernel::ResourceIndex& index, HRSRC resource) {
  auto value = reinterpret_cast<uintptr_t>(resource);
  if ((value >> 24) != kResourceTag) return nullptr;
  uintptr_t place = (value & 0xFFFFFF) - 1;
  return place < index.entries().size() ? &index.entries()[place] : nullptr;
}

}  // namespace

HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  const kernel::ResourceIndex* index = kernel::moduleResources(module);
  if (!index) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  auto typeName = kernel::ResourceName::fromArgument(type);
  auto resourceName = kernel::ResourceName::fromArgument(name);
  if (!typeName || !resourceName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (index->entries().empty()) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  if (const kernel::ResourceEntry* entry = index->find(*typeName, *resourceName)) return handleOf(*index, entry);
  SetLastError(index->hasType(*typeName) ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
  return nullptr;
}

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource) {
  const kernel::ResourceIndex* index = kernel::moduleResources(module);
  const kernel::ResourceEntry* entry = index ? entryOf(*index, resource) : nullptr;
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return const_cast<uint8_t*>(entry->data);
}

LPVOID WINAPI LockResource(HGLOBAL data) {
  const kernel::ResourceIndex* index = kernel::moduleResources(nullptr);
  if (!data || !index->containsData(data)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return data;
}

DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource) {
  const kernel::ResourceIndex* index = kernel::moduleResources(module);
  const kernel::ResourceEntry* entry = index ? entryOf(*index, resource) : nullptr;
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return entry->size;
}

// Resources stay mapped for the life of the process; there is nothing to free.
BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }
