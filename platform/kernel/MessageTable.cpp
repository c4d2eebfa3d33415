#include "kernel/MessageTable.h"

#include "kernel/LittleEndian.h"
#include "kernel/Utf.h"

namespace kernel {
namespace {

constexpr WORD kRtMessageTable = 11;
constexpr WORD kUnicodeEntry = 1;

}  // namespace

std::optional<std::u16string> findMessage(const ResourceIndex& resources, DWORD id) {
  ResourceName type;
  type.ordinal = kRtMessageTable;
  ResourceName name;
  name.ordinal = 1;
  const ResourceEntry* table = resources.find(type, name);
  if (!table || table->size < 4) return std::nullopt;
  const uint8_t* data = table->data;
  size_t size = table->size;
  uint32_t blocks = readDword(data);
  if (blocks > (size - 4) / 12) return std::nullopt;
  for (uint32_t b = 0; b < blocks; ++b) {
    const uint8_t* block = data + 4 + size_t(b) * 12;
    uint32_t low = readDword(block), high = readDword(block + 4), offset = readDword(block + 8);
    if (id < low || id > high) continue;
    // Entries are variable-length: walk from the block's first one.
    size_t at = offset;
    for (uint32_t current = low;; ++current) {
      if (at > size || size - at < 4) return std::nullopt;
      size_t length = readWord(data + at);
      WORD flags = readWord(data + at + 2);
      if (length < 4 || length > size - at) return std::nullopt;
      if (current == id) {
        const uint8_t* text = data + at + 4;
        size_t bytes = length - 4;
        std::u16string out;
        if (flags & kUnicodeEntry) {
          for (size_t i = 0; i + 1 < bytes; i += 2) {
            char16_t c = readWord(text + i);
            if (!c) break;
            out += c;
          }
        } else {
          for (size_t i = 0; i < bytes && text[i]; ++i) out += widenAnsi(text[i]);
        }
        return out;
      }
      at += length;
    }
  }
  return std::nullopt;
}

}  // namespace kernel
