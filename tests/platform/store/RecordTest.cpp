#include <gtest/gtest.h>

#include <algorithm>
#include <bit>

#include "store/Record.h"
#include "store/SortKey.h"

using store::decodeRecord;
using store::encodeRecord;
using store::PropValue;
using store::Record;

namespace {

PropValue num(CEPROPID id, uint64_t bits) { return {id, bits, {}, {}}; }
PropValue str(CEPROPID id, std::u16string text) { return {id, 0, std::move(text), {}}; }
PropValue bytes(CEPROPID id, std::vector<uint8_t> blob) { return {id, 0, {}, std::move(blob)}; }
PropValue real(CEPROPID id, double d) { return num(id, std::bit_cast<uint64_t>(d)); }

}  // namespace

TEST(RecordCodec, DamagedFormsAreRefused) {
  std::vector<uint8_t> good = encodeRecord({str(0x0001001F, u"ab"), num(0x00020003, 7)});
  auto with = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> copy = good;
    copy[at] = value;
    return copy;
  };
  std::vector<uint8_t> extra = good;
  extra.push_back(0);
  const std::pair<const char*, std::vector<uint8_t>> cases[] = {
      {"empty", {}}, {"one byte", {1}}, {"count larger than the data", with(0, 9)}, {"unknown type", with(2, 0x20)},
      {"string length past the end", with(6, 0xFF)}, {"odd string length", with(6, 3)},
      {"truncated", std::vector<uint8_t>(good.begin(), good.end() - 1)}, {"bytes after the last property", extra},
      {"embedded null", encodeRecord({str(0x0001001F, std::u16string(u"a\0b", 3))})},
      {"property twice", encodeRecord({num(0x00010003, 1), num(0x00010003, 2)})},
      {"string over the limit", encodeRecord({str(0x0001001F, std::u16string(CEDB_MAXPROPDATASIZE / 2, u'x'))})},
      {"blob over the limit", encodeRecord({bytes(0x00010041, std::vector<uint8_t>(CEDB_MAXPROPDATASIZE + 1, 1))})},
      {"record over the limit", encodeRecord({bytes(0x00010041, std::vector<uint8_t>(60000, 1)),
                                         bytes(0x00020041, std::vector<uint8_t>(60000, 1)),
                                         bytes(0x00030041, std::vector<uint8_t>(60000, 1))})},
  };
  for (auto& [what, data] : cases) {
    Record out;
    std::string why;
    EXPECT_FALSE(decodeRecord(data.data(), data.size(), out, &why)) << what;
    EXPECT_FALSE(why.empty()) << what;
  }
}

namespace {

// Sorts values by their keys and returns the order of their labels.
std::string orderOf(CEPROPID id, DWORD flags, const std::vector<std::pair<char, const PropValue*>>& values) {
  std::vector<std::pair<store::SortKey, char>> keyed;
  for (auto& [label, value] : values) keyed.push_back({store::valueKey(value, id, flags), label});
  std::stable_sort(keyed.begin(), keyed.end(), [](auto& a, auto& b) { return a.first < b.first; });
  std::string order;
  for (auto& k : keyed) order.push_back(k.second);
  return order;
}

}  // namespace

TEST(SortKeys, OrderFollowsTypeAndFlags) {
  PropValue i2a = num(0x00010002, 0xFFFF), i2b = num(0x00010002, 1), i2c = num(0x00010002, 0x8000);
  PropValue i4a = num(0x00010003, 0xFFFFFFFF), i4b = num(0x00010003, 5), i4c = num(0x00010003, 0x80000000);
  PropValue u4a = num(0x00010013, 0xFFFFFFFF), u4b = num(0x00010013, 5), u4c = num(0x00010013, 0x80000000);
  PropValue ra = real(0x00010005, -1.5), rb = real(0x00010005, 2.25), rc = real(0x00010005, -1e300);
  PropValue ta = num(0x00010040, 0x01C0000000000001ULL), tb = num(0x00010040, 0x00FF000000000000ULL),
            tc = num(0x00010040, 0x01C0000000000000ULL);
  PropValue ba = num(0x0001000B, 7), bb = num(0x0001000B, 0);
  PropValue sa = str(0x0001001F, u"b"), sb = str(0x0001001F, u"B"), sc = str(0x0001001F, u"ab"),
            sd = str(0x0001001F, u"abc"), se = str(0x0001001F, u"");
  PropValue other = num(0x00010003, 1);  // same number, another type
  struct Case { const char* what; CEPROPID id; DWORD flags; std::vector<std::pair<char, const PropValue*>> values; std::string expected; };
  std::vector<Case> cases = {
      {"signed short", 0x00010002, 0, {{'a', &i2a}, {'b', &i2b}, {'c', &i2c}}, "cab"},
      {"signed int", 0x00010003, 0, {{'a', &i4a}, {'b', &i4b}, {'c', &i4c}}, "cab"},
      {"unsigned int", 0x00010013, 0, {{'a', &u4a}, {'b', &u4b}, {'c', &u4c}}, "bca"},
      {"double", 0x00010005, 0, {{'a', &ra}, {'b', &rb}, {'c', &rc}}, "cab"},
      {"file time", 0x00010040, 0, {{'a', &ta}, {'b', &tb}, {'c', &tc}}, "bca"},
      {"boolean", 0x0001000B, 0, {{'a', &ba}, {'b', &bb}}, "ba"},
      {"string, case-sensitive", 0x0001001F, 0, {{'a', &sa}, {'b', &sb}, {'c', &sc}, {'d', &sd}, {'e', &se}}, "ebcda"},
      {"string, case-insensitive", 0x0001001F, CEDB_SORT_CASEINSENSITIVE,
       {{'a', &sa}, {'b', &sb}, {'c', &sc}, {'d', &sd}, {'e', &se}}, "ecdab"},
      {"string, descending", 0x0001001F, CEDB_SORT_DESCENDING,
       {{'a', &sa}, {'b', &sb}, {'c', &sc}, {'d', &sd}, {'e', &se}}, "adcbe"},
      {"unknown last", 0x00010003, 0, {{'n', nullptr}, {'a', &i4a}, {'b', &i4b}}, "abn"},
      {"unknown first", 0x00010003, CEDB_SORT_UNKNOWNFIRST, {{'a', &i4a}, {'n', nullptr}, {'b', &i4b}}, "nab"},
      {"unknown last, descending", 0x00010003, CEDB_SORT_DESCENDING, {{'n', nullptr}, {'a', &i4a}, {'b', &i4b}}, "ban"},
      {"unknown first, descending", 0x00010003, CEDB_SORT_DESCENDING | CEDB_SORT_UNKNOWNFIRST,
       {{'a', &i4a}, {'b', &i4b}, {'n', nullptr}}, "nba"},
      {"another type is unknown", 0x00010002, 0, {{'o', &other}, {'a', &i2a}}, "ao"},
      {"equal keys keep their order", 0x0001001F, CEDB_SORT_CASEINSENSITIVE, {{'b', &sb}, {'a', &sa}}, "ba"},
  };
  for (const Case& c : cases) EXPECT_EQ(orderOf(c.id, c.flags, c.values), c.expected) << c.what;
}
