#include "ResourceReader.h"

#include <algorithm>

namespace resources_test {

namespace {

constexpr size_t kIconGroupHeader = 6;
constexpr size_t kIconGroupEntry = 14;
constexpr size_t kVersionNodeHeader = 6;
constexpr int kMaxVersionDepth = 8;

uint32_t dwordAt(const Bytes& bytes, size_t offset) {
  return wordAt(bytes, offset) | static_cast<uint32_t>(wordAt(bytes, offset + 2)) << 16;
}

size_t alignedTo4(size_t offset) { return (offset + 3) & ~size_t{3}; }

// A node of the version resource: its length, value length and type words,
// its key, then its value and its children, each on a 4-byte boundary and
// all within its length. Moves at past the node.
std::optional<VersionNode> readVersionNode(const Bytes& bytes, size_t& at, size_t limit, int depth) {
  if (depth > kMaxVersionDepth || at > limit || limit - at < kVersionNodeHeader) return std::nullopt;
  size_t length = wordAt(bytes, at);
  size_t valueLength = wordAt(bytes, at + 2);
  VersionNode node;
  node.type = wordAt(bytes, at + 4);
  if (length < kVersionNodeHeader || length > limit - at) return std::nullopt;
  size_t end = at + length;
  size_t offset = at + kVersionNodeHeader;
  for (;;) {
    if (end - offset < 2) return std::nullopt;
    char16_t unit = static_cast<char16_t>(wordAt(bytes, offset));
    offset += 2;
    if (unit == 0) break;
    node.key.push_back(unit);
  }
  offset = std::min(alignedTo4(offset), end);
  size_t valueBytes = node.type == 1 ? valueLength * 2 : valueLength;
  if (valueBytes > end - offset) return std::nullopt;
  node.value.assign(bytes.begin() + offset, bytes.begin() + offset + valueBytes);
  for (offset = alignedTo4(offset + valueBytes); offset < end; offset = alignedTo4(offset)) {
    auto child = readVersionNode(bytes, offset, end, depth + 1);
    if (!child) return std::nullopt;
    node.children.push_back(std::move(*child));
  }
  at = end;
  return node;
}

}  // namespace

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

std::optional<std::vector<IconEntry>> parseIconGroup(const Bytes& bytes) {
  if (bytes.size() < kIconGroupHeader || wordAt(bytes, 0) != 0 || wordAt(bytes, 2) != 1) return std::nullopt;
  size_t count = wordAt(bytes, 4);
  if (bytes.size() != kIconGroupHeader + count * kIconGroupEntry) return std::nullopt;
  std::vector<IconEntry> entries;
  for (size_t at = kIconGroupHeader; at < bytes.size(); at += kIconGroupEntry) {
    IconEntry entry;
    entry.width = bytes[at];
    entry.height = bytes[at + 1];
    entry.colourCount = bytes[at + 2];
    entry.planes = wordAt(bytes, at + 4);
    entry.bitCount = wordAt(bytes, at + 6);
    entry.bytesInResource = dwordAt(bytes, at + 8);
    entry.iconId = wordAt(bytes, at + 12);
    entries.push_back(entry);
  }
  return entries;
}

const VersionNode* VersionNode::child(const std::u16string& name) const {
  for (const VersionNode& node : children)
    if (node.key == name) return &node;
  return nullptr;
}

std::u16string VersionNode::text() const {
  std::u16string result;
  for (size_t i = 0; i + 1 < value.size(); i += 2) {
    char16_t unit = static_cast<char16_t>(wordAt(value, i));
    if (unit == 0) break;
    result.push_back(unit);
  }
  return result;
}

std::optional<VersionNode> parseVersion(const Bytes& bytes) {
  size_t at = 0;
  return readVersionNode(bytes, at, bytes.size(), 0);
}

std::string narrow(const std::u16string& text) {
  std::string result;
  for (char16_t unit : text) result.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  return result;
}

}  // namespace resources_test
