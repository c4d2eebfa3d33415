// _fcvt as the device's C runtime has it: the value is first taken to 17
// significant digits, which are then rounded half up at the requested
// decimal. Infinities and NaNs come out as the runtime's "1#INF" family,
// padded and rounded like digits, with the point after the first character.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <windows.h>

namespace {

constexpr int kSignificant = 17;
// Room for the largest double's 309 integer digits and some decimals.
constexpr int kMaxDigits = 348;

struct Mantissa {
  char digits[kSignificant + 1];  // significant digits, '0'-padded below
  int point;                      // digits before the decimal point
};

const char* specialMantissa(double value) {
  if (std::isinf(value)) return "1#INF";
  // A NaN with its sign bit set is the processor's "indefinite" result.
  if (std::signbit(value)) return "1#IND";
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return (bits & (uint64_t(1) << 51)) ? "1#QNAN" : "1#SNAN";
}

Mantissa mantissaOf(double magnitude) {
  Mantissa m{};
  if (magnitude == 0) {
    std::memset(m.digits, '0', kSignificant);
    m.point = 0;
    return m;
  }
  char text[40];
  std::snprintf(text, sizeof text, "%.*e", kSignificant - 1, magnitude);
  // text is d.dddddddddddddddde[+-]x
  m.digits[0] = text[0];
  std::memcpy(m.digits + 1, text + 2, kSignificant - 1);
  m.point = std::atoi(text + kSignificant + 2) + 1;
  return m;
}

// Copies count characters of the mantissa ('0' past its end) and rounds at
// the next one; returns 1 when the rounding carried into a new first digit.
int roundedDigits(const char* mantissa, int count, char* out) {
  size_t available = std::strlen(mantissa);
  out[0] = '0';  // room for a carry
  for (int i = 0; i < count; ++i) out[i + 1] = size_t(i) < available ? mantissa[i] : '0';
  out[count + 1] = 0;
  char next = size_t(count) < available ? mantissa[count] : '0';
  if (count >= 0 && next >= '5') {
    char* p = out + count;
    while (p > out && *p == '9') *p-- = '0';
    ++*p;
  }
  if (out[0] != '0') return 1;
  std::memmove(out, out + 1, size_t(count) + 1);
  return 0;
}

}  // namespace

char* _fcvt(double value, int count, int* dec, int* sign) {
  thread_local char buffer[kMaxDigits + 2];
  int negative = std::signbit(value) ? 1 : 0;
  double magnitude = std::fabs(value);
  int point;
  int carried;
  if (!std::isfinite(value)) {
    point = 1;
    long wanted = long(count) + 1;
    int digits = wanted < 1 ? 1 : (wanted > kMaxDigits ? kMaxDigits : int(wanted));
    carried = roundedDigits(specialMantissa(value), digits, buffer);
  } else {
    Mantissa m = mantissaOf(magnitude);
    m.digits[kSignificant] = 0;
    point = m.point;
    long wanted = long(point) + count;
    if (wanted > kMaxDigits) wanted = kMaxDigits;
    if (wanted < 0) {
      // Too small to show at this many decimals: all digits are zero.
      wanted = -1;
    }
    carried = wanted < 0 ? 0 : roundedDigits(m.digits, int(wanted), buffer);
    if (wanted < 0) buffer[0] = 0;
    if (magnitude == 0) point = 0;
  }
  point += carried;
  if (std::isfinite(value) && std::strspn(buffer, "0") == std::strlen(buffer)) {
    // A value that rounds to nothing shows as count zeros after the point.
    int zeros = count < 0 ? 0 : (count > kMaxDigits ? kMaxDigits : count);
    std::memset(buffer, '0', size_t(zeros));
    buffer[zeros] = 0;
    point = 0;
  }
  if (dec) *dec = point;
  if (sign) *sign = negative;
  return buffer;
}
