#include <gtest/gtest.h>
#include <windows.h>

#include <limits>
#include <string>

namespace {

TEST(IntegerToText, SignOnlyInRadixTenAndLowerCaseDigits) {
  WCHAR b[40];
  auto text = [](const WCHAR* t) { return std::u16string(t); };
  EXPECT_EQ(text(_itow(-1, b, 10)), u"-1");
  EXPECT_EQ(text(_itow(0, b, 10)), u"0");
  EXPECT_EQ(text(_ltow(INT32_MIN, b, 10)), u"-2147483648");
  EXPECT_EQ(text(_ultow(4294967295u, b, 10)), u"4294967295");
  EXPECT_EQ(text(_ltow(0xABCD, b, 16)), u"abcd");
  EXPECT_EQ(text(_ltow(-1, b, 16)), u"ffffffff");
  EXPECT_EQ(text(_itow(-2, b, 2)), u"11111111111111111111111111111110");
  EXPECT_EQ(text(_ultow(4294967295u, b, 36)), u"1z141z3");
  EXPECT_EQ(text(_ltow(-36, b, 36)), u"1z141y4");
  EXPECT_EQ(text(_ultow(7, b, 1)), u"");
  EXPECT_EQ(text(_ultow(7, b, 37)), u"");
  // Text back to numbers: the runtime's parsing, saturated at 32 bits.
  EXPECT_EQ(_wtoi(u" 42 "), 42);
  EXPECT_EQ(_wtoi(u"+7"), 7);
  EXPECT_EQ(_wtoi(u"-99999999999999999999"), INT32_MIN);
  EXPECT_EQ(_wtoi(u"abc"), 0);
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(Fcvt, DigitsPointAndSignStayInsideTheBuffer) {
  struct Case {
    double value;
    int count;
    const char* digits;  // its start, for the long ones
    int point;
    int sign;
    size_t size;
  } cases[] = {
      {2.5, 3, "2500", 1, 0, 4},
      {-2.5, 3, "2500", 1, 1, 4},
      {0.05, 3, "50", -1, 0, 2},
      {0.0005, 3, "1", -2, 0, 1},    // rounds up into a new digit
      {0.0004, 3, "000", 0, 0, 3},   // rounds to nothing
      {-0.0, 3, "000", 0, 1, 3},
      {9.9996, 3, "10000", 2, 0, 5},
      {2.5, 0, "3", 1, 0, 1},  // half rounds up
      {0.125, 2, "13", 0, 0, 2},
      {123456.0, -2, "1235", 6, 0, 4},
      {1234567890123456789.0, 0, "1234567890123456800", 19, 0, 19},  // 17 significant digits
      // The runtime's markers, padded and rounded like digits: three decimals cut "1#INF" to "1#IO".
      {-kInf, 6, "1#INF00", 1, 1, 7},
      {kInf, 3, "1#IO", 1, 0, 4},
      {kNan, 6, "1#QNAN0", 1, 0, 7},
      {-kNan, 6, "1#IND00", 1, 1, 7},
      {1e308, 3, "10000", 309, 0, 312},
      {std::numeric_limits<double>::max(), 1000, "17976931348623157", 309, 0, 348},
      {std::numeric_limits<double>::denorm_min(), 3, "000", 0, 0, 3},
      {0.5, 100000, "5", 0, 0, 348},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " " << c.count);
    int point = -1, sign = -1;
    std::string digits = _fcvt(c.value, c.count, &point, &sign);
    EXPECT_EQ(digits.substr(0, strlen(c.digits)), c.digits);
    EXPECT_LE(digits.size(), c.size);
    if (c.size < 348) {
      EXPECT_EQ(digits.size(), c.size);
    }
    EXPECT_EQ(point, c.point);
    EXPECT_EQ(sign, c.sign);
  }
}

}  // namespace
