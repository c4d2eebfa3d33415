#include "kernel/ResourceFile.h"

#include <cstring>

#include <windows.h>

#include "kernel/LittleEndian.h"

namespace kernel {
namespace {

// DataSize, HeaderSize, the smallest TYPE and NAME (two ordinals), then
// DataVersion, MemoryFlags, LanguageId, Version and Characteristics.
constexpr size_t kMinHeader = 8 + 4 + 4 + 16;

size_t alignDword(size_t n) { return (n + 3) & ~size_t(3); }

std::u16string upper(std::u16string s) {
  for (char16_t& c : s) c = towupper(c);
  return s;
}

// Reads a TYPE or NAME field at offset within a header of headerSize bytes;
// advances offset past it. False when it runs past the header.
bool readName(const uint8_t* header, size_t headerSize, size_t& offset, ResourceName& out) {
  if (offset + 2 > headerSize) return false;
  if (readWord(header + offset) == 0xFFFF) {
    if (offset + 4 > headerSize) return false;
    out.ordinal = readWord(header + offset + 2);
    offset += 4;
    return true;
  }
  std::u16string name;
  for (;;) {
    if (offset + 2 > headerSize) return false;
    char16_t c = readWord(header + offset);
    offset += 2;
    if (!c) break;
    name += c;
  }
  out.name = upper(std::move(name));
  return true;
}

}  // namespace

std::optional<ResourceName> ResourceName::fromArgument(LPCWSTR value) {
  if (!value) return std::nullopt;
  ResourceName result;
  if (IS_INTRESOURCE(value)) {
    result.ordinal = LOWORD(value);
    return result;
  }
  if (value[0] == u'#' && value[1]) {
    uint32_t n = 0;
    const WCHAR* p = value + 1;
    while (*p >= u'0' && *p <= u'9' && n <= 0xFFFF) n = n * 10 + uint32_t(*p++ - u'0');
    if (!*p && n <= 0xFFFF) {
      result.ordinal = WORD(n);
      return result;
    }
  }
  result.name = upper(value);
  return result;
}

ResourceIndex::ResourceIndex(const void* bytes, size_t size) {
  if (!bytes) return;
  auto* p = static_cast<const uint8_t*>(bytes);
  if (reinterpret_cast<uintptr_t>(p) % 4 != 0) {
    copy_.resize((size + 3) / 4);
    std::memcpy(copy_.data(), p, size);
    p = reinterpret_cast<const uint8_t*>(copy_.data());
  }
  read(p, size);
}

void ResourceIndex::read(const uint8_t* bytes, size_t size) {
  size_t offset = 0;
  while (offset < size) {
    size_t remaining = size - offset;
    if (remaining < kMinHeader) {
      complete_ = false;
      return;
    }
    const uint8_t* record = bytes + offset;
    uint32_t dataSize = readDword(record);
    uint32_t headerSize = readDword(record + 4);
    if (headerSize < kMinHeader || headerSize % 4 != 0 || headerSize > remaining ||
        dataSize > remaining - headerSize) {
      complete_ = false;
      return;
    }
    ResourceEntry entry;
    size_t field = 8;
    if (!readName(record, headerSize, field, entry.type) || !readName(record, headerSize, field, entry.name)) {
      complete_ = false;
      return;
    }
    field = alignDword(field);
    if (field + 16 > headerSize) {
      complete_ = false;
      return;
    }
    entry.language = readWord(record + field + 6);
    entry.data = record + headerSize;
    entry.size = dataSize;
    // The file starts with an empty record of type 0: it marks the format.
    if (!(entry.type.name.empty() && entry.type.ordinal == 0)) entries_.push_back(std::move(entry));
    offset += alignDword(size_t(headerSize) + dataSize);
  }
}

const ResourceEntry* ResourceIndex::find(const ResourceName& type, const ResourceName& name) const {
  for (const ResourceEntry& e : entries_)
    if (e.type == type && e.name == name) return &e;
  return nullptr;
}

const ResourceEntry* ResourceIndex::find(LPCWSTR type, LPCWSTR name) const {
  auto t = ResourceName::fromArgument(type);
  auto n = ResourceName::fromArgument(name);
  return t && n ? find(*t, *n) : nullptr;
}

bool ResourceIndex::hasType(const ResourceName& type) const {
  for (const ResourceEntry& e : entries_)
    if (e.type == type) return true;
  return false;
}

bool ResourceIndex::containsData(const void* p) const {
  auto* b = static_cast<const uint8_t*>(p);
  for (const ResourceEntry& e : entries_)
    if (b == e.data) return true;
  return false;
}

}  // namespace kernel
