#include <tuple>

#include "StoreFixture.h"
#include "store/Sqlite.h"

using namespace storetest;

namespace {

constexpr CEPROPID kNumber = 0x00010003;   // int, ascending
constexpr CEPROPID kName = 0x0002001F;     // string, case-insensitive
constexpr CEPROPID kWhen = 0x00030040;     // time, descending, unknown first
constexpr uint64_t kT1 = 0x01C2000000000000ULL, kT2 = kT1 + 1000, kT3 = kT1 + 2000;

class Seeking : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    db = createDb(u"Seek", {{kNumber, 0}, {kName, CEDB_SORT_CASEINSENSITIVE}, {kWhen, CEDB_SORT_DESCENDING | CEDB_SORT_UNKNOWNFIRST}});
    HANDLE h = openDb(db);
    r1 = addRecord(h, {propI4(1, 30), propString(2, u"beta")});
    r2 = addRecord(h, {propI4(1, 10), propString(2, u"Alpha"), propTime(3, kT2)});
    r3 = addRecord(h, {propI4(1, 20), propString(2, u"alpha"), propTime(3, kT1)});
    r4 = addRecord(h, {propI4(1, 20), propString(2, u"Gamma")});
    r5 = addRecord(h, {propString(2, u"delta"), propTime(3, kT3)});
    CloseHandle(h);
  }
  CEOID db = 0, r1 = 0, r2 = 0, r3 = 0, r4 = 0, r5 = 0;
};

CEOID seek(HANDLE h, DWORD type, DWORD_PTR value, DWORD* index = nullptr) {
  return CeSeekDatabase(h, type, value, index);
}
CEOID seekValue(HANDLE h, DWORD type, CEPROPVAL value) {
  return CeSeekDatabase(h, type, reinterpret_cast<DWORD_PTR>(&value), nullptr);
}

}  // namespace

TEST_F(Seeking, EachSortOrderWalksForwardsAndBackwardsAndNotPastItsEnds) {
  struct Case { const char* what; CEPROPID sort; std::vector<CEOID> order; };
  std::vector<Case> cases = {
      {"creation order", 0, {r1, r2, r3, r4, r5}},
      {"number: equal keys in creation order, unknown last", kNumber, {r2, r3, r4, r1, r5}},
      {"name: case folded", kName, {r2, r3, r1, r5, r4}},
      {"time: descending, unknown first", kWhen, {r1, r4, r5, r2, r3}},
  };
  const std::pair<DWORD, DWORD_PTR> past[] = {{CEDB_SEEK_BEGINNING, 5}, {CEDB_SEEK_END, 5}, {CEDB_SEEK_CURRENT, 4},
                                             {CEDB_SEEK_CURRENT, DWORD(-2)}, {CEDB_SEEK_CEOID, 0xFFFFFF}};
  for (const Case& c : cases) {
    HANDLE h = openDb(db, c.sort);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << c.what;
    EXPECT_EQ(walk(h), c.order) << c.what;
    std::vector<CEOID> backwards;
    DWORD index = 99;
    for (CEOID oid = seek(h, CEDB_SEEK_END, 0, &index); oid; oid = seek(h, CEDB_SEEK_CURRENT, DWORD(-1), &index)) {
      EXPECT_EQ(index, c.order.size() - 1 - backwards.size()) << c.what;
      backwards.push_back(oid);
    }
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER}) << c.what;
    EXPECT_EQ(std::vector<CEOID>(backwards.rbegin(), backwards.rend()), c.order) << c.what;
    for (DWORD i = 0; i < c.order.size(); ++i) {
      EXPECT_EQ(seek(h, CEDB_SEEK_BEGINNING, i, &index), c.order[i]) << c.what;
      EXPECT_EQ(index, i);
      EXPECT_EQ(seek(h, CEDB_SEEK_END, i, &index), c.order[c.order.size() - 1 - i]) << c.what;
      EXPECT_EQ(seek(h, CEDB_SEEK_CEOID, c.order[i], &index), c.order[i]) << c.what;
      EXPECT_EQ(index, i) << c.what;
    }
    // Seeks past either end fail and keep the position.
    ASSERT_EQ(seek(h, CEDB_SEEK_BEGINNING, 1, &index), c.order[1]);
    for (auto [type, value] : past) EXPECT_FAILS(seek(h, type, value), 0u, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(seek(h, CEDB_SEEK_CURRENT, 0, &index), c.order[1]) << "still where it was";
    CloseHandle(h);
  }
}

