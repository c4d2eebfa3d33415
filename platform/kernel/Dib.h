// Device-independent bitmaps as resources hold them: a BITMAPINFOHEADER
// (or its larger V4/V5 forms, or the old BITMAPCOREHEADER), the colour
// table or bit-field masks, then the rows. The bytes are untrusted: sizes
// and offsets are checked against the data's length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kernel {

struct DibImage {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::vector<uint32_t> palette;  // 0x00RRGGBB, for 1 to 8 bits per pixel
  std::vector<uint32_t> pixels;   // 0xAARRGGBB, top row first
  bool hasAlpha = false;          // 32 bits per pixel with a non-zero alpha byte somewhere
};

// The largest image accepted, in pixels, so that a header cannot ask for
// gigabytes.
constexpr int64_t kMaxDibPixels = int64_t(1) << 24;

enum class DibKind {
  Bitmap,  // opaque unless it carries alpha
  Icon,    // height counts the image and its AND mask; the mask makes pixels transparent
};

// Decodes a packed DIB (header, colours, bits). False, with image untouched,
// for a header it does not support or data that is too short. 1, 2, 4, 8,
// 16, 24 and 32 bits per pixel; bottom-up and top-down; uncompressed or
// with bit-field masks.
bool decodeDib(const uint8_t* bytes, size_t size, DibImage& image, DibKind kind = DibKind::Bitmap);

}  // namespace kernel
