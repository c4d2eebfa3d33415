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

TEST(FormatMessage, AllocatesTheSystemTextWithItsLineBreak) {
  struct Case {
    DWORD code;
    const char16_t* text;
  } cases[] = {
      {ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified.\r\n"},
      {ERROR_ACCESS_DENIED, u"Access is denied.\r\n"},
      {ERROR_NOT_FOUND, u"Element not found.\r\n"},
      {ERROR_INVALID_WINDOW_HANDLE, u"Invalid window handle.\r\n"},
      {ERROR_RESOURCE_NAME_NOT_FOUND, u"The specified resource name cannot be found in the image file.\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(systemText(c.code), c.text) << c.code;
}

TEST(FormatMessage, EveryCodeThePlatformReportsHasAText) {
  for (DWORD code : {2, 3, 5, 6, 8, 13, 14, 18, 32, 38, 50, 52, 80, 87, 112, 120, 122, 123, 183, 234, 259, 1009, 1010,
                     1018, 1168, 1400, 1403, 1406, 1412, 1413, 1421, 1812, 1813, 1814}) {
    std::u16string text = systemText(code);
    ASSERT_GT(text.size(), 3u) << code;
    EXPECT_EQ(text.substr(text.size() - 3), u".\r\n") << code;
  }
}

TEST(FormatMessage, UnknownCodeOrLanguageFailsWithItsError) {
  WCHAR* text = nullptr;
  SetLastError(0);
  EXPECT_EQ(FormatMessageW(kSystemAllocate, nullptr, 1234, kSystemDefaultLanguage, reinterpret_cast<LPWSTR>(&text),
                           0, nullptr),
            0u);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MR_MID_NOT_FOUND));
  // A known code in a language the device does not have.
  WCHAR buffer[64];
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, MAKELANGID(0x07, SUBLANG_DEFAULT),
                           buffer, 64, nullptr),
            0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_LANG_NOT_FOUND));
}

TEST(FormatMessage, CallerBufferIsFilledOnlyWhenTheTextFits) {
  const std::u16string expected = u"Access is denied.\r\n";
  WCHAR buffer[32];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, buffer, DWORD(expected.size() + 1),
                           nullptr),
            expected.size());
  EXPECT_EQ(std::u16string(buffer), expected);

  std::fill(std::begin(buffer), std::end(buffer), u'#');
  SetLastError(0);
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, buffer, DWORD(expected.size()),
                           nullptr),
            0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  for (WCHAR c : buffer) EXPECT_EQ(c, u'#');
}

TEST(FormatMessage, InsertsAreKeptOrFilled) {
  WCHAR buffer[128];
  // 317 is the one system text with inserts.
  ASSERT_GT(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_MR_MID_NOT_FOUND,
                           0, buffer, 128, nullptr),
            0u);
  EXPECT_EQ(std::u16string(buffer),
            u"The system cannot find message text for message number 0x%1 in the message file for %2.\r\n");

  uintptr_t args[] = {reinterpret_cast<uintptr_t>(u"world"), 42, 0xBEEF};
  ASSERT_GT(FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, u"Hello %1, %2!d! %3!04X!%n%%%0tail",
                           0, 0, buffer, 128, reinterpret_cast<va_list*>(args)),
            0u);
  EXPECT_EQ(std::u16string(buffer), u"Hello world, 42 BEEF\r\n%");

  SetLastError(0);
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, u"%1 and %2", 0, 0, buffer, 128,
                           nullptr),
            0u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

std::u16string fromModule(DWORD flags, DWORD id, uintptr_t* args = nullptr) {
  WCHAR buffer[128];
  DWORD n = FormatMessageW(flags | FORMAT_MESSAGE_FROM_HMODULE | (args ? FORMAT_MESSAGE_ARGUMENT_ARRAY : 0),
                           GetModuleHandleW(nullptr), id, 0, buffer, 128, reinterpret_cast<va_list*>(args));
  return n ? std::u16string(buffer, n) : u"<none>";
}

TEST(FormatMessage, ModuleMessageTablesComeBeforeTheSystem) {
  uintptr_t args[] = {reinterpret_cast<uintptr_t>(u"C:")};
  EXPECT_EQ(fromModule(0, 100, args), u"Disk C: is full.\r\n");
  EXPECT_EQ(fromModule(FORMAT_MESSAGE_IGNORE_INSERTS, 100), u"Disk %1 is full.\r\n");
  EXPECT_EQ(fromModule(0, 101), u"Costs \u20ac5,\r\npaid.\r\n");  // an 8-bit entry
  EXPECT_EQ(fromModule(0, 0x20000000), u"Custom code.\r\n");
  EXPECT_EQ(fromModule(0, 102), u"<none>");
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MR_MID_NOT_FOUND));
  EXPECT_EQ(fromModule(0, ERROR_ACCESS_DENIED), u"<none>");
  EXPECT_EQ(fromModule(FORMAT_MESSAGE_FROM_SYSTEM, ERROR_ACCESS_DENIED), u"Access is denied.\r\n");
}

TEST(FormatMessage, WidthReplacesTheTextsLineBreaks) {
  EXPECT_EQ(fromModule(FORMAT_MESSAGE_MAX_WIDTH_MASK, 101), u"Costs \u20ac5, paid. ");
  // A width breaks lines at spaces; %n breaks stay where they are.
  WCHAR buffer[128];
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_STRING | 10, u"one two three four%nfive six seven", 0, 0, buffer, 128,
                           nullptr);
  EXPECT_EQ(std::u16string(buffer, n), u"one two\r\nthree four\r\nfive six\r\nseven");
}

}  // namespace
