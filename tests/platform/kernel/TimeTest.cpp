#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

SYSTEMTIME at(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0, WORD ms = 0) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = second;
  t.wMilliseconds = ms;
  return t;
}

FILETIME ticks(uint64_t value) { return FILETIME{DWORD(value), DWORD(value >> 32)}; }

std::u16string date(DWORD flags, const SYSTEMTIME& t, const WCHAR* picture = nullptr) {
  WCHAR buffer[80];
  int n = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &t, picture, buffer, 80);
  return n ? std::u16string(buffer, size_t(n - 1)) : u"<failed>";
}

std::u16string time(DWORD flags, const SYSTEMTIME& t, const WCHAR* picture = nullptr) {
  WCHAR buffer[80];
  int n = GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, flags, &t, picture, buffer, 80);
  return n ? std::u16string(buffer, size_t(n - 1)) : u"<failed>";
}

TEST(FileTime, ConvertsBothWaysWithTheDayOfWeek) {
  SYSTEMTIME t;
  FILETIME zero = ticks(0);
  ASSERT_TRUE(FileTimeToSystemTime(&zero, &t));
  EXPECT_EQ(t.wYear, 1601);
  EXPECT_EQ(t.wMonth, 1);
  EXPECT_EQ(t.wDay, 1);
  EXPECT_EQ(t.wDayOfWeek, 1);  // a Monday

  // 6 December 2026, 19:37:05.250, a Sunday.
  SYSTEMTIME evening = at(2026, 12, 6, 19, 37, 5, 250);
  FILETIME f;
  ASSERT_TRUE(SystemTimeToFileTime(&evening, &f));
  EXPECT_EQ(uint64_t(f.dwHighDateTime) << 32 | f.dwLowDateTime, 134410594252500000ull);
  ASSERT_TRUE(FileTimeToSystemTime(&f, &t));
  evening.wDayOfWeek = 0;
  EXPECT_EQ(std::memcmp(&t, &evening, sizeof t), 0);

  SYSTEMTIME leap = at(2000, 2, 29, 23, 59, 59, 999);
  ASSERT_TRUE(SystemTimeToFileTime(&leap, &f));
  ASSERT_TRUE(FileTimeToSystemTime(&f, &t));
  EXPECT_EQ(t.wMonth, 2);
  EXPECT_EQ(t.wDay, 29);
  EXPECT_EQ(t.wDayOfWeek, 2);

  FILETIME local;
  ASSERT_TRUE(FileTimeToLocalFileTime(&f, &local));
  EXPECT_EQ(std::memcmp(&local, &f, sizeof f), 0) << "the device keeps UTC";
}

TEST(FileTime, ValuesBeyondTheRangeAreRefused) {
  SYSTEMTIME t;
  FILETIME last = ticks(0x7FFFFFFFFFFFFFFFull);
  ASSERT_TRUE(FileTimeToSystemTime(&last, &t));
  EXPECT_EQ(t.wYear, 30828);
  FILETIME past = ticks(0x8000000000000000ull);
  SetLastError(0);
  EXPECT_FALSE(FileTimeToSystemTime(&past, &t));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  FILETIME all = ticks(~0ull);
  EXPECT_FALSE(FileTimeToSystemTime(&all, &t));
}

TEST(FileTime, InvalidFieldsAreRefused) {
  FILETIME f;
  for (SYSTEMTIME bad : {at(1600, 12, 31), at(2023, 2, 29), at(2024, 13, 1), at(2024, 0, 1), at(2024, 4, 31),
                         at(2024, 1, 0), at(2024, 1, 1, 24), at(2024, 1, 1, 0, 60), at(2024, 1, 1, 0, 0, 60),
                         at(2024, 1, 1, 0, 0, 0, 1000)}) {
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&bad, &f)) << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay;
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  }
}

TEST(DateFormat, ShortAndLongDatesOfTheDevice) {
  SYSTEMTIME t = at(2026, 12, 6);
  EXPECT_EQ(date(DATE_SHORTDATE, t), u"12/6/26");
  EXPECT_EQ(date(0, t), u"12/6/26");
  EXPECT_EQ(date(DATE_LONGDATE, t), u"Sunday, December 06, 2026");
  EXPECT_EQ(date(DATE_SHORTDATE, at(2005, 3, 9)), u"3/9/05");
  t.wDayOfWeek = 4;  // ignored: the day of week comes from the date
  EXPECT_EQ(date(DATE_LONGDATE | LOCALE_NOUSEROVERRIDE, t), u"Sunday, December 06, 2026");
}

