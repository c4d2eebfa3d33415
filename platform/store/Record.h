// A record as the object store keeps it: typed properties, and their stored
// form. Stored bytes come from a file that may be damaged or hostile, so
// decoding checks everything the rest of the store relies on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <windbase.h>

namespace store {

struct PropValue {
  CEPROPID propid = 0;
  // CEVT_I2, UI2, I4, UI4, BOOL: the value's bits, zero-extended; CEVT_R8: the
  // IEEE bits; CEVT_FILETIME: high part << 32 | low part.
  uint64_t bits = 0;
  std::u16string text;        // CEVT_LPWSTR, without its terminator
  std::vector<uint8_t> blob;  // CEVT_BLOB

  bool operator==(const PropValue&) const = default;
};

using Record = std::vector<PropValue>;

inline WORD propType(CEPROPID propid) { return static_cast<WORD>(propid & 0xFFFF); }
bool isKnownType(WORD type);
// Bytes of the value as the database size counts them: strings with their
// terminator, blobs their bytes, numbers their width.
uint32_t valueSize(const PropValue& value);
// The size a record adds to its database: 20 bytes, 4 per property, the data.
uint32_t recordSize(const Record& record);

enum class ValueProblem { None, UnknownType, TooLarge, EmbeddedNull };
ValueProblem checkValue(const PropValue& value);

std::vector<uint8_t> encodeRecord(const Record& record);
// false (and why) for anything but a well-formed record: unknown types,
// lengths past the end or over the limits, strings with odd lengths or
// embedded nulls, a property twice, bytes left over.
bool decodeRecord(const uint8_t* data, size_t size, Record& record, std::string* why = nullptr);

}  // namespace store
