// The device's registry, kept in the device image: keys named
// case-insensitively, values stored byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

namespace store {

struct RegValue {
  std::u16string name;
  DWORD type = 0;
  std::vector<uint8_t> data;
};

class Registry {
 public:
  // Keys are identified by their row id; 0 is none. Results are Win32
  // error codes.
  LONG rootKey(HKEY predefined, int64_t& key) const;
  bool keyExists(int64_t key);
  // Opens (or with create, creates) the key at path below key.
  LONG openKey(int64_t key, const std::u16string& path, bool create, int64_t& result, bool& created);
  LONG deleteKey(int64_t key, const std::u16string& path);
  LONG queryValue(int64_t key, const std::u16string& name, RegValue& value);
  LONG setValue(int64_t key, const std::u16string& name, DWORD type, const uint8_t* data, size_t size);
  LONG deleteValue(int64_t key, const std::u16string& name);
  // index-th subkey / value in creation order; ERROR_NO_MORE_ITEMS past them.
  LONG enumKey(int64_t key, DWORD index, std::u16string& name);
  LONG enumValue(int64_t key, DWORD index, RegValue& value);
};

Registry& registry();

// The longest key name and value name the device accepts, in characters.
constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;

}  // namespace store