TEST(DateFormat, Pictures) {
  SYSTEMTIME t = at(2009, 7, 4);
  EXPECT_EQ(date(0, t, u"d dd ddd dddd"), u"4 04 Sat Saturday");
  EXPECT_EQ(date(0, t, u"M MM MMM MMMM"), u"7 07 Jul July");
  EXPECT_EQ(date(0, t, u"y yy yyyy"), u"9 09 2009");
  EXPECT_EQ(date(0, t, u"'day' d 'of' MMMM, 'it''s' yyyy gg"), u"day 4 of July, it's 2009 A.D.");
  EXPECT_EQ(date(0, t, u"dd'.'MM'.'yy''"), u"04.07.09'");
  EXPECT_EQ(date(0, t, u"'unterminated d"), u"unterminated d");
  EXPECT_EQ(date(0, t, u""), u"");
}

TEST(TimeFormat, DeviceTimeAndItsFlags) {
  SYSTEMTIME evening = at(2026, 12, 6, 19, 37, 5);
  EXPECT_EQ(time(0, evening), u"7:37:05 PM");
  EXPECT_EQ(time(TIME_NOSECONDS, evening), u"7:37 PM");
  EXPECT_EQ(time(TIME_NOMINUTESORSECONDS, evening), u"7 PM");
  EXPECT_EQ(time(TIME_NOTIMEMARKER, evening), u"7:37:05");
  EXPECT_EQ(time(TIME_FORCE24HOURFORMAT | TIME_NOTIMEMARKER, evening), u"19:37:05");
  EXPECT_EQ(time(TIME_NOSECONDS, at(2026, 1, 1, 0, 0)), u"12:00 AM");
  EXPECT_EQ(time(TIME_NOSECONDS, at(2026, 1, 1, 12, 5)), u"12:05 PM");
}

TEST(TimeFormat, Pictures) {
  SYSTEMTIME t = at(2026, 1, 1, 9, 3, 7);
  EXPECT_EQ(time(0, t, u"hh:mm:ss t"), u"09:03:07 A");
  EXPECT_EQ(time(0, t, u"H.m.s"), u"9.3.7");
  EXPECT_EQ(time(0, at(2026, 1, 1, 21, 3, 7), u"HH 'h' mm"), u"21 h 03");
  EXPECT_EQ(time(TIME_NOSECONDS, t, u"'at' h:mm:ss tt"), u"at 9:03 AM");
}

TEST(DateTimeFormat, SizesAndBounds) {
  SYSTEMTIME t = at(2026, 12, 6, 19, 37);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, nullptr, 0), 8);
  EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, nullptr, 0), 8);
  WCHAR buffer[10];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, buffer, 8), 8);
  EXPECT_EQ(std::u16string(buffer), u"12/6/26");
  EXPECT_EQ(buffer[8], u'#');

  std::fill(std::begin(buffer), std::end(buffer), u'#');
  SetLastError(0);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, buffer, 7), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  for (WCHAR c : buffer) EXPECT_EQ(c, u'#');
  EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, buffer, 5), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  for (WCHAR c : buffer) EXPECT_EQ(c, u'#');

  // A null date or time means now.
  EXPECT_GE(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, nullptr, 0), 20);
  EXPECT_GE(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, nullptr, 0), 11);
}

TEST(DateTimeFormat, InvalidArgumentsAreRefused) {
  WCHAR buffer[40];
  SYSTEMTIME badDate = at(2026, 2, 30);
  SetLastError(0);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &badDate, nullptr, buffer, 40), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  SYSTEMTIME badTime = at(2026, 2, 1, 25);
  EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &badTime, nullptr, buffer, 40), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  // The time format reads no date fields.
  EXPECT_GT(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &badDate, nullptr, buffer, 40), 0);

  SYSTEMTIME t = at(2026, 2, 1);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE | DATE_LONGDATE, &t, nullptr, buffer, 40), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, u"d", buffer, 40), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
  EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0x100, &t, nullptr, buffer, 40), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
  EXPECT_EQ(GetDateFormatW(0x0407, 0, &t, nullptr, buffer, 40), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, nullptr, 40), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

}  // namespace
