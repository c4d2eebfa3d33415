// Reads this module's resources through the platform's public calls; the
// dialog templates, menus, menu bar and images are then decoded by the
// platform's own readers, the ones the device uses.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources_test {

using Bytes = std::vector<uint8_t>;

// The bytes of resource `id` of `type` in this module; nullopt when missing.
std::optional<Bytes> loadResource(LPCWSTR type, int id);

// The text of string-table entry `id`, read with LoadStringW into a buffer.
std::u16string loadString(UINT id);

// The little-endian word at offset; the caller keeps offset + 2 in bounds.
uint16_t wordAt(const Bytes& bytes, size_t offset);

// For messages: UTF-16 to UTF-8 (the texts here are ASCII).
std::string narrow(const std::u16string& text);

}  // namespace resources_test
