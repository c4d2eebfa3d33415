// Reads this module's resources through the platform's public calls. The
// dialog templates, menus, menu bar and images are decoded by the platform's
// own readers, the ones the device uses; only the icon directory, whose
// reader the kernel keeps to itself, and the version resource, which the
// platform never reads, are decoded here. Both decoders are bounded, so a
// truncated resource fails a test instead of reading past its end.
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

struct IconEntry {
  uint8_t width, height, colourCount;
  uint16_t planes, bitCount;
  uint32_t bytesInResource;
  uint16_t iconId;
};

// Fails unless the group holds exactly the images it counts.
std::optional<std::vector<IconEntry>> parseIconGroup(const Bytes& bytes);

struct VersionNode {
  std::u16string key;
  uint16_t type = 0;  // 1 = text
  Bytes value;
  std::vector<VersionNode> children;

  const VersionNode* child(const std::u16string& name) const;
  std::u16string text() const;
};

std::optional<VersionNode> parseVersion(const Bytes& bytes);

// For messages: UTF-16 to UTF-8 (the texts here are ASCII).
std::string narrow(const std::u16string& text);

}  // namespace resources_test
