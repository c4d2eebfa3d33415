#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <string>

namespace {

template <typename... Args>
std::u16string format(const WCHAR* pattern, Args... args) {
  WCHAR buffer[1100];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  int n = wsprintfW(buffer, pattern, args...);
  EXPECT_EQ(size_t(n), wcslen(buffer));
  return std::u16string(buffer, size_t(n));
}

TEST(Wsprintf, IntegersStringsAndSizePrefixes) {
  EXPECT_EQ(format(u"%d|%i|%u|%d", -12, 34, 4000000000u, INT_MIN), u"-12|34|4000000000|-2147483648");
  EXPECT_EQ(format(u"%x %X %#x %#X %#x", 0xabcdu, 0xabcdu, 255u, 255u, 0u), u"abcd ABCD 0xff 0XFF 0");
  EXPECT_EQ(format(u"%5d|%-5d|%05d|%05d", 42, 42, 42, -42), u"   42|42   |00042|-0042");
  EXPECT_EQ(format(u"%+d %+d % d % d", 5, -5, 5, -5), u"+5 -5  5 -5");
  EXPECT_EQ(format(u"%.3d|%6.3d|%-6.3x|", 7, -7, 10), u"007|  -007|00a   |");
  EXPECT_EQ(format(u"%*d|%-*d|%*d|", 4, 1, 4, 2, -4, 3), u"   1|2   |3   |");
  EXPECT_EQ(format(u"100%% %q %"), u"100% q ");  // unknown directives and a trailing percent
  EXPECT_EQ(format(u"0x%04hx (%s) %hd %hu", 0x1f, u"VT_I4", 0x18000, 0x18000), u"0x001f (VT_I4) -32768 32768");
  // l is the device's 32-bit LONG: the next argument is an int-sized one.
  EXPECT_EQ(format(u"%ld %lu %lx %d", LONG(-3), ULONG(3000000000u), ULONG(0xdeadbeef), 9), u"-3 3000000000 deadbeef 9");
  EXPECT_EQ(format(u"[%s] [%ls] [%hs] [%S]", u"wide", u"long", "narrow", "upper"), u"[wide] [long] [narrow] [upper]");
  EXPECT_EQ(format(u"%-5s|%5s|%.2s|%-6.3s|", u"ab", u"ab", u"abcdef", u"abcdef"), u"ab   |   ab|ab|abc   |");
  EXPECT_EQ(format(u"%s|%hs", static_cast<const WCHAR*>(nullptr), static_cast<const char*>(nullptr)),
            u"(null)|(null)");
  EXPECT_EQ(format(u"%c%lc%hc%C%3c", u'a', u'\u00e9', 'x', 'y', u'z'), u"a\u00e9xy  z");
  EXPECT_EQ(format(u"%hs", "\x80\xe9"), u"\u20ac\u00e9");  // the device's 8-bit code page
}

int viaList(WCHAR* buffer, const WCHAR* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  int n = wvsprintfW(buffer, pattern, args);
  va_end(args);
  return n;
}

TEST(Wsprintf, OutputIsCutAt1023CharactersAndTerminated) {
  std::u16string longText(2000, u'x');
  std::u16string literal(1500, u'y');
  struct Case {
    const char* what;
    int (*write)(WCHAR*, const std::u16string&, const std::u16string&);
  } cases[] = {
      {"long argument", [](WCHAR* b, const std::u16string& t, const std::u16string&) {
         return viaList(b, u"%s%s", t.c_str(), u"tail");
       }},
      {"huge widths", [](WCHAR* b, const std::u16string&, const std::u16string&) {
         return wsprintfW(b, u"%99999d|%-*d", 1, 1000000, 2);
       }},
      {"long literal", [](WCHAR* b, const std::u16string&, const std::u16string& l) { return wsprintfW(b, l.c_str()); }},
  };
  for (const Case& c : cases) {
    WCHAR buffer[1100];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(c.write(buffer, longText, literal), 1023) << c.what;
    EXPECT_EQ(buffer[1023], 0) << c.what;
    EXPECT_EQ(buffer[1024], u'#') << c.what;
  }
  WCHAR buffer[64];
  EXPECT_EQ(viaList(buffer, u"%s=%d", u"count", 17), 8);
  EXPECT_EQ(std::u16string(buffer), u"count=17");
}

}  // namespace
