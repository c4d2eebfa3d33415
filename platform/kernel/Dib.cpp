#include "kernel/Dib.h"

#include <bit>

#include "kernel/LittleEndian.h"

namespace kernel {
namespace {

constexpr uint32_t kCoreHeader = 12;
constexpr uint32_t kInfoHeader = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

struct Header {
  uint32_t size = 0;
  int64_t width = 0;
  int64_t height = 0;  // negative: top-down
  uint32_t bpp = 0;
  uint32_t compression = kBiRgb;
  uint32_t colorsUsed = 0;
  uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
  size_t paletteEntrySize = 4;
};

bool readHeader(const uint8_t* b, size_t size, Header& h) {
  if (size < 4) return false;
  h.size = readDword(b);
  if (h.size == kCoreHeader) {
    if (size < kCoreHeader) return false;
    h.width = readWord(b + 4);
    h.height = int16_t(readWord(b + 6));
    h.bpp = readWord(b + 10);
    h.paletteEntrySize = 3;
    return readWord(b + 8) == 1;
  }
  if (h.size < kInfoHeader || h.size > size) return false;
  h.width = int32_t(readDword(b + 4));
  h.height = int32_t(readDword(b + 8));
  if (readWord(b + 12) != 1) return false;  // planes
  h.bpp = readWord(b + 14);
  h.compression = readDword(b + 16);
  h.colorsUsed = readDword(b + 32);
  if (h.size >= 56) {  // V4 and V5 carry the masks in the header
    for (int i = 0; i < 4; ++i) h.masks[i] = readDword(b + 40 + 4 * i);
  }
  return true;
}

// Expands a masked field to 8 bits.
uint32_t field(uint32_t value, uint32_t mask) {
  if (!mask) return 0;
  int shift = std::countr_zero(mask);
  int bits = std::popcount(mask >> shift);
  uint32_t v = (value & mask) >> shift;
  if (bits >= 8) return v >> (bits - 8);
  // Repeat the bits so that a full field becomes 255.
  uint32_t out = 0;
  for (int filled = 0; filled < 8; filled += bits) out = (out << bits) | v;
  return out >> ((8 + bits - 1) / bits * bits - 8);
}

}  // namespace

bool decodeDib(const uint8_t* bytes, size_t size, DibImage& image, DibKind kind) {
  if (!bytes) return false;
  Header h;
  if (!readHeader(bytes, size, h)) return false;
  switch (h.bpp) {
    case 1: case 2: case 4: case 8: case 24:
      if (h.compression != kBiRgb) return false;
      break;
    case 16: case 32:
      if (h.compression != kBiRgb && h.compression != kBiBitfields) return false;
      break;
    default:
      return false;
  }
  bool topDown = h.height < 0;
  int64_t width = h.width;
  int64_t height = topDown ? -h.height : h.height;
  if (kind == DibKind::Icon) {
    if (topDown) return false;  // icon images are stored bottom-up
    height /= 2;
  }
  if (width <= 0 || height <= 0 || width * height > kMaxDibPixels) return false;

  size_t offset = h.size;
  if (h.compression == kBiBitfields) {
    if (h.size == kInfoHeader) {
      if (size - offset < 12) return false;
      for (int i = 0; i < 3; ++i) h.masks[i] = readDword(bytes + offset + 4 * size_t(i));
      h.masks[3] = 0;
      offset += 12;
    }
  } else if (h.bpp == 16) {
    h.masks[0] = 0x7C00, h.masks[1] = 0x03E0, h.masks[2] = 0x001F, h.masks[3] = 0;
  }

  std::vector<uint32_t> palette;
  if (h.bpp <= 8) {
    uint64_t colors = h.colorsUsed ? h.colorsUsed : (uint64_t(1) << h.bpp);
    if (colors > 256) return false;
    if (colors * h.paletteEntrySize > size - offset) return false;
    for (uint64_t i = 0; i < colors; ++i) {
      const uint8_t* c = bytes + offset + i * h.paletteEntrySize;
      palette.push_back(uint32_t(c[2]) << 16 | uint32_t(c[1]) << 8 | c[0]);
    }
    offset += size_t(colors * h.paletteEntrySize);
  }

  size_t stride = size_t((width * h.bpp + 31) / 32 * 4);
  size_t maskStride = size_t((width + 31) / 32 * 4);
  size_t bitsSize = stride * size_t(height);
  size_t maskSize = kind == DibKind::Icon ? maskStride * size_t(height) : 0;
  if (bitsSize > size - offset || maskSize > size - offset - bitsSize) return false;
  const uint8_t* bits = bytes + offset;

  DibImage out;
  out.width = int(width);
  out.height = int(height);
  out.bitsPerPixel = int(h.bpp);
  out.palette = palette;
  out.pixels.resize(size_t(width * height));
  bool anyAlpha = false;
  for (int64_t y = 0; y < height; ++y) {
    int64_t stored = topDown ? y : height - 1 - y;
    const uint8_t* row = bits + size_t(stored) * stride;
    for (int64_t x = 0; x < width; ++x) {
      uint32_t argb = 0;
      if (h.bpp <= 8) {
        size_t bit = size_t(x) * h.bpp;
        uint32_t index = (row[bit / 8] >> (8 - h.bpp - bit % 8)) & ((1u << h.bpp) - 1);
        argb = index < palette.size() ? palette[index] : 0;
      } else if (h.bpp == 24) {
        const uint8_t* p = row + size_t(x) * 3;
        argb = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      } else {
        uint32_t v = h.bpp == 16 ? readWord(row + size_t(x) * 2) : readDword(row + size_t(x) * 4);
        if (h.bpp == 32 && h.compression == kBiRgb) {
          argb = v;  // BGRA in memory is ARGB as a little-endian word
        } else {
          argb = field(v, h.masks[0]) << 16 | field(v, h.masks[1]) << 8 | field(v, h.masks[2]);
          if (h.masks[3]) argb |= field(v, h.masks[3]) << 24;
        }
      }
      anyAlpha |= (argb >> 24) != 0;
      out.pixels[size_t(y * width + x)] = argb;
    }
  }
  bool alphaChannel = h.bpp == 32 && anyAlpha;
  out.hasAlpha = alphaChannel;
  bool masked = kind == DibKind::Icon && !alphaChannel;
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* maskRow = masked ? bits + bitsSize + size_t(height - 1 - y) * maskStride : nullptr;
    for (int64_t x = 0; x < width; ++x) {
      uint32_t& p = out.pixels[size_t(y * width + x)];
      if (!alphaChannel) p |= 0xFF000000u;
      if (masked && (maskRow[x / 8] >> (7 - x % 8)) & 1) p = 0;
    }
  }
  image = std::move(out);
  return true;
}

}  // namespace kernel
