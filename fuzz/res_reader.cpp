// Arbitrary bytes as a module's resource file: the index, the string table,
// the message table, the icons and every resource as a DIB must refuse them
// without a fault.
#include <cstddef>
#include <cstdint>

#include "kernel/Dib.h"
#include "kernel/IconResources.h"
#include "kernel/MessageTable.h"
#include "kernel/ResourceFile.h"
#include "kernel/StringTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kernel::DibImage image;
  kernel::decodeDib(data, size, image);
  kernel::decodeDib(data, size, image, kernel::DibKind::Icon);

  kernel::ResourceIndex index(data, size);
  for (UINT id : {0u, 1u, 15u, 16u, 17u, 1015u, 0xFFFFu}) {
    if (auto s = kernel::findString(index, id)) {
      volatile WCHAR sink = 0;
      for (WORD i = 0; i < s->length; ++i) sink = sink + s->text[i];
    }
  }
  for (DWORD id : {0u, 1u, 100u, 0x20000000u}) kernel::findMessage(index, id);
  for (const kernel::ResourceEntry& entry : index.entries()) {
    kernel::decodeDib(entry.data, entry.size, image);
    if (entry.type.name.empty() && entry.type.ordinal == 14) {
      for (int side : {0, 16, 24, 32, 48}) kernel::loadIconResource(index, entry.name, side, side);
    }
    if (entry.type.name.empty() && entry.type.ordinal == 6) kernel::findString(index, (entry.name.ordinal - 1u) * 16u + 3u);
  }
  return 0;
}
