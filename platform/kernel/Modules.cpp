// The process's one module: the host executable, whose resources the build
// linked in between vantor_module_res_start and vantor_module_res_end.
#include <unistd.h>

#include <string>

#include <windows.h>

#include "kernel/Resources.h"
#include "kernel/Utf.h"

// Weak, so that an executable without resources links and simply has none.
extern "C" {
extern const unsigned char vantor_module_res_start[] __attribute__((weak));
extern const unsigned char vantor_module_res_end[] __attribute__((weak));
}

namespace kernel {
namespace {

// Where the device loads a program's image.
const HMODULE kProgramModule = reinterpret_cast<HMODULE>(uintptr_t(0x10000));

std::u16string executablePath() {
  static const std::u16string* path = [] {
    std::string bytes(4096, '\0');
    ssize_t n = readlink("/proc/self/exe", bytes.data(), bytes.size() - 1);
    bytes.resize(n > 0 ? size_t(n) : 0);
    return new std::u16string(utf8ToUtf16(bytes));
  }();
  return *path;
}

bool namesProgram(LPCWSTR name) {
  std::u16string path = executablePath();
  if (_wcsicmp(name, path.c_str()) == 0) return true;
  std::u16string file = path.substr(path.find_last_of(u'/') + 1);
  if (_wcsicmp(name, file.c_str()) == 0) return true;
  return _wcsicmp(name, (file + u".exe").c_str()) == 0;
}

}  // namespace

HMODULE programModule() { return kProgramModule; }

const ResourceIndex* moduleResources(HMODULE module) {
  if (module && module != kProgramModule) return nullptr;
  static const ResourceIndex* index = [] {
    const unsigned char* start = vantor_module_res_start;
    const unsigned char* end = vantor_module_res_end;
    if (!start || !end || end < start) return new ResourceIndex;
    return new ResourceIndex(start, size_t(end - start));
  }();
  return index;
}

std::optional<std::span<const uint8_t>> findResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name) {
  const ResourceIndex* index = moduleResources(module);
  const ResourceEntry* entry = index ? index->find(type, name) : nullptr;
  if (!entry) return std::nullopt;
  return std::span<const uint8_t>(entry->data, entry->size);
}

}  // namespace kernel

HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName) {
  if (!moduleName || kernel::namesProgram(moduleName)) return kernel::programModule();
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  if (module && module != kernel::programModule()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (!fileName || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::u16string path = kernel::executablePath();
  if (path.size() + 1 > size) {
    // Cut and terminated; the caller learns it from the error.
    path.copy(fileName, size - 1);
    fileName[size - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  path.copy(fileName, path.size());
  fileName[path.size()] = 0;
  return DWORD(path.size());
}