TEST_F(Seeking, ValueSeeksFindTheirRecordsInTheSortOrder) {
  // Sort order, type, value, the record found (0: none, and the position is left at the end).
  // Descending: "smaller" and "greater" follow the sort order, so the record before T2 holds the later T3.
  const std::tuple<CEPROPID, DWORD, CEPROPVAL, CEOID> cases[] = {
      {kNumber, CEDB_SEEK_VALUEFIRSTEQUAL, propI4(1, 20), r3}, {kNumber, CEDB_SEEK_VALUEFIRSTEQUAL, propI4(1, 25), 0},
      {kNumber, CEDB_SEEK_VALUEGREATER, propI4(1, 15), r3},    {kNumber, CEDB_SEEK_VALUEGREATER, propI4(1, 30), r1},
      {kNumber, CEDB_SEEK_VALUEGREATER, propI4(1, 31), 0},     {kNumber, CEDB_SEEK_VALUESMALLER, propI4(1, 30), r3},
      {kNumber, CEDB_SEEK_VALUESMALLER, propI4(1, 15), r2},    {kNumber, CEDB_SEEK_VALUESMALLER, propI4(1, 10), 0},
      {kName, CEDB_SEEK_VALUEFIRSTEQUAL, propString(2, u"ALPHA"), r2},
      {kName, CEDB_SEEK_VALUEGREATER, propString(2, u"C"), r5},
      {kWhen, CEDB_SEEK_VALUEFIRSTEQUAL, propTime(3, kT2), r2}, {kWhen, CEDB_SEEK_VALUESMALLER, propTime(3, kT2), r5},
      {kWhen, CEDB_SEEK_VALUEGREATER, propTime(3, kT2 + 1), r2},
      {kWhen, CEDB_SEEK_VALUESMALLER, propTime(3, kT3), 0},  // records without a time never match
  };
  for (auto [sort, type, value, expected] : cases) {
    SCOPED_TRACE(testing::Message() << "sort " << std::hex << sort << " seek " << type << " for " << value.val.lVal);
    HANDLE h = openDb(db, sort);
    ASSERT_NE(seek(h, CEDB_SEEK_BEGINNING, 0), 0u);
    EXPECT_EQ(seekValue(h, type, value), expected);
    ReadResult read;
    readCurrent(h, read);
    EXPECT_EQ(read.oid, expected);
    EXPECT_EQ(read.error, expected ? 0 : DWORD{ERROR_NO_MORE_ITEMS});
    CloseHandle(h);
  }
  // Walking all equal values.
  HANDLE h = openDb(db, kNumber);
  DWORD index = 0;
  ASSERT_EQ(seekValue(h, CEDB_SEEK_VALUEFIRSTEQUAL, propI4(1, 20)), r3);
  EXPECT_EQ(seekValue(h, CEDB_SEEK_VALUENEXTEQUAL, propI4(1, 20)), r4);
  EXPECT_EQ(seek(h, CEDB_SEEK_CURRENT, 0, &index), r4);
  EXPECT_EQ(index, 2u);
  EXPECT_EQ(seekValue(h, CEDB_SEEK_VALUENEXTEQUAL, propI4(1, 20)), 0u);
  CloseHandle(h);
}

TEST_F(Seeking, AutoIncrementReadsFromTheFirstRecordAndStepsPastDeletedRecords) {
  HANDLE stepping = openDb(db, kNumber, CEDB_AUTOINCREMENT);
  HANDLE writer = openDb(db);
  std::vector<CEOID> seen;
  for (;;) {
    ReadResult r;
    readCurrent(stepping, r);
    if (!r.oid) break;
    seen.push_back(r.oid);
    ASSERT_TRUE(r.oid != r2 || CeDeleteRecord(writer, r3));  // after r2, delete the reader's next record
  }
  EXPECT_EQ(seen, (std::vector<CEOID>{r2, r4, r1, r5}));
  CloseHandle(stepping);
  CloseHandle(writer);
}

TEST_F(Seeking, TwoHandlesSeeEachOthersChanges) {
  HANDLE reader = openDb(db, kNumber);
  HANDLE writer = openDb(db, kNumber);
  DWORD index = 0;
  ASSERT_EQ(seek(reader, CEDB_SEEK_BEGINNING, 2, &index), r4);

  // A record deleted before the reader's position moves it back by one.
  ASSERT_TRUE(CeDeleteRecord(writer, r3));
  EXPECT_EQ(seek(reader, CEDB_SEEK_CURRENT, 0, &index), r4);
  EXPECT_EQ(index, 1u);

  // A new record is seen by the next seek, in its place.
  CEOID r6 = addRecord(writer, {propI4(1, 15)});
  EXPECT_EQ(seek(reader, CEDB_SEEK_CURRENT, 0, &index), r4);
  EXPECT_EQ(index, 2u);
  EXPECT_EQ(walk(reader), (std::vector<CEOID>{r2, r6, r4, r1, r5}));

  // The reader's own record deleted under it: reading it fails, the next
  // step reaches the record after it.
  ASSERT_EQ(seek(reader, CEDB_SEEK_BEGINNING, 2), r4);
  ASSERT_TRUE(CeDeleteRecord(writer, r4));
  ReadResult gone;
  readCurrent(reader, gone);
  EXPECT_EQ(gone.error, DWORD{ERROR_KEY_DELETED});
  EXPECT_EQ(seek(reader, CEDB_SEEK_CURRENT, 1, &index), r1);
  EXPECT_EQ(index, 2u);

  // Writing keeps the writer's position on its record, wherever it moves.
  ASSERT_EQ(seek(writer, CEDB_SEEK_CEOID, r1, &index), r1);  // 30
  CEPROPVAL smaller = propI4(1, 5);
  ASSERT_EQ(CeWriteRecordProps(writer, r1, 1, &smaller), r1);
  EXPECT_EQ(seek(writer, CEDB_SEEK_CURRENT, 0, &index), r1);
  EXPECT_EQ(index, 0u) << "the record moved to the front of the order";
  CloseHandle(reader);
  CloseHandle(writer);
}

TEST_F(Seeking, ChangesByAnotherProcessAreSeenAtTheNextSeek) {
  HANDLE h = openDb(db, kNumber);
  ASSERT_EQ(seek(h, CEDB_SEEK_BEGINNING, 1), r3);
  store::Connection other;  // stands for another process
  std::string error;
  ASSERT_TRUE(other.open(path_, store::Connection::Mode::ReadWrite, error));
  ASSERT_TRUE(other.exec("DELETE FROM records WHERE oid = " + std::to_string(r3)));
  ReadResult gone;
  readCurrent(h, gone);
  EXPECT_EQ(gone.error, DWORD{ERROR_KEY_DELETED});
  EXPECT_EQ(walk(h), (std::vector<CEOID>{r2, r4, r1, r5}));
  CloseHandle(h);
}
