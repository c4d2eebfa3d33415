// The index of a compiled resource file (.res): a sequence of records, each
// a header (data size, header size, type, name, language, ...) and its data,
// DWORD-aligned. The bytes are untrusted: every size and offset is checked,
// and a corrupt record ends the index (the records before it stay usable).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windef.h>

namespace kernel {

// A resource type or name: an ordinal, or a name compared without case.
struct ResourceName {
  WORD ordinal = 0;         // used when name is empty
  std::u16string name;      // upper case

  // From a caller's argument: an ordinal made with MAKEINTRESOURCE, "#123"
  // for ordinal 123, or a name. Null yields nothing.
  static std::optional<ResourceName> fromArgument(LPCWSTR value);
  bool operator==(const ResourceName&) const = default;
};

struct ResourceEntry {
  ResourceName type;
  ResourceName name;
  WORD language = 0;
  const uint8_t* data = nullptr;  // inside the index's bytes, DWORD-aligned
  uint32_t size = 0;
};

class ResourceIndex {
 public:
  ResourceIndex() = default;
  // Reads bytes that must outlive the index; bytes that are not DWORD-aligned
  // in memory are copied first.
  ResourceIndex(const void* bytes, size_t size);
  ResourceIndex(const ResourceIndex&) = delete;
  ResourceIndex& operator=(const ResourceIndex&) = delete;

  // The first entry with that type and name, whatever its language.
  const ResourceEntry* find(const ResourceName& type, const ResourceName& name) const;
  const ResourceEntry* find(LPCWSTR type, LPCWSTR name) const;
  bool hasType(const ResourceName& type) const;

  const std::vector<ResourceEntry>& entries() const { return entries_; }
  // False when reading stopped at a corrupt record.
  bool complete() const { return complete_; }
  // Whether p points into one of the entries' data.
  bool containsData(const void* p) const;

 private:
  void read(const uint8_t* bytes, size_t size);

  std::vector<uint32_t> copy_;
  std::vector<ResourceEntry> entries_;
  bool complete_ = true;
};

}  // namespace kernel
