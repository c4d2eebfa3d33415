#include "ResourceReader.h"

namespace resources_test {

std::optional<Bytes> loadResource(LPCWSTR type, int id) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (found == nullptr) return std::nullopt;
  DWORD size = SizeofResource(module, found);
  HGLOBAL handle = LoadResource(module, found);
  const auto* data = static_cast<const uint8_t*>(LockResource(handle));
  if (data == nullptr) return std::nullopt;
  return Bytes(data, data + size);
}

std::u16string loadString(UINT id) {
  WCHAR buffer[256] = {};
  INT_PTR length = LoadStringW(GetModuleHandleW(nullptr), id, buffer, 256);
  return std::u16string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

uint16_t wordAt(const Bytes& bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::string narrow(const std::u16string& text) {
  std::string result;
  for (char16_t unit : text) result.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  return result;
}

}  // namespace resources_test
