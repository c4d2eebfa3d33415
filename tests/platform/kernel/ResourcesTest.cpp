#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>


namespace {

TEST(Resources, FoundByOrdinalByNameAndByNumberText) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC byOrdinal = FindResourceW(module, MAKEINTRESOURCEW(201), RT_RCDATA);
  ASSERT_NE(byOrdinal, nullptr);
  EXPECT_EQ(SizeofResource(module, byOrdinal), 6u);  // "abc\0" and one WORD
  auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, byOrdinal)));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(std::memcmp(bytes, "abc\0\x34\x12", 6), 0);

  EXPECT_EQ(FindResourceW(module, u"#201", RT_RCDATA), byOrdinal);
  EXPECT_EQ(FindResourceW(nullptr, u"#201", u"#10"), byOrdinal);

  HRSRC byName = FindResourceW(module, u"blob", RT_RCDATA);
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(FindResourceW(module, u"BLOB", RT_RCDATA), byName);
  EXPECT_EQ(SizeofResource(module, byName), 5u);
  auto* named = static_cast<const char*>(LockResource(LoadResource(module, byName)));
  EXPECT_EQ(std::string(named, 5), "named");
}

TEST(Resources, MissingTypeAndNameAreTold) {
  HMODULE module = GetModuleHandleW(nullptr);
  EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(999), RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(201), RT_MENU), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_TYPE_NOT_FOUND));
  EXPECT_EQ(FindResourceW(module, u"#70000", RT_RCDATA), nullptr);
  EXPECT_EQ(FindResourceW(module, u"BLOBS", RT_RCDATA), nullptr);
  EXPECT_EQ(FindResourceW(module, nullptr, RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST(Resources, ForeignHandlesAreRefused) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC real = FindResourceW(module, MAKEINTRESOURCEW(201), RT_RCDATA);
  ASSERT_NE(real, nullptr);
  auto forged = reinterpret_cast<HRSRC>(reinterpret_cast<uintptr_t>(real) + 0x1000);
  EXPECT_EQ(LoadResource(module, forged), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
  EXPECT_EQ(SizeofResource(module, forged), 0u);
  EXPECT_EQ(LoadResource(module, reinterpret_cast<HRSRC>(uintptr_t(0x12345678))), nullptr);
  EXPECT_EQ(LoadResource(reinterpret_cast<HMODULE>(uintptr_t(0x20000)), real), nullptr);
  int local = 0;
  EXPECT_EQ(LockResource(&local), nullptr);
  EXPECT_EQ(FindResourceW(reinterpret_cast<HMODULE>(uintptr_t(0x20000)), MAKEINTRESOURCEW(201), RT_RCDATA), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST(Modules, ProgramModuleIsTheOnlyOne) {
  HMODULE self = GetModuleHandleW(nullptr);
  ASSERT_NE(self, nullptr);
  EXPECT_EQ(GetModuleHandleW(nullptr), self);

  WCHAR path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  ASSERT_GT(n, 0u);
  ASSERT_LT(n, DWORD(MAX_PATH));
  EXPECT_EQ(wcslen(path), n);
  EXPECT_EQ(path[0], u'/');
  EXPECT_EQ(GetModuleHandleW(path), self);
  const WCHAR* file = wcsrchr(path, u'/') + 1;
  EXPECT_EQ(GetModuleHandleW(file), self);
  std::u16string upper(file);
  for (auto& c : upper) c = towupper(c);
  EXPECT_EQ(GetModuleHandleW((upper + u".EXE").c_str()), self);

  SetLastError(0);
  EXPECT_EQ(GetModuleHandleW(u"coredll.dll"), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
}

TEST(Modules, FileNameIsCutAndTerminatedInASmallBuffer) {
  WCHAR full[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, full, MAX_PATH);
  ASSERT_GT(n, 5u);
  WCHAR small[6];
  std::fill(std::begin(small), std::end(small), u'#');
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 5u);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::u16string(small), std::u16string(full, 4));
  EXPECT_EQ(small[5], u'#');
  EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(uintptr_t(0x20000)), full, MAX_PATH), 0u);
}

}  // namespace
