#include "kernel/Time.h"

#include <time.h>

#include <windows.h>

namespace kernel {
namespace {

constexpr uint64_t kTicksPerMillisecond = 10000;
// Days from 1 January 1601 to 1 January 1970.
constexpr int64_t kDaysTo1970 = 134774;

// Days since 1 March of year 0 of the proleptic Gregorian calendar, the
// usual era-based conversion.
int64_t daysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  d = int(doy - (153 * mp + 2) / 5 + 1);
  m = int(mp < 10 ? mp + 3 : mp - 9);
  y = int(yoe + era * 400 + (m <= 2));
}

const int64_t kEpoch1601 = daysFromCivil(1601, 1, 1);

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool validDate(const SYSTEMTIME& t) {
  return t.wYear >= 1601 && t.wYear <= 30827 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
         t.wDay <= daysInMonth(t.wYear, t.wMonth);
}

bool validTime(const SYSTEMTIME& t) {
  return t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60 && t.wMilliseconds < 1000;
}

int dayOfWeek(int year, int month, int day) {
  // 1 January 1601 was a Monday.
  return int((daysFromCivil(year, month, day) - kEpoch1601 + 1) % 7);
}

SYSTEMTIME ticksToSystemTime(uint64_t ticks) {
  uint64_t days = ticks / kTicksPerDay;
  uint64_t ms = (ticks % kTicksPerDay) / kTicksPerMillisecond;
  int y, m, d;
  civilFromDays(kEpoch1601 + int64_t(days), y, m, d);
  SYSTEMTIME t{};
  t.wYear = WORD(y);
  t.wMonth = WORD(m);
  t.wDay = WORD(d);
  t.wDayOfWeek = WORD((days + 1) % 7);
  t.wHour = WORD(ms / 3600000);
  t.wMinute = WORD(ms / 60000 % 60);
  t.wSecond = WORD(ms / 1000 % 60);
  t.wMilliseconds = WORD(ms % 1000);
  return t;
}

uint64_t systemTimeToTicks(const SYSTEMTIME& t) {
  uint64_t days = uint64_t(daysFromCivil(t.wYear, t.wMonth, t.wDay) - kEpoch1601);
  uint64_t ms = ((uint64_t(t.wHour) * 60 + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds;
  return days * kTicksPerDay + ms * kTicksPerMillisecond;
}

uint64_t nowTicks() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  int64_t seconds = int64_t(now.tv_sec) + kDaysTo1970 * 86400;
  return uint64_t(seconds) * 10000000ull + uint64_t(now.tv_nsec) / 100;
}

}  // namespace kernel

namespace {

uint64_t ticksOf(const FILETIME& f) { return uint64_t(f.dwHighDateTime) << 32 | f.dwLowDateTime; }

FILETIME fileTimeOf(uint64_t ticks) { return FILETIME{DWORD(ticks), DWORD(ticks >> 32)}; }

}  // namespace

BOOL WINAPI FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
  if (!fileTime || !systemTime || ticksOf(*fileTime) >= 0x8000000000000000ull) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *systemTime = kernel::ticksToSystemTime(ticksOf(*fileTime));
  return TRUE;
}

BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
  if (!systemTime || !fileTime || !kernel::validDate(*systemTime) || !kernel::validTime(*systemTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *fileTime = fileTimeOf(kernel::systemTimeToTicks(*systemTime));
  return TRUE;
}

// The device's time zone is UTC.
BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
  if (!fileTime || !localFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *localFileTime = *fileTime;
  return TRUE;
}

void WINAPI GetSystemTime(LPSYSTEMTIME systemTime) {
  if (systemTime) *systemTime = kernel::ticksToSystemTime(kernel::nowTicks());
}

void WINAPI GetLocalTime(LPSYSTEMTIME systemTime) { GetSystemTime(systemTime); }
