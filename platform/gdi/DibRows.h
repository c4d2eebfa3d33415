// The pixel formats of uncompressed DIB rows (1, 2, 4, 8, 16, 24 and 32
// bits per pixel) read into and written from 0x00RRGGBB pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <windows.h>

namespace gdi {

struct DibFormat {
  int bitsPerPixel = 32;
  std::vector<uint32_t> palette;  // 0x00RRGGBB, for 1 to 8 bits per pixel
  // 16 and 32 bits per pixel: the bit-field masks (defaults 5-5-5 and 8-8-8).
  uint32_t redMask = 0;
  uint32_t greenMask = 0;
  uint32_t blueMask = 0;

  // Row length in bytes, padded to 32 bits.
  size_t stride(int width) const;
  uint32_t read(const uint8_t* row, int x) const;
  // Palette formats take the nearest palette colour.
  void write(uint8_t* row, int x, uint32_t pixel) const;
};

// The format of a BITMAPINFO, or false for one this platform does not draw
// (compressed, planes other than 1, unknown depth, masks of no colour).
bool dibFormatOf(const BITMAPINFO& info, DibFormat& format);

}  // namespace gdi
