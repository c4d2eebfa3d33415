// GetDateFormatW and GetTimeFormatW for the device's one locale, English
// (United States): short date M/d/yy, long date "dddd, MMMM dd, yyyy", time
// h:mm:ss tt. A picture is read into fields (runs of one letter) and literal
// text (everything else; 'quoted' text verbatim, '' a quote).
#include <string>
#include <vector>

#include <windows.h>

#include "kernel/Time.h"

namespace {

constexpr const char16_t* kShortDate = u"M/d/yy";
constexpr const char16_t* kLongDate = u"dddd, MMMM dd, yyyy";
constexpr const char16_t* kTime = u"h:mm:ss tt";

constexpr const char16_t* kDayNames[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                         u"Thursday", u"Friday", u"Saturday"};
constexpr const char16_t* kDayAbbreviations[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
constexpr const char16_t* kMonthNames[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                           u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr const char16_t* kMonthAbbreviations[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                   u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};

struct Token {
  WCHAR field = 0;  // 0 for literal text
  int count = 0;
  std::u16string text;
};

std::vector<Token> tokenize(const WCHAR* picture, const std::u16string& fieldLetters) {
  std::vector<Token> tokens;
  auto literal = [&]() -> std::u16string& {
    if (tokens.empty() || tokens.back().field) tokens.push_back({});
    return tokens.back().text;
  };
  for (const WCHAR* p = picture; *p;) {
    if (*p == u'\'') {
      ++p;
      if (*p == u'\'') {  // '' is a quote
        literal() += u'\'';
        ++p;
        continue;
      }
      while (*p) {
        if (*p == u'\'' && p[1] == u'\'') {
          literal() += u'\'';
          p += 2;
        } else if (*p == u'\'') {
          ++p;
          break;
        } else {
          literal() += *p++;
        }
      }
    } else if (fieldLetters.find(*p) != std::u16string::npos) {
      Token t;
      t.field = *p;
      while (*p == t.field) ++t.count, ++p;
      tokens.push_back(t);
    } else {
      literal() += *p++;
    }
  }
  return tokens;
}

// Drops the fields for which drop() holds, with the literal text between
// them and the field before (or, for a leading field, the one after).
template <typename Drop>
void dropFields(std::vector<Token>& tokens, Drop drop) {
  for (size_t i = 0; i < tokens.size();) {
    if (!tokens[i].field || !drop(tokens[i].field)) {
      ++i;
      continue;
    }
    size_t first = i;
    size_t last = i + 1;
    while (first > 0 && !tokens[first - 1].field) --first;
    if (first == 0)
      while (last < tokens.size() && !tokens[last].field) ++last;
    tokens.erase(tokens.begin() + long(first), tokens.begin() + long(last));
    i = first;
  }
}

std::u16string number(int value, int minDigits) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), char16_t(u'0' + value % 10));
    value /= 10;
  } while (value);
  while (int(digits.size()) < minDigits) digits.insert(digits.begin(), u'0');
  return digits;
}

std::u16string render(const std::vector<Token>& tokens, const SYSTEMTIME& t, bool force24) {
  std::u16string out;
  int weekday = kernel::dayOfWeek(t.wYear, t.wMonth, t.wDay);
  for (const Token& token : tokens) {
    int n = token.count;
    switch (token.field) {
      case 0:
        out += token.text;
        break;
      case u'd':
        out += n <= 2 ? number(t.wDay, n) : n == 3 ? kDayAbbreviations[weekday] : kDayNames[weekday];
        break;
      case u'M':
        out += n <= 2 ? number(t.wMonth, n) : n == 3 ? kMonthAbbreviations[t.wMonth - 1] : kMonthNames[t.wMonth - 1];
        break;
      case u'y':
        out += n <= 2 ? number(t.wYear % 100, n) : number(t.wYear, 4);
        break;
      case u'g':
        out += u"A.D.";
        break;
      case u'h':
        if (!force24) {
          out += number(t.wHour % 12 ? t.wHour % 12 : 12, n > 2 ? 2 : n);
          break;
        }
        [[fallthrough]];
      case u'H':
        out += number(t.wHour, n > 2 ? 2 : n);
        break;
      case u'm':
        out += number(t.wMinute, n > 2 ? 2 : n);
        break;
      case u's':
        out += number(t.wSecond, n > 2 ? 2 : n);
        break;
      case u't':
        out += t.wHour < 12 ? (n == 1 ? u"A" : u"AM") : (n == 1 ? u"P" : u"PM");
        break;
    }
  }
  return out;
}

bool knownLocale(LCID locale) {
  return locale == LOCALE_SYSTEM_DEFAULT || locale == LOCALE_USER_DEFAULT || locale == 0x0409;
}

// Size 0 asks for the size; otherwise the text and its terminator must fit.
int deliver(const std::u16string& text, LPWSTR buffer, int size) {
  int needed = int(text.size()) + 1;
  if (size == 0) return needed;
  if (size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  text.copy(buffer, text.size());
  buffer[text.size()] = 0;
  return needed;
}

bool checkCommon(LCID locale, LPWSTR buffer, int size) {
  if (size < 0 || (size > 0 && !buffer)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (!knownLocale(locale)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

}  // namespace

int WINAPI GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format, LPWSTR buffer,
                          int size) {
  if (!checkCommon(locale, buffer, size)) return 0;
  DWORD kinds = flags & ~DWORD(LOCALE_NOUSEROVERRIDE);
  if ((kinds & ~DWORD(DATE_SHORTDATE | DATE_LONGDATE)) || kinds == (DATE_SHORTDATE | DATE_LONGDATE) ||
      (format && kinds)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  SYSTEMTIME t;
  if (date) {
    t = *date;
  } else {
    GetLocalTime(&t);
  }
  if (!kernel::validDate(t)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const WCHAR* picture = format ? format : (kinds & DATE_LONGDATE) ? kLongDate : kShortDate;
  return deliver(render(tokenize(picture, u"dMyg"), t, false), buffer, size);
}

int WINAPI GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR format, LPWSTR buffer,
                          int size) {
  if (!checkCommon(locale, buffer, size)) return 0;
  constexpr DWORD kKnown = LOCALE_NOUSEROVERRIDE | TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER |
                           TIME_FORCE24HOURFORMAT;
  if (flags & ~kKnown) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  SYSTEMTIME t;
  if (time) {
    t = *time;
  } else {
    GetLocalTime(&t);
  }
  if (!kernel::validTime(t)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::vector<Token> tokens = tokenize(format ? format : kTime, u"hHmst");
  dropFields(tokens, [&](WCHAR field) {
    return (field == u's' && (flags & (TIME_NOSECONDS | TIME_NOMINUTESORSECONDS))) ||
           (field == u'm' && (flags & TIME_NOMINUTESORSECONDS)) || (field == u't' && (flags & TIME_NOTIMEMARKER));
  });
  return deliver(render(tokens, t, (flags & TIME_FORCE24HOURFORMAT) != 0), buffer, size);
}
