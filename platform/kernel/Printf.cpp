#include "kernel/Printf.h"

#include <windows.h>

#include "kernel/Utf.h"

namespace kernel {
namespace {

class Output {
 public:
  Output(WCHAR* out, size_t capacity) : out_(out), room_(capacity ? capacity - 1 : 0) {}
  void put(WCHAR c) {
    if (count_ < room_) out_[count_++] = c;
  }
  void repeat(WCHAR c, size_t n) {
    while (n-- && count_ < room_) out_[count_++] = c;
  }
  bool full() const { return count_ >= room_; }
  size_t finish(size_t capacity) {
    if (capacity) out_[count_] = 0;
    return count_;
  }

 private:
  WCHAR* out_;
  size_t room_;
  size_t count_ = 0;
};

struct Directive {
  bool left = false;
  bool zero = false;
  bool alternate = false;
  WCHAR signChar = 0;  // '+' or ' ' for non-negative signed values
  size_t width = 0;
  long precision = -1;
  enum class Size { Default, Short, Long } size = Size::Default;
  WCHAR type = 0;
};

// Saturates so that a silly width cannot overflow; the output is bounded anyway.
size_t parseCount(const WCHAR*& p) {
  size_t n = 0;
  while (*p >= u'0' && *p <= u'9') {
    n = n * 10 + size_t(*p++ - u'0');
    if (n > kPrintfLimit) n = kPrintfLimit;
  }
  return n;
}

Directive parseDirective(const WCHAR*& p, PrintfArguments& args) {
  Directive d;
  for (;; ++p) {
    if (*p == u'-') d.left = true;
    else if (*p == u'0') d.zero = true;
    else if (*p == u'#') d.alternate = true;
    else if (*p == u'+') d.signChar = u'+';
    else if (*p == u' ') { if (d.signChar != u'+') d.signChar = u' '; }
    else break;
  }
  if (*p == u'*') {
    ++p;
    int32_t w = args.nextInt();
    if (w < 0) {
      d.left = true;
      w = w == INT32_MIN ? INT32_MAX : -w;
    }
    d.width = size_t(w) > kPrintfLimit ? kPrintfLimit : size_t(w);
  } else {
    d.width = parseCount(p);
  }
  if (*p == u'.') {
    ++p;
    if (*p == u'*') {
      ++p;
      int32_t prec = args.nextInt();
      d.precision = prec < 0 ? -1 : (prec > long(kPrintfLimit) ? long(kPrintfLimit) : prec);
    } else {
      d.precision = long(parseCount(p));
    }
  }
  if (*p == u'h') {
    d.size = Directive::Size::Short;
    ++p;
  } else if (*p == u'l' || *p == u'w') {
    d.size = Directive::Size::Long;
    ++p;
  }
  d.type = *p;
  if (*p) ++p;
  return d;
}

void pad(Output& out, size_t length, const Directive& d, bool before) {
  if (d.width > length && d.left != before) out.repeat(u' ', d.width - length);
}

void formatString(Output& out, const Directive& d, PrintfArguments& args) {
  // In the W functions %s is wide unless h says otherwise; %S is the reverse.
  bool narrow = d.size == Directive::Size::Short || (d.type == u'S' && d.size != Directive::Size::Long);
  const void* p = args.nextPointer();
  static const char16_t kNull[] = u"(null)";
  if (!p) {
    p = kNull;
    narrow = false;
  }
  size_t limit = d.precision < 0 ? size_t(-1) : size_t(d.precision);
  size_t length = 0;
  if (narrow) {
    auto* s = static_cast<const unsigned char*>(p);
    while (length < limit && s[length]) ++length;
  } else {
    auto* s = static_cast<const WCHAR*>(p);
    while (length < limit && s[length]) ++length;
  }
  pad(out, length, d, true);
  for (size_t i = 0; i < length && !out.full(); ++i)
    out.put(narrow ? widenAnsi(static_cast<const unsigned char*>(p)[i]) : static_cast<const WCHAR*>(p)[i]);
  pad(out, length, d, false);
}

void formatChar(Output& out, const Directive& d, PrintfArguments& args) {
  bool narrow = d.size == Directive::Size::Short || (d.type == u'C' && d.size != Directive::Size::Long);
  int32_t value = args.nextInt();
  WCHAR c = narrow ? widenAnsi(static_cast<unsigned char>(value)) : WCHAR(value);
  pad(out, 1, d, true);
  out.put(c);
  pad(out, 1, d, false);
}

void formatInteger(Output& out, const Directive& d, PrintfArguments& args) {
  int32_t raw = args.nextInt();
  bool isSigned = d.type == u'd' || d.type == u'i';
  bool negative = false;
  uint32_t magnitude;
  if (d.size == Directive::Size::Short) raw = isSigned ? int16_t(raw) : int32_t(uint16_t(raw));
  if (isSigned && raw < 0) {
    negative = true;
    magnitude = 0u - uint32_t(raw);
  } else {
    magnitude = uint32_t(raw);
  }
  uint32_t radix = (d.type == u'x' || d.type == u'X') ? 16 : 10;
  const char16_t* digitSet = d.type == u'X' ? u"0123456789ABCDEF" : u"0123456789abcdef";
  WCHAR digits[12];
  size_t n = 0;
  for (uint32_t v = magnitude; v; v /= radix) digits[n++] = digitSet[v % radix];
  if (d.precision < 0 && magnitude == 0) digits[n++] = u'0';

  WCHAR prefix[2];
  size_t prefixLength = 0;
  if (negative) prefix[prefixLength++] = u'-';
  else if (isSigned && d.signChar) prefix[prefixLength++] = d.signChar;
  if (radix == 16 && d.alternate && magnitude) {
    prefix[prefixLength++] = u'0';
    prefix[prefixLength++] = d.type;
  }
  size_t zeros = d.precision > long(n) ? size_t(d.precision) - n : 0;
  size_t length = prefixLength + zeros + n;
  if (d.zero && !d.left && d.precision < 0 && d.width > length) {
    zeros += d.width - length;
    length = d.width;
  }
  pad(out, length, d, true);
  for (size_t i = 0; i < prefixLength; ++i) out.put(prefix[i]);
  out.repeat(u'0', zeros);
  while (n) out.put(digits[--n]);
  pad(out, length, d, false);
}

}  // namespace

size_t formatWide(WCHAR* buffer, size_t capacity, const WCHAR* format, PrintfArguments& args) {
  Output out(buffer, capacity);
  for (const WCHAR* p = format; p && *p && !out.full();) {
    if (*p != u'%') {
      out.put(*p++);
      continue;
    }
    ++p;
    Directive d = parseDirective(p, args);
    switch (d.type) {
      case u's':
      case u'S':
        formatString(out, d, args);
        break;
      case u'c':
      case u'C':
        formatChar(out, d, args);
        break;
      case u'd':
      case u'i':
      case u'u':
      case u'x':
      case u'X':
        formatInteger(out, d, args);
        break;
      case 0:
        break;
      default:  // "%%" and anything unknown: the character itself
        out.put(d.type);
        break;
    }
  }
  return out.finish(capacity);
}

}  // namespace kernel

int wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args) {
  if (!buffer) return 0;
  kernel::VaListArguments arguments(args);
  return int(kernel::formatWide(buffer, kernel::kPrintfLimit, format, arguments));
}

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  int written = wvsprintfW(buffer, format, args);
  va_end(args);
  return written;
}
