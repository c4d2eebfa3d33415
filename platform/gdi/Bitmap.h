// Bitmaps: compatible bitmaps, DIB sections and bitmaps loaded from
// resources. Every bitmap keeps 32-bit 0x00RRGGBB working pixels that
// drawing reads and writes through a Surface. A 32-bit DIB section's
// working pixels are the caller's bits themselves (in the DIB's row order);
// a DIB section of another depth keeps the caller's bits in their own
// format and converts them in and out around each drawing call. A
// monochrome bitmap holds only black and white.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <windows.h>

#include "gdi/DibRows.h"

namespace gdi {

struct Bitmap {
  int width = 0;
  int height = 0;
  // What GetObjectW reports: 1 for monochrome bitmaps, the screen's depth
  // for compatible bitmaps, the DIB's own depth for DIB sections.
  int bitsPerPixel = 32;

  std::vector<uint32_t> pixels;
  bool bottomUp = false;  // pixels' first row is the bottom one

  // DIB sections: the caller's bits. For 32 bits per pixel they are
  // pixels.data() and this stays empty.
  bool dibSection = false;
  DibFormat dibFormat;
  std::vector<uint8_t> dibBits;

  bool monochrome() const { return bitsPerPixel == 1; }
  // The bits a caller sees: a DIB section's, null for other bitmaps.
  void* callerBits();
  // Bytes in one row as GetObjectW reports it.
  int widthBytes() const;

  // Refreshes the working pixels from the caller's bits (DIB sections below
  // 32 bits per pixel).
  void pull();
  // After drawing into rect (surface coordinates): updates the caller's bits
  // or keeps a monochrome bitmap black and white.
  void commit(const RECT& rect);
};

// Creates a bitmap object. Zero or negative sizes and sizes beyond
// kMaxBitmapPixels are refused (null).
constexpr int64_t kMaxBitmapPixels = int64_t(1) << 24;
HBITMAP createBitmap(int width, int height, int bitsPerPixel, uint32_t fill = 0x00000000);
// A DIB section from a BITMAPINFO; bits receives the caller's bits.
HBITMAP createDibSection(const BITMAPINFO& info, void** bits);
// The bitmap behind handle; null if it is no bitmap.
Bitmap* bitmapFromHandle(HGDIOBJ handle);
// The 1x1 monochrome bitmap a memory DC starts with.
HBITMAP defaultBitmap();
// Loads an RT_BITMAP resource; registered as LoadImageW's bitmap loader.
HANDLE loadBitmapResource(HINSTANCE instance, LPCWSTR name, int width, int height, UINT flags);

}  // namespace gdi
