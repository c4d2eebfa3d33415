#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

SYSTEMTIME at(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0, WORD ms = 0) {
  SYSTEMTIME t{};
  t.wYear = year, t.wMonth = month, t.wDay = day, t.wHour = hour, t.wMinute = minute, t.wSecond = second;
  t.wMilliseconds = ms;
  return t;
}

TEST(FileTime, ConvertsToSystemTimeWithTheDayOfWeek) {
  struct Case {
    uint64_t ticks;
    SYSTEMTIME time;  // its day of the week included
  } cases[] = {
      {0, at(1601, 1, 1)},
      {134410594252500000ull, at(2026, 12, 6, 19, 37, 5, 250)},
      {125963423999990000ull, at(2000, 2, 29, 23, 59, 59, 999)},
  };
  cases[0].time.wDayOfWeek = 1, cases[1].time.wDayOfWeek = 0, cases[2].time.wDayOfWeek = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time.wYear);
    FILETIME f{DWORD(c.ticks), DWORD(c.ticks >> 32)};
    SYSTEMTIME t;
    ASSERT_TRUE(FileTimeToSystemTime(&f, &t));
    EXPECT_EQ(std::memcmp(&t, &c.time, sizeof t), 0) << t.wYear << "-" << t.wMonth << "-" << t.wDay << " "
                                                     << t.wDayOfWeek;
  }
  // A stored time past the last representable one is refused.
  SYSTEMTIME t;
  FILETIME last{~0u, 0x7FFFFFFF};
  FILETIME past{0, 0x80000000};
  ASSERT_TRUE(FileTimeToSystemTime(&last, &t));
  EXPECT_EQ(t.wYear, 30828);
  EXPECT_FALSE(FileTimeToSystemTime(&past, &t));
}

TEST(DateTimeFormat, FlagsAndPicturesOfTheDevice) {
  struct Case {
    bool isDate;
    DWORD flags;
    SYSTEMTIME time;
    const WCHAR* picture;
    const char16_t* expected;
  } cases[] = {
      {true, DATE_SHORTDATE, at(2026, 12, 6), nullptr, u"12/6/26"},
      {true, 0, at(2005, 3, 9), nullptr, u"3/9/05"},
      {false, 0, at(2026, 12, 6, 19, 37, 5), nullptr, u"7:37:05 PM"},
      {false, TIME_NOSECONDS, at(2026, 12, 6, 19, 37, 5), nullptr, u"7:37 PM"},
      {false, TIME_NOSECONDS, at(2026, 1, 1), nullptr, u"12:00 AM"},
      {false, TIME_NOSECONDS, at(2026, 1, 1, 12, 5), nullptr, u"12:05 PM"},
      {false, 0, at(2026, 1, 1, 9, 3, 7), u"hh:mm:ss t|H.m.s|h:mm", u"09:03:07 A|9.3.7|9:03"},
      {false, 0, at(2026, 1, 1, 21, 3, 7), u"HH 'h' mm", u"21 h 03"},
      {false, TIME_NOSECONDS, at(2026, 1, 1, 9, 3, 7), u"'at' h:mm:ss tt", u"at 9:03 AM"},
      {false, 0, at(2026, 2, 30, 9), nullptr, u"9:00:00 AM"},  // the time reads no date fields
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.isDate << " " << c.flags << " " << c.time.wHour << " " << (c.picture ? "picture" : ""));
    WCHAR buffer[80];
    int n = c.isDate ? GetDateFormatW(LOCALE_USER_DEFAULT, c.flags, &c.time, c.picture, buffer, 80)
                     : GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, c.flags, &c.time, c.picture, buffer, 80);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::u16string(buffer, size_t(n - 1)), c.expected);
  }
}

TEST(DateTimeFormat, SizesAndBounds) {
  SYSTEMTIME t = at(2026, 12, 6, 19, 37);
  WCHAR buffer[10];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &t, nullptr, nullptr, 0), 8);
  EXPECT_EQ(GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS, &t, nullptr, nullptr, 0), 8);
  EXPECT_EQ(GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &t, nullptr, buffer, 7), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, TIME_NOSECONDS, &t, nullptr, buffer, 7), 0);
  for (WCHAR c : buffer) EXPECT_EQ(c, u'#') << "refused calls leave the buffer alone";
  EXPECT_EQ(GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &t, nullptr, buffer, 8), 8);
  EXPECT_EQ(std::u16string(buffer), u"12/6/26");
}

}  // namespace
