#include "gdi/DibRows.h"

#include <bit>
#include <cstring>

namespace gdi {

namespace {

// The value of a colour channel stored under mask, scaled to 8 bits.
uint32_t channel(uint32_t value, uint32_t mask) {
  if (!mask) return 0;
  int shift = std::countr_zero(mask);
  int bits = std::popcount(mask);
  uint32_t v = (value & mask) >> shift;
  if (bits >= 8) return v >> (bits - 8);
  // Replicate the high bits so that full intensity stays full.
  uint32_t out = 0;
  for (int filled = 0; filled < 8; filled += bits) out = (out << bits) | v;
  int total = ((8 + bits - 1) / bits) * bits;
  return out >> (total - 8);
}

uint32_t place(uint32_t value8, uint32_t mask) {
  if (!mask) return 0;
  int shift = std::countr_zero(mask);
  int bits = std::popcount(mask);
  uint32_t v = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
  return (v << shift) & mask;
}

bool contiguous(uint32_t mask) {
  if (!mask) return false;
  uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

int distance(uint32_t a, uint32_t b) {
  int d = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int c = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    d += c * c;
  }
  return d;
}

}  // namespace

size_t DibFormat::stride(int width) const {
  return ((static_cast<size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

uint32_t DibFormat::read(const uint8_t* row, int x) const {
  switch (bitsPerPixel) {
    case 1:
    case 2:
    case 4:
    case 8: {
      int perByte = 8 / bitsPerPixel;
      uint8_t byte = row[x / perByte];
      int shift = 8 - bitsPerPixel * (x % perByte + 1);
      uint32_t index = (byte >> shift) & ((1u << bitsPerPixel) - 1);
      return index < palette.size() ? palette[index] : 0;
    }
    case 16: {
      uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
      return (channel(v, redMask) << 16) | (channel(v, greenMask) << 8) | channel(v, blueMask);
    }
    case 24:
      return (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
    case 32: {
      uint32_t v;
      std::memcpy(&v, row + 4 * x, 4);
      return (channel(v, redMask) << 16) | (channel(v, greenMask) << 8) | channel(v, blueMask);
    }
  }
  return 0;
}

void DibFormat::write(uint8_t* row, int x, uint32_t pixel) const {
  uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  switch (bitsPerPixel) {
    case 1:
    case 2:
    case 4:
    case 8: {
      uint32_t best = 0;
      int bestDistance = 1 << 30;
      for (uint32_t i = 0; i < palette.size(); ++i) {
        int d = distance(palette[i], pixel);
        if (d < bestDistance) {
          bestDistance = d;
          best = i;
        }
      }
      int perByte = 8 / bitsPerPixel;
      uint8_t& byte = row[x / perByte];
      int shift = 8 - bitsPerPixel * (x % perByte + 1);
      uint8_t mask = static_cast<uint8_t>(((1u << bitsPerPixel) - 1) << shift);
      byte = static_cast<uint8_t>((byte & ~mask) | ((best << shift) & mask));
      return;
    }
    case 16: {
      uint32_t v = place(r, redMask) | place(g, greenMask) | place(b, blueMask);
      row[2 * x] = v & 0xFF;
      row[2 * x + 1] = (v >> 8) & 0xFF;
      return;
    }
    case 24:
      row[3 * x] = static_cast<uint8_t>(b);
      row[3 * x + 1] = static_cast<uint8_t>(g);
      row[3 * x + 2] = static_cast<uint8_t>(r);
      return;
    case 32: {
      uint32_t v = place(r, redMask) | place(g, greenMask) | place(b, blueMask);
      std::memcpy(row + 4 * x, &v, 4);
      return;
    }
  }
}

bool dibFormatOf(const BITMAPINFO& info, DibFormat& format) {
  const BITMAPINFOHEADER& h = info.bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1) return false;
  DibFormat f;
  f.bitsPerPixel = h.biBitCount;
  const auto* colours = reinterpret_cast<const uint8_t*>(&info) + h.biSize;
  switch (h.biBitCount) {
    case 1:
    case 2:
    case 4:
    case 8: {
      if (h.biCompression != BI_RGB) return false;
      uint32_t count = h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount);
      if (count > (1u << h.biBitCount)) return false;
      for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* q = colours + 4 * i;  // RGBQUAD: blue, green, red, reserved
        f.palette.push_back((uint32_t(q[2]) << 16) | (uint32_t(q[1]) << 8) | q[0]);
      }
      break;
    }
    case 16:
    case 32:
      if (h.biCompression == BI_RGB) {
        if (h.biBitCount == 16) {
          f.redMask = 0x7C00, f.greenMask = 0x03E0, f.blueMask = 0x001F;
        } else {
          f.redMask = 0xFF0000, f.greenMask = 0x00FF00, f.blueMask = 0x0000FF;
        }
      } else if (h.biCompression == BI_BITFIELDS) {
        uint32_t masks[3];
        std::memcpy(masks, colours, sizeof(masks));
        f.redMask = masks[0], f.greenMask = masks[1], f.blueMask = masks[2];
        uint32_t limit = h.biBitCount == 16 ? 0xFFFF : 0xFFFFFFFF;
        for (uint32_t m : masks)
          if (!contiguous(m) || (m & ~limit)) return false;
      } else {
        return false;
      }
      break;
    case 24:
      if (h.biCompression != BI_RGB) return false;
      break;
    default:
      return false;
  }
  format = std::move(f);
  return true;
}

}  // namespace gdi
