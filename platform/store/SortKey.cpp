#include "store/SortKey.h"

#include <cstring>

#include <windows.h>

namespace store {
namespace {

constexpr uint8_t kUnknownFirst = 0x00;
constexpr uint8_t kKnown = 0x10;
constexpr uint8_t kUnknownLast = 0x20;

void putBe(SortKey& key, uint64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) key.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

// The platform's own simple upper-case mapping, so that the store and
// _wcsicmp agree on which names are the same.
char16_t foldCase(char16_t c) { return towupper(c); }

std::u16string foldCase(const std::u16string& text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = foldCase(c);
  return folded;
}

SortKey valueKey(const PropValue* value, CEPROPID propid, DWORD flags) {
  SortKey key;
  if (!value || value->propid != propid) {
    key.push_back((flags & CEDB_SORT_UNKNOWNFIRST) ? kUnknownFirst : kUnknownLast);
    return key;
  }
  key.push_back(kKnown);
  switch (propType(propid)) {
    case CEVT_I2: putBe(key, (value->bits & 0xFFFF) ^ 0x8000, 2); break;
    case CEVT_UI2: putBe(key, value->bits & 0xFFFF, 2); break;
    case CEVT_I4: putBe(key, (value->bits & 0xFFFFFFFF) ^ 0x80000000, 4); break;
    case CEVT_UI4: putBe(key, value->bits & 0xFFFFFFFF, 4); break;
    case CEVT_BOOL: key.push_back((value->bits & 0xFFFFFFFF) ? 1 : 0); break;
    case CEVT_FILETIME: putBe(key, value->bits, 8); break;
    case CEVT_R8: {
      uint64_t bits = value->bits;
      double d;
      std::memcpy(&d, &bits, sizeof d);
      if (d == 0) bits = 0;  // -0 and +0 are equal
      bits = (bits >> 63) ? ~bits : bits | (uint64_t(1) << 63);
      putBe(key, bits, 8);
      break;
    }
    case CEVT_LPWSTR:
      // Units are never 0 in a stored string, so a 0 terminator keeps
      // shorter strings first and the encoding free of prefixes.
      for (char16_t unit : value->text) putBe(key, (flags & CEDB_SORT_CASEINSENSITIVE) ? foldCase(unit) : unit, 2);
      putBe(key, 0, 2);
      break;
    default: break;  // blobs are never sort keys
  }
  if (flags & CEDB_SORT_DESCENDING)
    for (size_t i = 1; i < key.size(); ++i) key[i] = static_cast<uint8_t>(~key[i]);
  return key;
}

SortKey sortKey(const Record& record, CEPROPID propid, DWORD flags) {
  for (const PropValue& value : record)
    if (value.propid == propid) return valueKey(&value, propid, flags);
  return valueKey(nullptr, propid, flags);
}

}  // namespace store
