// Arbitrary bytes as a dialog template: the reader must refuse what it
// cannot read, whole, without a fault, and what it accepts must be within
// the bytes it was given.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "user/DialogTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the given size, so that reading one byte too far is
  // caught by the address sanitizer.
  std::vector<uint8_t> bytes(data, data + size);
  auto parsed = user::parseDialogTemplate(bytes.data(), bytes.size());
  if (!parsed) return 0;
  volatile size_t sink = parsed->title.size();
  for (const user::DialogItemTemplate& item : parsed->items)
    sink = sink + item.className.text.size() + item.title.text.size() + item.creationData.size();
  if (parsed->items.size() * 18 > size) __builtin_trap();
  return 0;
}
