#include "Text.h"

#include <cinttypes>
#include <cstdio>

namespace cestore {

namespace {

// The code point at text[i] (a surrogate pair is one), i moved past it; an
// unpaired surrogate is returned as it is.
uint32_t codePointAt(const char16_t* text, size_t length, size_t& i) {
  uint32_t c = text[i++];
  if (c >= 0xD800 && c <= 0xDBFF && i < length && text[i] >= 0xDC00 && text[i] <= 0xDFFF)
    c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
  return c;
}

bool isSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void appendCodePoint(uint32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

bool toUtf8(const std::u16string& text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size();) {
    const uint32_t c = codePointAt(text.data(), text.size(), i);
    if (isSurrogate(c)) return false;
    appendCodePoint(c, out);
  }
  return true;
}

void appendDisplayUtf8(const char16_t* text, size_t length, std::string& out) {
  for (size_t i = 0; i < length;) {
    const uint32_t c = codePointAt(text, length, i);
    appendCodePoint(isSurrogate(c) ? 0xFFFD : c, out);
  }
}

std::string displayUtf8(const std::u16string& text) {
  std::string out;
  appendDisplayUtf8(text.data(), text.size(), out);
  return out;
}

bool fromUtf8(const std::string& text, std::u16string& out) {
  out.clear();
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    uint32_t c = *p++;
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || end - p < extra) return false;
    c &= extra == 0 ? 0x7F : extra == 1 ? 0x1F : extra == 2 ? 0x0F : 0x07;
    for (int i = 0; i < extra; ++i) {
      if ((*p & 0xC0) != 0x80) return false;
      c = (c << 6) | (*p++ & 0x3F);
    }
    static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return true;
}

std::string hex32(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string hexBytes(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

bool parseHexBytes(const std::string& text, std::vector<uint8_t>& out) {
  out.clear();
  if (text.size() % 2) return false;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (size_t i = 0; i < text.size(); i += 2) {
    int hi = digit(text[i]), lo = digit(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  return true;
}

bool parseNumber(const std::string& text, uint64_t& out) {
  if (text.empty()) return false;
  bool isHex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  size_t start = isHex ? 2 : 0;
  if (start == text.size() || text.size() - start > (isHex ? 16u : 20u)) return false;
  unsigned __int128 value = 0;
  for (size_t i = start; i < text.size(); ++i) {
    char c = text[i];
    int d = (c >= '0' && c <= '9') ? c - '0'
            : isHex && c >= 'a' && c <= 'f' ? c - 'a' + 10
            : isHex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
    if (d < 0) return false;
    value = value * (isHex ? 16 : 10) + d;
  }
  if (value > UINT64_MAX) return false;
  out = static_cast<uint64_t>(value);
  return true;
}

std::string isoTime(uint64_t fileTime) {
  uint64_t ticks = fileTime % 10000000;
  int64_t seconds = static_cast<int64_t>(fileTime / 10000000);
  int64_t days = seconds / 86400;
  int64_t rest = seconds % 86400;
  // Civil date from days since 1601-01-01.
  int64_t z = days - 134774 + 719468;  // to days since 0000-03-01
  int64_t era = z / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t day = doy - (153 * mp + 2) / 5 + 1;
  int64_t month = mp < 10 ? mp + 3 : mp - 9;
  int64_t year = yoe + era * 400 + (month <= 2);
  char text[64];
  std::snprintf(text, sizeof text, "%04" PRId64 "-%02" PRId64 "-%02" PRId64 "T%02" PRId64 ":%02" PRId64 ":%02" PRId64
                ".%07" PRIu64 "Z",
                year, month, day, rest / 3600, rest / 60 % 60, rest % 60, ticks);
  return text;
}

}  // namespace cestore
