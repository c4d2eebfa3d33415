// Reads this module's resources through the platform's public calls; the
// platform's own readers, the ones the device uses, then decode them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources_test {

using Bytes = std::vector<uint8_t>;

// The bytes of resource id of type in this module; nullopt when missing.
inline std::optional<Bytes> loadResource(LPCWSTR type, int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  const auto* data = found ? static_cast<const uint8_t*>(LockResource(LoadResource(module, found))) : nullptr;
  if (data == nullptr) return std::nullopt;
  return Bytes(data, data + SizeofResource(module, found));
}

// For messages: the texts here are ASCII.
inline std::string narrow(const std::u16string& text) {
  std::string result;
  for (char16_t unit : text) result.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  return result;
}

}  // namespace resources_test
