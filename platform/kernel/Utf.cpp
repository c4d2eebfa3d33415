#include "kernel/Utf.h"

#include <cstdint>

namespace kernel {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf16(std::u16string& out, char32_t c) {
  if (c >= 0x10000) {
    c -= 0x10000;
    out += char16_t(0xD800 + (c >> 10));
    out += char16_t(0xDC00 + (c & 0x3FF));
  } else {
    out += char16_t(c);
  }
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// 0x80..0x9F differ from Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

char16_t widenAnsi(unsigned char c) { return c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : char16_t(c); }

namespace {

// Decodes text; each malformed sequence becomes U+FFFD and clears valid.
std::u16string decodeUtf8(std::string_view text, bool& valid) {
  valid = true;
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    auto lead = uint8_t(text[i]);
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + size_t(extra) >= text.size()) {
      appendUtf16(out, kReplacement);
      valid = false;
      ++i;
      continue;
    }
    char32_t c = extra == 0 ? lead : char32_t(lead & (0x3F >> extra));
    bool continued = true;
    for (int k = 1; k <= extra; ++k) {
      auto b = uint8_t(text[i + size_t(k)]);
      if ((b & 0xC0) != 0x80) {
        continued = false;
        break;
      }
      c = (c << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (!continued || c < kMinimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      appendUtf16(out, kReplacement);
      valid = false;
      ++i;
      continue;
    }
    appendUtf16(out, c);
    i += size_t(extra) + 1;
  }
  return out;
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view text) {
  bool valid;
  return decodeUtf8(text, valid);
}

std::optional<std::u16string> utf8ToUtf16Strict(std::string_view text) {
  bool valid;
  std::u16string out = decodeUtf8(text, valid);
  if (!valid) return std::nullopt;
  return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    appendUtf8(out, c);
  }
  return out;
}

}  // namespace kernel
