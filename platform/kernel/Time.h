// Calendar arithmetic behind the FILETIME and SYSTEMTIME functions. The
// device keeps its clock in UTC, so local time is UTC.
#pragma once

#include <cstdint>

#include <windef.h>

namespace kernel {

// FILETIME ticks (100 ns since 1 January 1601) per day.
constexpr uint64_t kTicksPerDay = 864000000000ull;

bool isLeapYear(int year);
int daysInMonth(int year, int month);
// Whether the date and time fields are in range (day of week is not read).
bool validDate(const SYSTEMTIME& t);
bool validTime(const SYSTEMTIME& t);
// 0 = Sunday.
int dayOfWeek(int year, int month, int day);

// Ticks to calendar fields; ticks must be below 2^63.
SYSTEMTIME ticksToSystemTime(uint64_t ticks);
uint64_t systemTimeToTicks(const SYSTEMTIME& t);

// The host clock as FILETIME ticks.
uint64_t nowTicks();

}  // namespace kernel
