#include <tuple>

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

TEST_F(RegistryTest, KeysAreCreatedCaseInsensitivelyEnumeratedInCreationOrderAndDeletedWithTheirSubkeys) {
  DWORD disposition = 0;
  HKEY key = create(HKEY_LOCAL_MACHINE, u"Software\\Tarniwell\\Vantor", &disposition);
  EXPECT_EQ(disposition, DWORD{REG_CREATED_NEW_KEY});
  RegCloseKey(key);
  key = create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\tarniwell\\VANTOR", &disposition);
  EXPECT_EQ(disposition, DWORD{REG_OPENED_EXISTING_KEY}) << "paths are case-insensitive";
  RegCloseKey(key);
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\TARNIWELL", 0, 0, &opened), ERROR_SUCCESS);
  EXPECT_EQ(subkeys(opened), std::vector<std::u16string>{u"Vantor"}) << "names keep their case";
  RegCloseKey(opened);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Tarniwell", 0, 0, &opened), ERROR_FILE_NOT_FOUND)
      << "roots are separate";

  // Keys and values are enumerated in creation order.
  key = create(HKEY_LOCAL_MACHINE, u"Enum");
  for (const WCHAR* name : {u"Zeta", u"alpha", u"Mid"}) RegCloseKey(create(key, name));
  EXPECT_EQ(subkeys(key), (std::vector<std::u16string>{u"Zeta", u"alpha", u"Mid"}));
  BYTE one[4] = {1};
  for (const WCHAR* value : {u"First", u"Second", u"first"}) RegSetValueExW(key, value, 0, REG_DWORD, one, 4);
  std::vector<std::u16string> names;
  WCHAR name[32];
  for (DWORD i = 0, size = 32; RegEnumValueW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, size = 32)
    names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"first", u"Second"}));
  DWORD tinySize = 3;
  EXPECT_EQ(RegEnumValueW(key, 1, name, &tinySize, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
  EXPECT_EQ(RegEnumValueW(key, 2, name, &tinySize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
  RegCloseKey(key);

  // A deleted key takes its subkeys with it; handles to them and closed ones are refused.
  key = create(HKEY_LOCAL_MACHINE, u"Doomed\\Child\\Grandchild");
  BYTE b = 1;
  HKEY parent = create(HKEY_LOCAL_MACHINE, u"Doomed");
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"doomed\\CHILD"), ERROR_SUCCESS);
  HKEY gone = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Doomed\\Child\\Grandchild", 0, 0, &gone), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueExW(key, u"v", 0, REG_BINARY, &b, 1), ERROR_KEY_DELETED) << "a handle to a deleted key";
  EXPECT_EQ(RegDeleteValueW(key, u"v"), ERROR_KEY_DELETED);
  RegCloseKey(key);
  ASSERT_EQ(RegCloseKey(parent), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(parent, u"v", 0, REG_BINARY, &b, 1), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, ValuesAreStoredByteForByteQueriedWithSmallAndNullBuffersAndDeleted) {
  HKEY key = create(HKEY_LOCAL_MACHINE, u"Software\\Tarniwell\\Vantor");
  std::vector<BYTE> font(92);
  for (size_t i = 0; i < font.size(); ++i) font[i] = static_cast<BYTE>(i * 7 + 1);
  const std::tuple<const WCHAR*, DWORD, std::vector<BYTE>> values[] = {
      {u"Font", REG_BINARY, font}, {u"none", REG_NONE, {}}, {u"sz", REG_SZ, {'a', 0, 'b', 0, 0, 0}},
      {u"odd sz without terminator", REG_SZ, {'a', 0, 'b'}}, {u"", REG_SZ, {'d', 0, 0, 0}}};
  for (auto& [name, type, data] : values)
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
  RegCloseKey(key);
  reopen();
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\tarniwell\\vantor", 0, 0, &key), ERROR_SUCCESS);
  for (auto& [name, type, data] : values) {
    std::vector<BYTE> back(100, 0xEE);
    DWORD typeBack = 0, size = 100;
    ASSERT_EQ(RegQueryValueExW(key, name, nullptr, &typeBack, back.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(typeBack, type);
    back.resize(size);
    EXPECT_EQ(back, data);
  }
  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"FONT", nullptr, &type, nullptr, &size), ERROR_SUCCESS) << "null asks the size";
  EXPECT_EQ(size, 92u);
  std::vector<BYTE> small(10, 0xEE);
  size = 10;
  EXPECT_EQ(RegQueryValueExW(key, u"Font", nullptr, &type, small.data(), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 92u);
  EXPECT_EQ(small, std::vector<BYTE>(10, 0xEE)) << "nothing written to the small buffer";
  EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, &type, small.data(), &size), ERROR_FILE_NOT_FOUND);
  // Overwriting replaces the type and the data.
  ASSERT_EQ(RegSetValueExW(key, u"FONT", 0, REG_DWORD, font.data(), 4), ERROR_SUCCESS);
  RegQueryValueExW(key, u"font", nullptr, &type, nullptr, &size);
  EXPECT_EQ(type, DWORD{REG_DWORD});
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(RegDeleteValueW(key, u"font"), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(key, u"Font", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueW(key, u"Font"), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}
