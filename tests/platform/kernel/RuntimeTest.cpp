// The runtime the platform gives the program: local memory, handle tables,
// numbers and text conversions, formatted output, system messages, times and
// dates, wide strings and UTF.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "kernel/HandleTable.h"
#include "kernel/Utf.h"

namespace {

TEST(LocalMemory, ZeroInitGrowsAndKeepsTheContents) {
  auto* p = static_cast<unsigned char*>(LocalAlloc(LPTR, 16));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i], 0);
  p[15] = 7;
  auto* q = static_cast<unsigned char*>(LocalReAlloc(p, 64, LMEM_ZEROINIT));
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(q[15], 7);
  EXPECT_EQ(q[63], 0);
  EXPECT_EQ(LocalFree(q), nullptr);
}

TEST(HandleTable, StaleForeignAndOverflowingHandlesAreRefused) {
  kernel::HandleTable<int> table(4);
  kernel::HandleTable<int> other(5);
  HICON first = table.add<HICON>(std::make_unique<int>(1));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(*table.get(first), 1);
  EXPECT_EQ(other.get(first), nullptr);
  EXPECT_EQ(*table.remove(first), 1);
  EXPECT_EQ(table.remove(first), nullptr);
  EXPECT_EQ(table.get(reinterpret_cast<HICON>(uintptr_t(0x1'0400'0001))), nullptr);

  // Slots are reused under a new generation; a full table gives no handle rather than an alias.
  std::vector<HICON> handles;
  for (int i = 0; i < 0x10000; ++i) handles.push_back(table.add<HICON>(std::make_unique<int>(i)));
  EXPECT_EQ(table.add<HICON>(std::make_unique<int>(-1)), nullptr);
  EXPECT_EQ(table.get(first), nullptr);
  EXPECT_EQ(*table.get(handles.back()), 0xFFFF);
  table.remove(handles[7]);
  HICON reused = table.add<HICON>(std::make_unique<int>(-2));
  ASSERT_NE(reused, nullptr);
  EXPECT_EQ(*table.get(reused), -2);
  EXPECT_EQ(table.get(handles[7]), nullptr);
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

TEST(NumbersAndText, SignOnlyInRadixTenAndFcvtDigitsStayInsideTheBuffer) {
  WCHAR b[40];
  auto text = [](const WCHAR* t) { return std::u16string(t); };
  EXPECT_EQ(text(_itow(-1, b, 10)), u"-1");
  EXPECT_EQ(text(_itow(0, b, 10)), u"0");
  EXPECT_EQ(text(_ltow(INT32_MIN, b, 10)), u"-2147483648");
  EXPECT_EQ(text(_ultow(4294967295u, b, 10)), u"4294967295");
  EXPECT_EQ(text(_ltow(0xABCD, b, 16)), u"abcd");
  EXPECT_EQ(text(_ltow(-1, b, 16)), u"ffffffff");
  EXPECT_EQ(text(_itow(-2, b, 2)), u"11111111111111111111111111111110");
  EXPECT_EQ(text(_ltow(-36, b, 36)), u"1z141y4");
  // Text back to numbers: the runtime's parsing, saturated at 32 bits.
  EXPECT_EQ(_wtoi(u" 42 "), 42);
  EXPECT_EQ(_wtoi(u"+7"), 7);
  EXPECT_EQ(_wtoi(u"-99999999999999999999"), INT32_MIN);
  EXPECT_EQ(_wtoi(u"abc"), 0);
  // _fcvt: digits, point and sign, inside the buffer.
  // digits: its start, for the long ones.
  struct Case { double value; int count; const char* digits; int point; int sign; size_t size; } cases[] = {
      {2.5, 3, "2500", 1, 0, 4}, {-2.5, 3, "2500", 1, 1, 4}, {0.05, 3, "50", -1, 0, 2},
      {0.0005, 3, "1", -2, 0, 1},    // rounds up into a new digit
      {0.0004, 3, "000", 0, 0, 3},   // rounds to nothing
      {-0.0, 3, "000", 0, 1, 3}, {9.9996, 3, "10000", 2, 0, 5},
      {2.5, 0, "3", 1, 0, 1},  // half rounds up
      {1234567890123456789.0, 0, "1234567890123456800", 19, 0, 19},  // 17 significant digits
      // The runtime's markers, padded and rounded like digits: three decimals cut "1#INF" to "1#IO".
      {-kInf, 6, "1#INF00", 1, 1, 7}, {kInf, 3, "1#IO", 1, 0, 4}, {kNan, 6, "1#QNAN0", 1, 0, 7},
      {-kNan, 6, "1#IND00", 1, 1, 7}, {std::numeric_limits<double>::max(), 1000, "17976931348623157", 309, 0, 348},
      {std::numeric_limits<double>::denorm_min(), 3, "000", 0, 0, 3}, {0.5, 100000, "5", 0, 0, 348},
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

int viaList(WCHAR* buffer, const WCHAR* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  int n = wvsprintfW(buffer, pattern, args);
  va_end(args);
  return n;
}

template <typename... Args>
std::u16string format(const WCHAR* pattern, Args... args) {
  WCHAR buffer[1100];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  int n = wsprintfW(buffer, pattern, args...);
  EXPECT_EQ(size_t(n), wcslen(buffer));
  return std::u16string(buffer, size_t(n));
}

TEST(Wsprintf, IntegersStringsAndSizePrefixesAndOutputCutAt1023Characters) {
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
  // Output is cut at 1023 characters and terminated.
  std::u16string longText(2000, u'x');
  std::u16string literal(1500, u'y');
  WCHAR cut[1100];
  std::fill(std::begin(cut), std::end(cut), u'#');
  auto expectCut = [&cut](int written) {
    EXPECT_EQ(written, 1023);
    EXPECT_EQ(cut[1023], 0);
    EXPECT_EQ(cut[1024], u'#');
    std::fill(std::begin(cut), std::end(cut), u'#');
  };
  expectCut(viaList(cut, u"%s%s", longText.c_str(), u"tail"));
  expectCut(wsprintfW(cut, u"%99999d|%-*d", 1, 1000000, 2));
  expectCut(wsprintfW(cut, literal.c_str()));
  WCHAR buffer[64];
  EXPECT_EQ(viaList(buffer, u"%s=%d", u"count", 17), 8);
  EXPECT_EQ(std::u16string(buffer), u"count=17");
}

TEST(WideString, ComparisonsOrderByCodeUnitCaseMapsBothWaysAndCopiesAndSearchesActAsInTheRuntime) {
  struct Case { int (*compare)(const WCHAR*, const WCHAR*); const WCHAR* a; const WCHAR* b; int sign; } cases[] = {
      {_wcsicmp, u"Hello W\u00c9LT", u"hello w\u00e9lt", 0}, {_wcsicmp, u"apple", u"BANANA", -1},
      {[](const WCHAR* a, const WCHAR* b) { return _wcsnicmp(a, b, 6); }, u"DATAbase", u"dataBANK", 0},
      {[](const WCHAR* a, const WCHAR* b) { return _wcsnicmp(a, b, 7); }, u"DATAbase", u"dataBANK", 1},
      {[](const WCHAR* a, const WCHAR* b) { return _wcsnicmp(a, b, 7); }, u"DATABANK", u"database", -1},
      {wcscmp, u"abc", u"abc", 0}, {wcscmp, u"ab", u"abc", -1}, {wcscmp, u"abd", u"abC", 1},
      {[](const WCHAR* a, const WCHAR* b) { return wcsncmp(a, b, 2); }, u"abX", u"abY", 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    int r = cases[i].compare(cases[i].a, cases[i].b);
    EXPECT_EQ((r > 0) - (r < 0), cases[i].sign) << "case " << i;
  }
  // Letters of several alphabets map both ways.
  // The last four have no case and map to themselves.
  struct Pair { WCHAR upper; WCHAR lower; } pairs[] = {
      {u'A', u'a'}, {0x00C0, 0x00E0}, {0x0178, 0x00FF}, {0x0100, 0x0101}, {0x0391, 0x03B1}, {0x0401, 0x0451}, {0x0462, 0x0463},
      {0x0531, 0x0561}, {0x1E00, 0x1E01}, {0xFF21, 0xFF41}, {u'@', u'@'}, {0x00D7, 0x00D7}, {0x00DF, 0x00DF}, {0x4E2D, 0x4E2D}};
  for (const Pair& p : pairs) {
    EXPECT_EQ(towlower(p.upper), p.lower) << std::hex << int(p.upper);
    EXPECT_EQ(towupper(p.lower), p.upper) << std::hex << int(p.lower);
  }
  EXPECT_EQ(towupper(WCHAR(0x03C2)), WCHAR(0x03A3));  // final sigma
  // Copies, searches and appends, as the C runtime has them.
  WCHAR b[12];
  auto text = [](const WCHAR* t) { return t ? std::u16string(t) : u"<null>"; };
  const WCHAR* path = u"\\Temp\\db.cdb";
  const std::pair<std::u16string, std::u16string> calls[] = {
      {std::u16string(wcsncpy(b, u"ab", 4), 4), std::u16string(u"ab\0\0", 4)},  // padded with zeros
      {text(wcscat(wcscpy(b, u"ab"), u"cd")), u"abcd"},
      {text(wcsncpy(b, u"wxyz", 3)), u"wxyd"},  // a source that fills the count is not terminated
      {text(wcschr(path, u'\\')), path}, {text(wcschr(path, 0)), u""}, {text(wcschr(path, u'x')), u"<null>"},
      {text(wcsrchr(path, u'\\')), u"\\db.cdb"}, {text(wcsrchr(path, u'x')), u"<null>"},
      {text(wcsstr(path, u"db")), u"db.cdb"}, {text(wcsstr(path, u"")), path},
      {text(wcsstr(path, u"dbc")), u"<null>"},
      {text(_ultow(wcstoul(u" -1", nullptr, 10), b, 16)), u"ffffffff"},  // negated as unsigned
      {text(_ultow(wcstoul(u"0x1FFFFFFFF", nullptr, 0), b, 16)), u"ffffffff"},  // saturated
      {text(_ultow(wcstoul(u"017", nullptr, 0), b, 10)), u"15"},
  };
  for (size_t i = 0; i < std::size(calls); ++i) EXPECT_EQ(calls[i].first, calls[i].second) << "call " << i;
}

// Host text crosses into the device's UTF-16 here: options, scripts, files.
TEST(Utf, LenientReplacesWhatStrictRefusesAndPairsJoin) {
  struct Case { const char* name; std::string utf8; std::u16string lenient; bool strictAccepts; } cases[] = {
      {"ascii", "abc", u"abc", true}, {"two-byte", "\xC3\xA9", u"\u00E9", true},
      {"astral", "\xF0\x9F\x98\x80", u"\U0001F600", true}, {"overlong", "\xC0\xAF", u"\uFFFD\uFFFD", false},
      {"surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},
      {"truncated", "a\xE2\x82", u"a\uFFFD\uFFFD", false}, {"stray continuation", "\x80x", u"\uFFFDx", false},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(kernel::utf8ToUtf16(c.utf8), c.lenient);
    auto strict = kernel::utf8ToUtf16Strict(c.utf8);
    EXPECT_EQ(strict.has_value(), c.strictAccepts);
    if (strict) {
      EXPECT_EQ(*strict, c.lenient);
    }
  }
  EXPECT_EQ(kernel::utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(kernel::utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(kernel::utf16ToUtf8(u"\u00E9"), "\xC3\xA9");
}

constexpr DWORD kSystemAllocate = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM;
constexpr DWORD kSystemDefaultLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT);

std::u16string systemText(DWORD code) {
  WCHAR* text = nullptr;
  DWORD n = FormatMessageW(kSystemAllocate, nullptr, code, kSystemDefaultLanguage, reinterpret_cast<LPWSTR>(&text), 0,
                           nullptr);
  if (n == 0) return u"<none>";
  std::u16string result(text, n);
  EXPECT_EQ(result.size(), wcslen(text));
  EXPECT_EQ(LocalFree(text), nullptr);
  return result;
}

std::u16string formatMessage(DWORD flags, const void* source, DWORD id, DWORD language, DWORD size,
                             uintptr_t* args = nullptr) {
  WCHAR buffer[128];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  SetLastError(0);
  DWORD n = FormatMessageW(flags | (args ? FORMAT_MESSAGE_ARGUMENT_ARRAY : 0), source, id, language, buffer, size,
                           reinterpret_cast<va_list*>(args));
  if (n == 0) {
    for (WCHAR c : buffer) EXPECT_EQ(c, u'#');
    std::string code = std::to_string(GetLastError());
    return u"<error " + std::u16string(code.begin(), code.end()) + u">";
  }
  return std::u16string(buffer, n);
}

TEST(FormatMessage, SystemTextsCallerBuffersInsertsWidthsAndModuleTables) {
  EXPECT_EQ(systemText(ERROR_FILE_NOT_FOUND), u"The system cannot find the file specified.\r\n");
  for (DWORD code : {2, 3, 5, 6, 8, 13, 14, 18, 32, 38, 50, 52, 80, 87, 112, 120, 122, 123, 183, 234, 259, 1009, 1010,
                     1018, 1168, 1400, 1403, 1406, 1412, 1413, 1421, 1812, 1813, 1814}) {
    std::u16string text = systemText(code);
    ASSERT_GT(text.size(), 3u) << code;
    EXPECT_EQ(text.substr(text.size() - 3), u".\r\n") << code;
  }
  EXPECT_EQ(systemText(1234), u"<none>");
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MR_MID_NOT_FOUND));
  constexpr DWORD kSystem = FORMAT_MESSAGE_FROM_SYSTEM;
  constexpr DWORD kString = FORMAT_MESSAGE_FROM_STRING;
  constexpr DWORD kModule = FORMAT_MESSAGE_FROM_HMODULE;
  const void* self = GetModuleHandleW(nullptr);
  uintptr_t world[] = {reinterpret_cast<uintptr_t>(u"world"), 42, 0xBEEF};
  uintptr_t drive[] = {reinterpret_cast<uintptr_t>(u"C:")};
  struct Case { const char* what; std::u16string text; std::u16string expected; } cases[] = {
      {"fits", formatMessage(kSystem, nullptr, ERROR_ACCESS_DENIED, 0, 20), u"Access is denied.\r\n"},
      {"one short", formatMessage(kSystem, nullptr, ERROR_ACCESS_DENIED, 0, 19), u"<error 122>"},
      {"filled inserts", formatMessage(kString, u"Hello %1, %2!d! %3!04X!%n%%%0tail", 0, 0, 128, world),
       u"Hello world, 42 BEEF\r\n%"},
      {"width", formatMessage(kString | 10, u"one two three four%nfive six seven", 0, 0, 128),
       u"one two\r\nthree four\r\nfive six\r\nseven"},
      {"module insert", formatMessage(kModule, self, 100, 0, 128, drive), u"Disk C: is full.\r\n"},
      {"module 8-bit entry", formatMessage(kModule, self, 101, 0, 128), u"Costs \u20ac5,\r\npaid.\r\n"},
      {"module missing", formatMessage(kModule, self, 102, 0, 128), u"<error 317>"},
      {"module then system", formatMessage(kModule | kSystem, self, ERROR_ACCESS_DENIED, 0, 128), u"Access is denied.\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, c.expected) << c.what;
}

SYSTEMTIME at(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0, WORD ms = 0) {
  SYSTEMTIME t{};
  t.wYear = year, t.wMonth = month, t.wDay = day, t.wHour = hour, t.wMinute = minute, t.wSecond = second;
  t.wMilliseconds = ms;
  return t;
}

TEST(FileTime, ConvertsToSystemTimeWithTheDayOfWeekAndBack) {
  // time: its day of the week included.
  struct Case { uint64_t ticks; SYSTEMTIME time; } cases[] = {
      {0, at(1601, 1, 1)}, {134410594252500000ull, at(2026, 12, 6, 19, 37, 5, 250)},
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
    // Back again; the device's local time is its universal time.
    FILETIME local{};
    ASSERT_TRUE(SystemTimeToFileTime(&c.time, &f) && FileTimeToLocalFileTime(&f, &local));
    EXPECT_EQ((uint64_t(local.dwHighDateTime) << 32) | local.dwLowDateTime, c.ticks);
  }
  // A stored time past the last representable one is refused.
  SYSTEMTIME t;
  FILETIME last{~0u, 0x7FFFFFFF};
  FILETIME past{0, 0x80000000};
  ASSERT_TRUE(FileTimeToSystemTime(&last, &t));
  EXPECT_EQ(t.wYear, 30828);
  EXPECT_FALSE(FileTimeToSystemTime(&past, &t));
  t = at(2026, 2, 29);  // not a leap year
  EXPECT_FALSE(SystemTimeToFileTime(&t, &past) || FileTimeToLocalFileTime(nullptr, &past));
}

TEST(DateTimeFormat, FlagsPicturesAndSizesOfTheDeviceAndRefusedCalls) {
  struct Case { bool isDate; DWORD flags; SYSTEMTIME time; const WCHAR* picture; const char16_t* expected; } cases[] = {
      {true, DATE_SHORTDATE, at(2026, 12, 6), nullptr, u"12/6/26"},
      {true, 0, at(2005, 3, 9), nullptr, u"3/9/05"},
      {false, 0, at(2026, 12, 6, 19, 37, 5), nullptr, u"7:37:05 PM"},
      {false, TIME_NOSECONDS, at(2026, 12, 6, 19, 37, 5), nullptr, u"7:37 PM"},
      {false, TIME_NOSECONDS, at(2026, 1, 1), nullptr, u"12:00 AM"},
      {false, TIME_NOSECONDS, at(2026, 1, 1, 12, 5), nullptr, u"12:05 PM"},
      {false, 0, at(2026, 1, 1, 9, 3, 7), u"hh:mm:ss t|H.m.s|h:mm", u"09:03:07 A|9.3.7|9:03"},
      {false, 0, at(2026, 2, 30, 9), nullptr, u"9:00:00 AM"},  // the time reads no date fields
      {true, DATE_LONGDATE, at(2026, 12, 6), nullptr, u"Sunday, December 06, 2026"},
      {true, 0, at(2026, 12, 6), u"ddd d MMM ''yy 'o''clock' gg", u"Sun 6 Dec '26 o'clock A.D."},
      {false, 0, at(2026, 1, 1, 21, 3, 7), u"HH 'h' mm", u"21 h 03"},
      {false, TIME_FORCE24HOURFORMAT | TIME_NOMINUTESORSECONDS, at(2026, 1, 1, 21, 3, 7), nullptr, u"21 PM"},
      {false, TIME_NOTIMEMARKER, at(2026, 1, 1, 9, 3, 7), u"tt h:mm", u"9:03"},  // a leading field takes the text after it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.isDate << " " << c.flags << " " << c.time.wHour << " " << (c.picture ? "picture" : ""));
    WCHAR buffer[80];
    int n = c.isDate ? GetDateFormatW(LOCALE_USER_DEFAULT, c.flags, &c.time, c.picture, buffer, 80)
                     : GetTimeFormatW(LOCALE_SYSTEM_DEFAULT, c.flags, &c.time, c.picture, buffer, 80);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::u16string(buffer, size_t(n - 1)), c.expected);
  }
  // A size of 0 asks for the size; without a time, the current one is formatted.
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, nullptr, u"yyyy", nullptr, 0), 5);
  EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, u"HH", nullptr, 0), 3);
  SYSTEMTIME t = at(2026, 12, 6, 19, 37);
  SYSTEMTIME leapless = at(2026, 2, 29);
  SYSTEMTIME late = at(2026, 1, 1, 24);
  WCHAR buffer[8];
  auto refused = [](int result) { return result == 0 ? GetLastError() : DWORD(~0u); };
  const std::pair<DWORD, DWORD> errors[] = {
      {refused(GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &t, nullptr, buffer, 7)), ERROR_INSUFFICIENT_BUFFER},
      {refused(GetDateFormatW(0x0407, 0, &t, nullptr, buffer, 8)), ERROR_INVALID_PARAMETER},  // the one locale only
      {refused(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, nullptr, 8)), ERROR_INVALID_PARAMETER},
      {refused(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE | DATE_LONGDATE, &t, nullptr, buffer, 8)), ERROR_INVALID_FLAGS},
      {refused(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, u"d", buffer, 8)), ERROR_INVALID_FLAGS},
      {refused(GetTimeFormatW(LOCALE_USER_DEFAULT, 0x80, &t, nullptr, buffer, 8)), ERROR_INVALID_FLAGS},
      {refused(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &leapless, nullptr, buffer, 8)), ERROR_INVALID_PARAMETER},
      {refused(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &late, nullptr, buffer, 8)), ERROR_INVALID_PARAMETER},
  };
  for (size_t i = 0; i < std::size(errors); ++i) EXPECT_EQ(errors[i].first, errors[i].second) << "call " << i;
}

}  // namespace
