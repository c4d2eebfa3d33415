#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

namespace {

SYSTEMTIME at(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0, WORD ms = 0) {
  SYSTEMTIME t{};
  t.wYear = year, t.wMonth = month, t.wDay = day, t.wHour = hour, t.wMinute = minute, t.wSecond = second;
  t.wMilliseconds = ms;
  return t;
}

TEST(FileTime, ConvertsBothWaysWithTheDayOfWeek) {
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
    FILETIME f{DWORD(c.ticks), DWORD(c.ticks >> 32)}, back, local;
    SYSTEMTIME t;
    ASSERT_TRUE(FileTimeToSystemTime(&f, &t));
    EXPECT_EQ(std::memcmp(&t, &c.time, sizeof t), 0) << t.wYear << "-" << t.wMonth << "-" << t.wDay << " "
                                                     << t.wDayOfWeek;
    ASSERT_TRUE(SystemTimeToFileTime(&c.time, &back));
    EXPECT_EQ(std::memcmp(&back, &f, sizeof f), 0);
    ASSERT_TRUE(FileTimeToLocalFileTime(&f, &local));
    EXPECT_EQ(std::memcmp(&local, &f, sizeof f), 0) << "the device keeps UTC";
  }
  SYSTEMTIME t;
  FILETIME last{~0u, 0x7FFFFFFF}, past{0, 0x80000000};
  ASSERT_TRUE(FileTimeToSystemTime(&last, &t));
  EXPECT_EQ(t.wYear, 30828);
  SetLastError(0);
  EXPECT_FALSE(FileTimeToSystemTime(&past, &t));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  FILETIME f;
  for (SYSTEMTIME bad : {at(1600, 12, 31), at(2023, 2, 29), at(2024, 13, 1), at(2024, 0, 1), at(2024, 4, 31),
                         at(2024, 1, 0), at(2024, 1, 1, 24), at(2024, 1, 1, 0, 60), at(2024, 1, 1, 0, 0, 60),
                         at(2024, 1, 1, 0, 0, 0, 1000)}) {
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&bad, &f)) << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay;
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  }
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
      {true, DATE_LONGDATE, at(2026, 12, 6), nullptr, u"Sunday, December 06, 2026"},
      {true, 0, at(2009, 7, 4), u"d dd ddd dddd M MM MMM MMMM", u"4 04 Sat Saturday 7 07 Jul July"},
      {true, 0, at(2009, 7, 4), u"y yy yyyy", u"9 09 2009"},
      {true, 0, at(2009, 7, 4), u"'day' d 'of' MMMM, 'it''s' yyyy gg", u"day 4 of July, it's 2009 A.D."},
      {true, 0, at(2009, 7, 4), u"dd'.'MM'.'yy''", u"04.07.09'"},
      {true, 0, at(2009, 7, 4), u"'unterminated d", u"unterminated d"},
      {false, 0, at(2026, 12, 6, 19, 37, 5), nullptr, u"7:37:05 PM"},
      {false, TIME_NOSECONDS, at(2026, 12, 6, 19, 37, 5), nullptr, u"7:37 PM"},
      {false, TIME_NOMINUTESORSECONDS, at(2026, 12, 6, 19, 37, 5), nullptr, u"7 PM"},
      {false, TIME_FORCE24HOURFORMAT | TIME_NOTIMEMARKER, at(2026, 12, 6, 19, 37, 5), nullptr, u"19:37:05"},
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

TEST(DateTimeFormat, SizesBoundsAndRefusedArguments) {
  SYSTEMTIME t = at(2026, 12, 6, 19, 37), badDate = at(2026, 2, 30), badTime = at(2026, 2, 1, 25);
  WCHAR buffer[10], refused[10];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  std::fill(std::begin(refused), std::end(refused), u'#');
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, buffer, 8), 8);
  // A null date or time means now.
  EXPECT_GE(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, nullptr, 0), 20);
  EXPECT_GE(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, nullptr, 0), 11);
  auto withError = [](int result) { return std::make_pair(result, result ? DWORD(0) : GetLastError()); };
  struct Case {
    const char* what;
    std::pair<int, DWORD> got;
    std::pair<int, DWORD> expected;
  } cases[] = {
      {"date size", withError(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, nullptr, 0)), {8, 0}},
      {"time size", withError(GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, nullptr, 0)), {8, 0}},
      {"date short", withError(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, refused, 7)),
       {0, ERROR_INSUFFICIENT_BUFFER}},
      {"time short", withError(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, refused, 5)),
       {0, ERROR_INSUFFICIENT_BUFFER}},
      {"bad date", withError(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &badDate, nullptr, refused, 10)),
       {0, ERROR_INVALID_PARAMETER}},
      {"bad time", withError(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &badTime, nullptr, refused, 10)),
       {0, ERROR_INVALID_PARAMETER}},
      {"two date forms",
       withError(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE | DATE_LONGDATE, &t, nullptr, refused, 10)),
       {0, ERROR_INVALID_FLAGS}},
      {"form and picture", withError(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, u"d", refused, 10)),
       {0, ERROR_INVALID_FLAGS}},
      {"unknown time flag", withError(GetTimeFormatW(LOCALE_USER_DEFAULT, 0x100, &t, nullptr, refused, 10)),
       {0, ERROR_INVALID_FLAGS}},
      {"foreign locale", withError(GetDateFormatW(0x0407, 0, &t, nullptr, refused, 10)), {0, ERROR_INVALID_PARAMETER}},
      {"null buffer with a size", withError(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, nullptr, 10)),
       {0, ERROR_INVALID_PARAMETER}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
  for (WCHAR c : refused) EXPECT_EQ(c, u'#') << "refused calls leave the buffer alone";
}

}  // namespace
