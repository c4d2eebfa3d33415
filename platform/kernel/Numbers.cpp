// Integer conversions of the C runtime. LONG is 32 bits on the device, so
// the parsers saturate at the 32-bit limits whatever the host's long is.
#include <cerrno>
#include <cstdint>

#include <windows.h>

namespace {

constexpr char16_t kDigits[] = u"0123456789abcdefghijklmnopqrstuvwxyz";

WCHAR* writeUnsigned(uint32_t value, bool negative, WCHAR* buffer, int radix) {
  if (!buffer) return buffer;
  if (radix < 2 || radix > 36) {
    buffer[0] = 0;
    return buffer;
  }
  WCHAR reversed[33];
  int n = 0;
  do {
    reversed[n++] = kDigits[value % static_cast<uint32_t>(radix)];
    value /= static_cast<uint32_t>(radix);
  } while (value);
  WCHAR* out = buffer;
  if (negative) *out++ = u'-';
  while (n) *out++ = reversed[--n];
  *out = 0;
  return buffer;
}

// The device's CRT shows a negative value with a sign only in radix 10; in
// any other radix it writes the two's complement bits.
WCHAR* writeSigned(int32_t value, WCHAR* buffer, int radix) {
  if (radix == 10 && value < 0) return writeUnsigned(0u - static_cast<uint32_t>(value), true, buffer, radix);
  return writeUnsigned(static_cast<uint32_t>(value), false, buffer, radix);
}

int digitValue(WCHAR c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'z') return c - u'a' + 10;
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  return 99;
}

bool isSpace(WCHAR c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

struct Parsed {
  uint64_t magnitude = 0;  // saturated just above 0xFFFFFFFF
  bool negative = false;
  bool overflow = false;
  const WCHAR* end = nullptr;
};

Parsed parse(const WCHAR* s, int radix) {
  Parsed result;
  result.end = s;
  if (!s || radix < 0 || radix == 1 || radix > 36) return result;
  const WCHAR* p = s;
  while (isSpace(*p)) ++p;
  if (*p == u'-' || *p == u'+') result.negative = *p++ == u'-';
  if ((radix == 0 || radix == 16) && p[0] == u'0' && (p[1] == u'x' || p[1] == u'X') && digitValue(p[2]) < 16) {
    p += 2;
    radix = 16;
  } else if (radix == 0) {
    radix = p[0] == u'0' ? 8 : 10;
  }
  const WCHAR* first = p;
  for (int d; (d = digitValue(*p)) < radix; ++p) {
    result.magnitude = result.magnitude * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
    if (result.magnitude > 0xFFFFFFFFull) {
      result.overflow = true;
      result.magnitude = 0x100000000ull;
    }
  }
  if (p != first) result.end = p;
  return result;
}

}  // namespace

WCHAR* _itow(int value, WCHAR* buffer, int radix) { return writeSigned(value, buffer, radix); }

WCHAR* _ltow(LONG value, WCHAR* buffer, int radix) { return writeSigned(value, buffer, radix); }

WCHAR* _ultow(ULONG value, WCHAR* buffer, int radix) { return writeUnsigned(value, false, buffer, radix); }

long wcstol(const WCHAR* s, WCHAR** end, int radix) {
  Parsed r = parse(s, radix);
  if (end) *end = const_cast<WCHAR*>(r.end);
  uint64_t limit = r.negative ? 0x80000000ull : 0x7FFFFFFFull;
  if (r.overflow || r.magnitude > limit) {
    errno = ERANGE;
    return r.negative ? INT32_MIN : INT32_MAX;
  }
  return r.negative ? -static_cast<long>(r.magnitude) : static_cast<long>(r.magnitude);
}

unsigned long wcstoul(const WCHAR* s, WCHAR** end, int radix) {
  Parsed r = parse(s, radix);
  if (end) *end = const_cast<WCHAR*>(r.end);
  if (r.overflow) {
    errno = ERANGE;
    return 0xFFFFFFFFul;
  }
  uint32_t value = static_cast<uint32_t>(r.magnitude);
  return r.negative ? 0u - value : value;
}

int _wtoi(const WCHAR* s) { return static_cast<int>(wcstol(s, nullptr, 10)); }
