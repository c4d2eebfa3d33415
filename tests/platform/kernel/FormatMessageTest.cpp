#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

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

TEST(FormatMessage, AllocatesTheSystemTextWithItsLineBreakForEveryCodeThePlatformReports) {
  EXPECT_EQ(systemText(ERROR_FILE_NOT_FOUND), u"The system cannot find the file specified.\r\n");
  EXPECT_EQ(systemText(ERROR_RESOURCE_NAME_NOT_FOUND), u"The specified resource name cannot be found in the image file.\r\n");
  for (DWORD code : {2, 3, 5, 6, 8, 13, 14, 18, 32, 38, 50, 52, 80, 87, 112, 120, 122, 123, 183, 234, 259, 1009, 1010,
                     1018, 1168, 1400, 1403, 1406, 1412, 1413, 1421, 1812, 1813, 1814}) {
    std::u16string text = systemText(code);
    ASSERT_GT(text.size(), 3u) << code;
    EXPECT_EQ(text.substr(text.size() - 3), u".\r\n") << code;
  }
  EXPECT_EQ(systemText(1234), u"<none>");
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MR_MID_NOT_FOUND));
}

std::u16string format(DWORD flags, const void* source, DWORD id, DWORD language, DWORD size,
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

TEST(FormatMessage, CallerBuffersInsertsWidthsAndModuleTables) {
  constexpr DWORD kSystem = FORMAT_MESSAGE_FROM_SYSTEM;
  constexpr DWORD kString = FORMAT_MESSAGE_FROM_STRING;
  constexpr DWORD kModule = FORMAT_MESSAGE_FROM_HMODULE;
  const void* self = GetModuleHandleW(nullptr);
  uintptr_t world[] = {reinterpret_cast<uintptr_t>(u"world"), 42, 0xBEEF};
  uintptr_t drive[] = {reinterpret_cast<uintptr_t>(u"C:")};
  struct Case {
    const char* what;
    std::u16string text;
    std::u16string expected;
  } cases[] = {
      {"fits", format(kSystem, nullptr, ERROR_ACCESS_DENIED, 0, 20), u"Access is denied.\r\n"},
      {"one short", format(kSystem, nullptr, ERROR_ACCESS_DENIED, 0, 19), u"<error 122>"},
      {"kept inserts", format(kSystem | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_MR_MID_NOT_FOUND, 0, 128),
       u"The system cannot find message text for message number 0x%1 in the message file for %2.\r\n"},
      {"filled inserts", format(kString, u"Hello %1, %2!d! %3!04X!%n%%%0tail", 0, 0, 128, world),
       u"Hello world, 42 BEEF\r\n%"},
      {"width", format(kString | 10, u"one two three four%nfive six seven", 0, 0, 128),
       u"one two\r\nthree four\r\nfive six\r\nseven"},
      {"module insert", format(kModule, self, 100, 0, 128, drive), u"Disk C: is full.\r\n"},
      {"module 8-bit entry", format(kModule, self, 101, 0, 128), u"Costs \u20ac5,\r\npaid.\r\n"},
      {"module missing", format(kModule, self, 102, 0, 128), u"<error 317>"},
      {"module then system", format(kModule | kSystem, self, ERROR_ACCESS_DENIED, 0, 128), u"Access is denied.\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, c.expected) << c.what;
}

}  // namespace
