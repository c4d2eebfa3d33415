#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::u16string load(UINT id, int size = 128) {
  WCHAR buffer[128];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  INT_PTR n = LoadStringW(nullptr, id, buffer, size);
  EXPECT_EQ(size_t(n), wcslen(buffer));
  EXPECT_EQ(buffer[size_t(n) + 1], u'#') << id;
  return std::u16string(buffer, size_t(n));
}

// The counted string itself, as a null buffer gives it.
std::u16string counted(UINT id) {
  auto* text = reinterpret_cast<const WCHAR*>(LoadStringW(nullptr, id, nullptr, 0));
  if (!text) return u"<none>";
  const WCHAR* viaBuffer = nullptr;  // the desktop form: the buffer receives the pointer
  EXPECT_EQ(LoadStringW(nullptr, id, reinterpret_cast<LPWSTR>(&viaBuffer), 0), reinterpret_cast<const WORD*>(text)[-1]);
  EXPECT_EQ(viaBuffer, text);
  return std::u16string(text, reinterpret_cast<const WORD*>(text)[-1]);
}

TEST(LoadString, EmptyEntryIsFoundAndMissingOneIsNot) {
  struct Case {
    UINT id;
    int size;
    const char16_t* copied;
    const char16_t* inPlace;
  } cases[] = {
      {1, 128, u"One", u"One"},
      {2, 128, u"", u""},  // an empty entry is found
      {3, 128, u"Three", u"Three"},
      {17, 128, u"Seventeen", u"Seventeen"},
      {1015, 128, u"Tools", u"Tools"},
      {40, 6, u"A str", u"A string that is longer than the small buffers of the tests"},  // cut and terminated
      {40, 1, u"", u"A string that is longer than the small buffers of the tests"},
      {500, 128, u"", u"<none>"},  // no block holds 500
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(load(c.id, c.size), c.copied);
    EXPECT_EQ(counted(c.id), c.inPlace);
  }
  const WCHAR* untouched = u"x";
  EXPECT_EQ(LoadStringW(nullptr, 500, reinterpret_cast<LPWSTR>(&untouched), 0), 0);
  EXPECT_EQ(std::u16string(untouched), u"x");
  EXPECT_NE(LoadStringW(GetModuleHandleW(nullptr), 1015, nullptr, 0), 0);

  WCHAR buffer[8];
  EXPECT_EQ(LoadStringW(reinterpret_cast<HINSTANCE>(uintptr_t(0x20000)), 1, buffer, 8), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(LoadStringW(nullptr, 1, nullptr, 8), 0);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

}  // namespace
