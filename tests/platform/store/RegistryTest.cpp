#include "StoreFixture.h"

using namespace storetest;

namespace {

class RegistryTest : public StoreTest {};

HKEY create(HKEY root, const WCHAR* path, DWORD* disposition = nullptr) {
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, 0, nullptr, &key, disposition), ERROR_SUCCESS);
  return key;
}

std::vector<std::u16string> subkeys(HKEY key) {
  std::vector<std::u16string> names;
  WCHAR name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = 256;
    LONG result = RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    EXPECT_EQ(result, ERROR_SUCCESS);
    EXPECT_EQ(size, std::char_traits<char16_t>::length(name));
    names.push_back(name);
  }
  return names;
}

}  // namespace

TEST_F(RegistryTest, KeysAreCreatedCaseInsensitivelyAndEnumeratedInCreationOrder) {
  DWORD disposition = 0;
  HKEY key = create(HKEY_LOCAL_MACHINE, u"Software\\Tarniwell\\Vantor", &disposition);
  EXPECT_EQ(disposition, DWORD{REG_CREATED_NEW_KEY});
  RegCloseKey(key);
  key = create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\tarniwell\\VANTOR", &disposition);
  EXPECT_EQ(disposition, DWORD{REG_OPENED_EXISTING_KEY}) << "paths are case-insensitive";
  RegCloseKey(key);
  HKEY opened = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\TARNIWELL", 0, 0, &opened), ERROR_SUCCESS);
  EXPECT_EQ(subkeys(opened), std::vector<std::u16string>{u"Vantor"}) << "names keep their case";
  RegCloseKey(opened);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Tarniwell", 0, 0, &opened), ERROR_FILE_NOT_FOUND)
      << "roots are separate";

  // Keys and values are enumerated in creation order.
  key = create(HKEY_LOCAL_MACHINE, u"Enum");
  for (const WCHAR* name : {u"Zeta", u"alpha", u"Mid"}) RegCloseKey(create(key, name));
  EXPECT_EQ(subkeys(key), (std::vector<std::u16string>{u"Zeta", u"alpha", u"Mid"}));
  DWORD one = 1;
  RegSetValueExW(key, u"First", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);
  RegSetValueExW(key, u"Second", 0, REG_SZ, reinterpret_cast<const BYTE*>(u"hi"), 6);
  RegSetValueExW(key, u"first", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4);  // same value
  std::vector<std::u16string> names;
  WCHAR name[32];
  for (DWORD i = 0, size = 32; RegEnumValueW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, size = 32)
    names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"first", u"Second"}));
  DWORD tinySize = 3;
  EXPECT_EQ(RegEnumValueW(key, 1, name, &tinySize, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  tinySize = 3;
  EXPECT_EQ(RegEnumKeyExW(key, 0, name, &tinySize, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  EXPECT_EQ(RegEnumValueW(key, 2, name, &tinySize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);
}

TEST_F(RegistryTest, QueriesReportTypeAndSizeAndHonourSmallAndNullBuffers) {
  HKEY key = create(HKEY_LOCAL_MACHINE, u"Software\\Tarniwell\\Vantor");
  std::vector<BYTE> font(92);
  for (size_t i = 0; i < font.size(); ++i) font[i] = static_cast<BYTE>(i * 7 + 1);
  ASSERT_EQ(RegSetValueExW(key, u"Font", 0, REG_BINARY, font.data(), 92), ERROR_SUCCESS);

  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Font", nullptr, &type, nullptr, &size), ERROR_SUCCESS) << "null asks the size";
  EXPECT_EQ(type, DWORD{REG_BINARY});
  EXPECT_EQ(size, 92u);
  std::vector<BYTE> small(10, 0xEE);
  size = 10;
  EXPECT_EQ(RegQueryValueExW(key, u"Font", nullptr, &type, small.data(), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 92u);
  std::vector<BYTE> back(100, 0);
  size = 100;
  EXPECT_EQ(RegQueryValueExW(key, u"FONT", nullptr, &type, back.data(), &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 92u);
  EXPECT_TRUE(std::equal(font.begin(), font.end(), back.begin())) << "92 bytes round-trip";
  EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, &type, back.data(), &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(key, u"Font", nullptr, &type, back.data(), nullptr), ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
}

TEST_F(RegistryTest, ValuesOfEveryTypeAreStoredByteForByteAndOverwritten) {
  HKEY key = create(HKEY_CURRENT_USER, u"Types");
  struct Case {
    const WCHAR* name;
    DWORD type;
    std::vector<BYTE> data;
  };
  std::vector<Case> cases = {
      {u"none", REG_NONE, {}},
      {u"sz", REG_SZ, {'a', 0, 'b', 0, 0, 0}},
      {u"dword", REG_DWORD, {1, 2, 3, 4}},
      {u"multi", REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}},
      {u"odd sz without terminator", REG_SZ, {'a', 0, 'b'}},
      {u"", REG_SZ, {'d', 0, 0, 0}},
  };
  for (const Case& c : cases)
    ASSERT_EQ(RegSetValueExW(key, c.name, 0, c.type, c.data.data(), static_cast<DWORD>(c.data.size())),
              ERROR_SUCCESS);
  reopen();
  HKEY again = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"types", 0, 0, &again), ERROR_SUCCESS);
  for (const Case& c : cases) {
    std::vector<BYTE> back(64, 0xEE);
    DWORD type = 0, size = 64;
    ASSERT_EQ(RegQueryValueExW(again, c.name, nullptr, &type, back.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, c.type);
    back.resize(size);
    EXPECT_EQ(back, c.data);
  }
  BYTE replaced[2] = {9, 9};
  ASSERT_EQ(RegSetValueExW(again, u"DWORD", 0, REG_BINARY, replaced, 2), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  RegQueryValueExW(again, u"dword", nullptr, &type, nullptr, &size);
  EXPECT_EQ(type, DWORD{REG_BINARY});
  EXPECT_EQ(size, 2u);
  RegCloseKey(again);
}

TEST_F(RegistryTest, DeletedAndClosedKeysAreRefused) {
  HKEY key = create(HKEY_LOCAL_MACHINE, u"Doomed\\Child\\Grandchild");
  BYTE b = 1;
  RegSetValueExW(key, u"v", 0, REG_BINARY, &b, 1);
  HKEY parent = create(HKEY_LOCAL_MACHINE, u"Doomed");
  RegSetValueExW(parent, u"w", 0, REG_BINARY, &b, 1);
  EXPECT_EQ(RegDeleteValueW(parent, u"W"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(parent, u"w"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"doomed\\CHILD"), ERROR_SUCCESS);
  HKEY gone = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Doomed\\Child\\Grandchild", 0, 0, &gone), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueExW(key, u"v", 0, REG_BINARY, &b, 1), ERROR_KEY_DELETED) << "a handle to a deleted key";
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Doomed\\Child"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u""), ERROR_INVALID_PARAMETER) << "a root stays";
  RegCloseKey(key);
  // A closed or made-up handle is stale; closing a root does nothing.
  ASSERT_EQ(RegCloseKey(parent), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(parent, u"v", 0, REG_BINARY, &b, 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(parent), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Doomed", 0, 0, &parent), ERROR_SUCCESS);
  RegCloseKey(parent);
}
