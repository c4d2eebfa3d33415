// Arbitrary bytes as a menu-bar resource: refused when shorter than the
// buttons it counts, never read beyond its end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "shell/MenuBarResource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  auto parsed = shell::parseMenuBarResource(bytes.data(), bytes.size());
  if (!parsed) return 0;
  if (4 + parsed->buttons.size() * 14 > size) __builtin_trap();
  return 0;
}
