#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::u16string itow(int v, int radix) {
  WCHAR b[40];
  return _itow(v, b, radix);
}
std::u16string ltow(LONG v, int radix) {
  WCHAR b[40];
  return _ltow(v, b, radix);
}
std::u16string ultow(ULONG v, int radix) {
  WCHAR b[40];
  return _ultow(v, b, radix);
}

TEST(IntegerToText, SignOnlyInRadixTenAndLowerCaseDigits) {
  EXPECT_EQ(itow(-1, 10), u"-1");
  EXPECT_EQ(itow(0, 10), u"0");
  EXPECT_EQ(ltow(INT32_MIN, 10), u"-2147483648");
  EXPECT_EQ(ultow(4294967295u, 10), u"4294967295");
  EXPECT_EQ(ltow(0xABCD, 16), u"abcd");
  EXPECT_EQ(ltow(-1, 16), u"ffffffff");
  EXPECT_EQ(itow(-2, 2), u"11111111111111111111111111111110");
  EXPECT_EQ(ultow(35, 36), u"z");
  EXPECT_EQ(ultow(4294967295u, 36), u"1z141z3");
  EXPECT_EQ(ltow(-36, 36), u"1z141y4");
  EXPECT_EQ(ultow(7, 1), u"");
  EXPECT_EQ(ultow(7, 37), u"");
}

TEST(TextToInteger, ParsesLikeTheRuntimeAndSaturatesAt32Bits) {
  WCHAR* end = nullptr;
  const WCHAR* text = u"  -123xyz";
  EXPECT_EQ(wcstol(text, &end, 10), -123);
  EXPECT_EQ(end, text + 6);
  EXPECT_EQ(wcstol(u"0x1F", nullptr, 16), 31);
  EXPECT_EQ(wcstol(u"0x1F", nullptr, 0), 31);
  EXPECT_EQ(wcstol(u"017", nullptr, 0), 15);
  EXPECT_EQ(wcstol(u"zz", nullptr, 36), 1295);
  EXPECT_EQ(wcstol(u"2147483648", nullptr, 10), 2147483647);
  EXPECT_EQ(wcstol(u"-2147483648", nullptr, 10), -2147483647L - 1);
  EXPECT_EQ(wcstol(u"-99999999999999999999", nullptr, 10), -2147483647L - 1);
  EXPECT_EQ(wcstoul(u"4294967295", nullptr, 10), 4294967295ul);
  EXPECT_EQ(wcstoul(u"4294967296", nullptr, 10), 4294967295ul);
  EXPECT_EQ(wcstoul(u"-1", nullptr, 10), 4294967295ul);
  text = u"abc";
  EXPECT_EQ(wcstol(text, &end, 10), 0);
  EXPECT_EQ(end, text);
  EXPECT_EQ(_wtoi(u" 42 "), 42);
  EXPECT_EQ(_wtoi(u"+7"), 7);
  EXPECT_EQ(_wtoi(u""), 0);
}

struct Fixed {
  std::string digits;
  int point;
  int sign;
};

Fixed fcvt(double v, int count) {
  Fixed f;
  f.digits = _fcvt(v, count, &f.point, &f.sign);
  return f;
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(Fcvt, DigitsPointAndSign) {
  struct Case {
    double value;
    int count;
    const char* digits;
    int point;
    int sign;
  } cases[] = {
      {2.5, 3, "2500", 1, 0},
      {-2.5, 3, "2500", 1, 1},
      {0.05, 3, "50", -1, 0},
      {0.0005, 3, "1", -2, 0},    // rounds up into a new digit
      {0.0004, 3, "000", 0, 0},   // rounds to nothing
      {0.00001, 3, "000", 0, 0},  // far too small for the decimals
      {0.0, 3, "000", 0, 0},
      {-0.0, 3, "000", 0, 1},
      {9.9996, 3, "10000", 2, 0},
      {3.14159, 2, "314", 1, 0},
      {2.5, 0, "3", 1, 0},  // half rounds up
      {0.125, 2, "13", 0, 0},
      {123456.0, -2, "1235", 6, 0},
      {1234567890123456789.0, 0, "1234567890123456800", 19, 0},  // 17 significant digits
      // The runtime's markers, padded and rounded like digits: three decimals cut "1#INF" to "1#IO".
      {kInf, 6, "1#INF00", 1, 0},
      {-kInf, 6, "1#INF00", 1, 1},
      {kInf, 3, "1#IO", 1, 0},
      {kNan, 6, "1#QNAN0", 1, 0},
      {-kNan, 6, "1#IND00", 1, 1},
  };
  for (const Case& c : cases) {
    Fixed f = fcvt(c.value, c.count);
    EXPECT_EQ(f.digits, c.digits) << c.value << " " << c.count;
    EXPECT_EQ(f.point, c.point) << c.value << " " << c.count;
    EXPECT_EQ(f.sign, c.sign) << c.value << " " << c.count;
  }
}

TEST(Fcvt, ExtremesStayInsideTheBuffer) {
  Fixed big = fcvt(1e308, 3);
  EXPECT_EQ(big.point, 309);
  EXPECT_EQ(big.digits.size(), 312u);
  EXPECT_EQ(big.digits.substr(0, 5), "10000");

  Fixed max = fcvt(std::numeric_limits<double>::max(), 1000);
  EXPECT_LE(max.digits.size(), 348u);
  EXPECT_EQ(max.digits.substr(0, 17), "17976931348623157");

  Fixed denormal = fcvt(std::numeric_limits<double>::denorm_min(), 3);
  EXPECT_EQ(denormal.digits, "000");
  EXPECT_EQ(denormal.point, 0);

  Fixed lots = fcvt(0.5, 100000);
  EXPECT_LE(lots.digits.size(), 348u);
  EXPECT_EQ(lots.digits[0], '5');
}

}  // namespace
