// Local memory: blocks carry their size in a header so that LocalSize and
// LocalReAlloc work; the live blocks are known, so LocalFree refuses what it
// did not hand out without reading it.
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include <windows.h>

namespace {

struct alignas(16) Header {
  size_t size;
};

std::unordered_set<void*>& liveBlocks() {
  static auto* blocks = new std::unordered_set<void*>;
  return *blocks;
}

Header* headerOf(HLOCAL mem) {
  if (!mem || !liveBlocks().count(mem)) return nullptr;
  return reinterpret_cast<Header*>(static_cast<char*>(mem) - sizeof(Header));
}

}  // namespace

HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
  if (bytes > (SIZE_T(1) << 40)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + bytes));
  if (!header) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  header->size = bytes;
  void* mem = header + 1;
  liveBlocks().insert(mem);
  if (flags & LMEM_ZEROINIT) std::memset(mem, 0, bytes);
  return mem;
}

HLOCAL WINAPI LocalReAlloc(HLOCAL mem, SIZE_T bytes, UINT flags) {
  Header* header = headerOf(mem);
  if (!header) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  HLOCAL grown = LocalAlloc(flags & LMEM_ZEROINIT, bytes);
  if (!grown) return nullptr;
  std::memcpy(grown, mem, header->size < bytes ? header->size : bytes);
  LocalFree(mem);
  return grown;
}

HLOCAL WINAPI LocalFree(HLOCAL mem) {
  if (!mem) return nullptr;
  Header* header = headerOf(mem);
  if (!header) {
    SetLastError(ERROR_INVALID_HANDLE);
    return mem;
  }
  liveBlocks().erase(mem);
  std::free(header);
  return nullptr;
}

SIZE_T WINAPI LocalSize(HLOCAL mem) {
  Header* header = headerOf(mem);
  if (!header) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return header->size;
}
