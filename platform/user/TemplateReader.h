// Little-endian reads of a resource template within [begin, begin + size):
// the bytes may come from any file, so every read is bounded. A failed read
// leaves the reader failed for good and yields zeros, so a parser checks
// ok() once where it matters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "kernel/LittleEndian.h"

namespace user {

class TemplateReader {
 public:
  TemplateReader(const uint8_t* begin, size_t size) : begin_(begin), size_(size) {}

  bool ok() const { return ok_; }
  bool atEnd() const { return offset_ == size_; }

  WORD word() {
    if (!need(2)) return 0;
    WORD v = kernel::readWord(begin_ + offset_);
    offset_ += 2;
    return v;
  }
  DWORD dword() {
    if (!need(4)) return 0;
    DWORD v = kernel::readDword(begin_ + offset_);
    offset_ += 4;
    return v;
  }
  short signedWord() { return static_cast<short>(word()); }
  BYTE byte() {
    if (!need(1)) return 0;
    return begin_[offset_++];
  }

  // A zero-terminated UTF-16 text.
  std::u16string text() {
    std::u16string out;
    for (;;) {
      WORD c = word();
      if (!ok_ || c == 0) return out;
      out += static_cast<char16_t>(c);
    }
  }

  std::vector<uint8_t> bytes(size_t n) {
    if (!need(n)) return {};
    std::vector<uint8_t> out(begin_ + offset_, begin_ + offset_ + n);
    offset_ += n;
    return out;
  }

  void skip(size_t n) {
    if (need(n)) offset_ += n;
  }

  // Dialog items start on a DWORD boundary of the template.
  void alignDword() { skip((4 - offset_ % 4) % 4); }

 private:
  bool need(size_t n) {
    if (ok_ && size_ - offset_ >= n) return true;
    ok_ = false;
    offset_ = size_;
    return false;
  }

  const uint8_t* begin_;
  size_t size_;
  size_t offset_ = 0;
  bool ok_ = true;
};

}  // namespace user
