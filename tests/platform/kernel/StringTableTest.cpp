#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::u16string load(UINT id, int size = 128) {
  WCHAR buffer[128];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  INT_PTR n = LoadStringW(nullptr, id, buffer, size);
  EXPECT_EQ(size_t(n), wcslen(buffer));
  return std::u16string(buffer, size_t(n));
}

TEST(LoadString, CopiesStringsFromSeveralBlocksCutToTheBuffer) {
  EXPECT_EQ(load(1), u"One");
  EXPECT_EQ(load(3), u"Three");
  EXPECT_EQ(load(17), u"Seventeen");
  EXPECT_EQ(load(1015), u"Tools");
  EXPECT_NE(LoadStringW(GetModuleHandleW(nullptr), 1015, nullptr, 0), 0);

  // A small buffer gets the start of the string, terminated.
  WCHAR buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(LoadStringW(nullptr, 40, buffer, 6), 5);
  EXPECT_EQ(std::u16string(buffer), u"A str");
  EXPECT_EQ(buffer[6], u'#');
  EXPECT_EQ(LoadStringW(nullptr, 40, buffer, 1), 0);
  EXPECT_EQ(buffer[0], 0);
}

TEST(LoadString, NullBufferGivesTheCountedStringInPlace) {
  auto* text = reinterpret_cast<const WCHAR*>(LoadStringW(nullptr, 17, nullptr, 0));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(reinterpret_cast<const WORD*>(text)[-1], 9);
  EXPECT_EQ(std::u16string(text, 9), u"Seventeen");

  // The desktop form: the buffer receives the pointer and the result is the length.
  const WCHAR* viaBuffer = nullptr;
  EXPECT_EQ(LoadStringW(nullptr, 17, reinterpret_cast<LPWSTR>(&viaBuffer), 0), 9);
  EXPECT_EQ(viaBuffer, text);
}

TEST(LoadString, EmptyEntryIsFoundAndMissingOneIsNot) {
  auto* empty = reinterpret_cast<const WCHAR*>(LoadStringW(nullptr, 2, nullptr, 0));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(reinterpret_cast<const WORD*>(empty)[-1], 0);
  EXPECT_EQ(load(2), u"");

  EXPECT_EQ(LoadStringW(nullptr, 500, nullptr, 0), 0);  // no block holds 500
  EXPECT_EQ(load(500), u"");
  const WCHAR* untouched = u"x";
  EXPECT_EQ(LoadStringW(nullptr, 500, reinterpret_cast<LPWSTR>(&untouched), 0), 0);
  EXPECT_EQ(std::u16string(untouched), u"x");
}

TEST(LoadString, RefusesAForeignModuleAndANullBufferWithASize) {
  WCHAR buffer[8];
  EXPECT_EQ(LoadStringW(reinterpret_cast<HINSTANCE>(uintptr_t(0x20000)), 1, buffer, 8), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(LoadStringW(nullptr, 1, nullptr, 8), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

}  // namespace
