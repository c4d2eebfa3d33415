#include "store/Record.h"

#include <algorithm>
#include <unordered_set>

namespace store {
namespace {

int fixedWidth(WORD type) {
  switch (type) {
    case CEVT_I2:
    case CEVT_UI2: return 2;
    case CEVT_I4:
    case CEVT_UI4:
    case CEVT_BOOL: return 4;
    case CEVT_R8:
    case CEVT_FILETIME: return 8;
    default: return 0;
  }
}

void putLe(std::vector<uint8_t>& out, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool take(int width, uint64_t& value) {
    if (size_ - pos_ < static_cast<size_t>(width)) return false;
    value = 0;
    for (int i = 0; i < width; ++i) value |= uint64_t(data_[pos_ + i]) << (8 * i);
    pos_ += width;
    return true;
  }
  const uint8_t* span(size_t bytes) {
    if (size_ - pos_ < bytes) return nullptr;
    const uint8_t* p = data_ + pos_;
    pos_ += bytes;
    return p;
  }
  bool atEnd() const { return pos_ == size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

bool fail(std::string* why, const char* text) {
  if (why) *why = text;
  return false;
}

}  // namespace

bool isKnownType(WORD type) { return fixedWidth(type) != 0 || type == CEVT_LPWSTR || type == CEVT_BLOB; }

uint32_t valueSize(const PropValue& value) {
  switch (propType(value.propid)) {
    case CEVT_LPWSTR: return static_cast<uint32_t>((value.text.size() + 1) * sizeof(WCHAR));
    case CEVT_BLOB: return static_cast<uint32_t>(value.blob.size());
    default: return static_cast<uint32_t>(fixedWidth(propType(value.propid)));
  }
}

uint32_t recordSize(const Record& record) {
  uint32_t size = 20;
  for (const PropValue& value : record) size += 4 + valueSize(value);
  return size;
}

ValueProblem checkValue(const PropValue& value) {
  WORD type = propType(value.propid);
  if (!isKnownType(type)) return ValueProblem::UnknownType;
  if (type == CEVT_LPWSTR) {
    if (value.text.find(u'\0') != std::u16string::npos) return ValueProblem::EmbeddedNull;
    if ((value.text.size() + 1) * sizeof(WCHAR) > CEDB_MAXPROPDATASIZE) return ValueProblem::TooLarge;
  }
  if (type == CEVT_BLOB && value.blob.size() > CEDB_MAXPROPDATASIZE) return ValueProblem::TooLarge;
  return ValueProblem::None;
}

// Stored form, little-endian: a 16-bit count, then per property its 32-bit
// identifier and either the fixed-width value or a 32-bit byte count and the
// bytes (UTF-16 code units without terminator for strings).
std::vector<uint8_t> encodeRecord(const Record& record) {
  std::vector<uint8_t> out;
  putLe(out, record.size(), 2);
  for (const PropValue& value : record) {
    putLe(out, value.propid, 4);
    WORD type = propType(value.propid);
    if (int width = fixedWidth(type)) {
      putLe(out, value.bits, width);
    } else if (type == CEVT_LPWSTR) {
      putLe(out, value.text.size() * 2, 4);
      for (char16_t unit : value.text) putLe(out, unit, 2);
    } else {
      putLe(out, value.blob.size(), 4);
      out.insert(out.end(), value.blob.begin(), value.blob.end());
    }
  }
  return out;
}

bool decodeRecord(const uint8_t* data, size_t size, Record& record, std::string* why) {
  record.clear();
  if (!data && size) return fail(why, "no data");
  Reader in(data, size);
  uint64_t count;
  if (!in.take(2, count)) return fail(why, "truncated property count");
  // Each property needs at least 6 bytes; a count beyond that is damage.
  if (count * 6 > size) return fail(why, "property count larger than the record");
  record.reserve(count);
  std::unordered_set<CEPROPID> seen;
  uint64_t total = 0;
  for (uint64_t i = 0; i < count; ++i) {
    uint64_t id;
    if (!in.take(4, id)) return fail(why, "truncated property identifier");
    PropValue value;
    value.propid = static_cast<CEPROPID>(id);
    WORD type = propType(value.propid);
    if (!isKnownType(type)) return fail(why, "unknown property type");
    if (!seen.insert(value.propid).second) return fail(why, "property stored twice");
    if (int width = fixedWidth(type)) {
      if (!in.take(width, value.bits)) return fail(why, "truncated property value");
    } else {
      uint64_t length;
      if (!in.take(4, length)) return fail(why, "truncated property length");
      if (length > CEDB_MAXPROPDATASIZE) return fail(why, "property larger than the limit");
      const uint8_t* bytes = in.span(length);
      if (!bytes) return fail(why, "property data past the end of the record");
      if (type == CEVT_LPWSTR) {
        if (length % 2) return fail(why, "string of odd length");
        value.text.resize(length / 2);
        for (size_t u = 0; u < value.text.size(); ++u)
          value.text[u] = static_cast<char16_t>(bytes[2 * u] | (bytes[2 * u + 1] << 8));
        if (checkValue(value) != ValueProblem::None) return fail(why, "string with an embedded null or too long");
      } else {
        value.blob.assign(bytes, bytes + length);
      }
    }
    total += 4 + valueSize(value);
    if (total > CEDB_MAXRECORDSIZE) return fail(why, "record larger than the limit");
    record.push_back(std::move(value));
  }
  if (!in.atEnd()) return fail(why, "bytes after the last property");
  return true;
}

}  // namespace store
