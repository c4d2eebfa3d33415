#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>

namespace {

TEST(Resources, FoundByOrdinalByNameAndByNumberText) {
  HMODULE module = GetModuleHandleW(nullptr);
  ASSERT_NE(module, nullptr);
  HRSRC byOrdinal = FindResourceW(module, MAKEINTRESOURCEW(201), RT_RCDATA);
  ASSERT_NE(byOrdinal, nullptr);
  EXPECT_EQ(SizeofResource(module, byOrdinal), 6u);  // "abc\0" and one WORD
  auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, byOrdinal)));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(std::memcmp(bytes, "abc\0\x34\x12", 6), 0);
  EXPECT_EQ(FindResourceW(module, u"#201", RT_RCDATA), byOrdinal);
  EXPECT_EQ(FindResourceW(nullptr, u"#201", u"#10"), byOrdinal);

  HRSRC byName = FindResourceW(module, u"BLOB", RT_RCDATA);
  ASSERT_NE(byName, nullptr);
  EXPECT_EQ(SizeofResource(module, byName), 5u);
  EXPECT_EQ(std::string(static_cast<const char*>(LockResource(LoadResource(module, byName))), 5), "named");
}

TEST(Resources, MissingNamesAndForeignHandlesAreRefusedWithTheirError) {
  HMODULE module = GetModuleHandleW(nullptr);
  HMODULE foreign = reinterpret_cast<HMODULE>(uintptr_t(0x20000));
  HRSRC real = FindResourceW(module, MAKEINTRESOURCEW(201), RT_RCDATA);
  auto forged = reinterpret_cast<HRSRC>(reinterpret_cast<uintptr_t>(real) + 0x1000);
  auto withError = [](const void* result) { return std::make_pair(result, GetLastError()); };
  using Got = std::pair<const void*, DWORD>;
  struct Case {
    const char* what;
    Got got;
    DWORD error;
  } cases[] = {
      {"no such name", withError(FindResourceW(module, MAKEINTRESOURCEW(999), RT_RCDATA)),
       ERROR_RESOURCE_NAME_NOT_FOUND},
      {"no such type", withError(FindResourceW(module, MAKEINTRESOURCEW(201), RT_MENU)), ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"number text too large", withError(FindResourceW(module, u"#70000", RT_RCDATA)), ERROR_RESOURCE_NAME_NOT_FOUND},
      {"longer name", withError(FindResourceW(module, u"BLOBS", RT_RCDATA)), ERROR_RESOURCE_NAME_NOT_FOUND},
      {"no name", withError(FindResourceW(module, nullptr, RT_RCDATA)), ERROR_INVALID_PARAMETER},
      {"find in a foreign module", withError(FindResourceW(foreign, MAKEINTRESOURCEW(201), RT_RCDATA)),
       ERROR_INVALID_HANDLE},
      {"forged resource", withError(LoadResource(module, forged)), ERROR_INVALID_HANDLE},
      {"made-up resource", withError(LoadResource(module, reinterpret_cast<HRSRC>(uintptr_t(0x12345678)))),
       ERROR_INVALID_HANDLE},
      {"load from a foreign module", withError(LoadResource(foreign, real)), ERROR_INVALID_HANDLE},
      {"another module", withError(GetModuleHandleW(u"coredll.dll")), ERROR_MOD_NOT_FOUND},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, Got(nullptr, c.error)) << c.what;
  EXPECT_EQ(SizeofResource(module, forged), 0u);
  int local = 0;
  EXPECT_EQ(LockResource(&local), nullptr);
}

}  // namespace
