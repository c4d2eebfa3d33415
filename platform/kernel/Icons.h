// Icons and cursors: decoded images kept in one handle table (tag 4), for
// the graphics module to draw.
#pragma once

#include <cstdint>
#include <vector>

#include <windef.h>

namespace kernel {

struct Icon {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // ARGB, top row first; alpha 0 where the mask is transparent
  const char* cursorName = nullptr;  // set for the system cursors, which have no image
  bool shared = false;               // system icons and cursors are never destroyed
};

// The icon or cursor behind handle; null for anything else.
const Icon* iconFromHandle(HICON handle);

// Adds an icon and returns its handle.
HICON addIcon(Icon icon);

}  // namespace kernel
