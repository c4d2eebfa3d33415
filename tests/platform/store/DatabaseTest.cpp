#include <functional>

#include "StoreFixture.h"

using namespace storetest;

namespace {

class Databases : public StoreTest {};

std::u16string nameOf(const CEOIDINFO& info) { return info.infDatabase.szDbaseName; }

std::vector<CEOID> findAll(DWORD type) {
  std::vector<CEOID> found;
  HANDLE walk = CeFindFirstDatabase(type);
  EXPECT_NE(walk, INVALID_HANDLE_VALUE);
  for (CEOID oid; (oid = CeFindNextDatabase(walk)) != 0;) found.push_back(oid);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_ITEMS});
  EXPECT_TRUE(CloseHandle(walk));
  return found;
}

}  // namespace

TEST_F(Databases, CreatedDatabaseReportsItsInfo) {
  CEOID db = createDb(u"Contacts", {{0x0001001F, CEDB_SORT_CASEINSENSITIVE}, {0x00020040, CEDB_SORT_DESCENDING}}, 0x18);
  ASSERT_NE(db, 0u);
  CEOIDINFO info;
  std::memset(&info, 0xAB, sizeof info);
  ASSERT_TRUE(CeOidGetInfo(db, &info));
  EXPECT_EQ(info.wObjType, OBJTYPE_DATABASE);
  EXPECT_EQ(nameOf(info), u"Contacts");
  EXPECT_EQ(info.infDatabase.dwDbaseType, 0x18u);
  EXPECT_EQ(info.infDatabase.wNumRecords, 0);
  EXPECT_EQ(info.infDatabase.dwSize, 0u);
  ASSERT_EQ(info.infDatabase.wNumSortOrder, 2);
  EXPECT_EQ(info.infDatabase.rgSortSpecs[0].propid, 0x0001001Fu);
  EXPECT_EQ(info.infDatabase.rgSortSpecs[0].dwFlags, DWORD{CEDB_SORT_CASEINSENSITIVE});
  EXPECT_EQ(info.infDatabase.rgSortSpecs[1].propid, 0x00020040u);
  EXPECT_EQ(info.infDatabase.rgSortSpecs[2].propid, 0u) << "unused sort orders are zeroed";
  EXPECT_TRUE(info.infDatabase.dwFlags & CEDB_VALIDTYPE);
  EXPECT_TRUE(info.infDatabase.dwFlags & CEDB_VALIDSORTSPEC);
  EXPECT_NE(info.infDatabase.ftLastModified.dwHighDateTime, 0u);
}

TEST_F(Databases, CreationIsRefusedForBadArguments) {
  ASSERT_NE(createDb(u"Taken"), 0u);
  std::vector<SORTORDERSPEC> five(5, SORTORDERSPEC{0x00010003, 0});
  struct Case {
    const char* what;
    std::function<CEOID()> create;
    DWORD error;
  };
  std::vector<Case> cases = {
      {"existing name", [] { return createDb(u"Taken"); }, ERROR_DUP_NAME},
      {"existing name in another case", [] { return createDb(u"TAKEN"); }, ERROR_DUP_NAME},
      {"empty name", [] { return createDb(u""); }, ERROR_INVALID_PARAMETER},
      {"blob sort key", [] { return createDb(u"Blobby", {{0x00010041, 0}}); }, ERROR_INVALID_PARAMETER},
      {"unknown type sort key", [] { return createDb(u"Odd", {{0x00010007, 0}}); }, ERROR_INVALID_PARAMETER},
      {"unknown sort flag", [] { return createDb(u"Odd", {{0x00010003, 0x100}}); }, ERROR_INVALID_PARAMETER},
      {"five sort orders",
       [&] { return CeCreateDatabase(const_cast<LPWSTR>(u"Five"), 0, 5, five.data()); }, ERROR_INVALID_PARAMETER},
      {"null name", [] { return CeCreateDatabase(nullptr, 0, 0, nullptr); }, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(c.create(), 0u) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  EXPECT_EQ(findAll(0).size(), 1u) << "nothing was created by the refused calls";
}

TEST_F(Databases, LongNamesAreCutTo31Characters) {
  std::u16string name32 = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  ASSERT_EQ(name32.size(), 32u);
  CEOID db = createDb(name32);
  ASSERT_NE(db, 0u);
  CEOIDINFO info{};
  ASSERT_TRUE(CeOidGetInfo(db, &info));
  EXPECT_EQ(nameOf(info), name32.substr(0, 31));
  // The cut name is the name: another with the same 31 characters clashes.
  EXPECT_EQ(createDb(name32.substr(0, 31) + u"X"), 0u);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_DUP_NAME});
  CEOID found = 0;
  HANDLE h = CeOpenDatabase(&found, name32.data(), 0, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(found, db) << "opening by name writes the identifier back";
  CloseHandle(h);
}

TEST_F(Databases, EnumerationFollowsCreationOrderAndType) {
  CEOID a = createDb(u"Zulu", {}, 5);
  CEOID b = createDb(u"Alpha", {}, 7);
  CEOID c = createDb(u"Mike", {}, 5);
  EXPECT_EQ(findAll(0), (std::vector<CEOID>{a, b, c}));
  EXPECT_EQ(findAll(5), (std::vector<CEOID>{a, c}));
  EXPECT_EQ(findAll(9), std::vector<CEOID>{});
  // A database deleted during a walk is not returned; the walk goes on.
  HANDLE walk = CeFindFirstDatabase(0);
  EXPECT_EQ(CeFindNextDatabase(walk), a);
  ASSERT_TRUE(CeDeleteDatabase(b));
  EXPECT_EQ(CeFindNextDatabase(walk), c);
  EXPECT_EQ(CeFindNextDatabase(walk), 0u);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_ITEMS});
  CloseHandle(walk);
  EXPECT_EQ(CeFindNextDatabase(walk), 0u);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE}) << "a closed walk is a stale handle";
}

TEST_F(Databases, EachFoundDatabaseClearsTheLastError) {
  CEOID a = createDb(u"A");
  findAll(0);  // ends with ERROR_NO_MORE_ITEMS
  HANDLE walk = CeFindFirstDatabase(0);
  SetLastError(ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(CeFindNextDatabase(walk), a);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SUCCESS}) << "a walk that tests only the error must go on";
  CloseHandle(walk);
}

TEST_F(Databases, IdentifiersAreUniqueAndNeverReused) {
  CEOID a = createDb(u"A");
  HANDLE h = openDb(a);
  CEOID r1 = addRecord(h, {propI4(1, 1)});
  CEOID r2 = addRecord(h, {propI4(1, 2)});
  CloseHandle(h);
  ASSERT_TRUE(CeDeleteDatabase(a));
  CEOID b = createDb(u"A");
  h = openDb(b);
  CEOID r3 = addRecord(h, {propI4(1, 3)});
  CloseHandle(h);
  reopen();
  CEOID c = createDb(u"C");
  std::vector<CEOID> all = {a, r1, r2, b, r3, c};
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_NE(all[i], 0u);
    for (size_t j = 0; j < i; ++j) EXPECT_NE(all[i], all[j]) << i << " " << j;
  }
}

TEST_F(Databases, OidGetInfoDescribesRecordsAndRefusesUnknownIdentifiers) {
  CEOID db = createDb(u"Notes");
  HANDLE h = openDb(db);
  CEOID rec = addRecord(h, {propI4(1, 1)});
  CloseHandle(h);
  CEOIDINFO info{};
  ASSERT_TRUE(CeOidGetInfo(rec, &info));
  EXPECT_EQ(info.wObjType, OBJTYPE_RECORD);
  EXPECT_EQ(info.infRecord.oidParent, db);
  for (CEOID unknown : {CEOID{0}, CEOID{12345}, rec + 1000}) {
    SetLastError(0);
    EXPECT_FALSE(CeOidGetInfo(unknown, &info)) << unknown;
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE}) << unknown;
  }
}

TEST_F(Databases, DeletingAnOpenDatabaseIsRefusedUntilClosed) {
  CEOID db = createDb(u"Busy");
  HANDLE h = openDb(db);
  CEOID rec = addRecord(h, {propI4(1, 1)});
  EXPECT_FALSE(CeDeleteDatabase(db));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  ASSERT_TRUE(CloseHandle(h));
  EXPECT_TRUE(CeDeleteDatabase(db));
  CEOIDINFO info{};
  EXPECT_FALSE(CeOidGetInfo(db, &info));
  EXPECT_FALSE(CeOidGetInfo(rec, &info)) << "its records go with it";
  EXPECT_FALSE(CeDeleteDatabase(db));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

TEST_F(Databases, OpeningNeedsAKnownDatabaseAndOneOfItsSortOrders) {
  CEOID db = createDb(u"Sorted", {{0x00010003, 0}});
  struct Case {
    const char* what;
    std::function<HANDLE()> open;
    DWORD error;
  };
  std::vector<Case> cases = {
      {"not a sort order", [&] { return openDb(db, 0x00020003); }, ERROR_INVALID_PARAMETER},
      {"unknown name",
       [] {
         CEOID none = 0;
         return CeOpenDatabase(&none, const_cast<LPWSTR>(u"Nope"), 0, 0, nullptr);
       },
       ERROR_FILE_NOT_FOUND},
      {"unknown identifier", [&] { return openDb(db + 999); }, ERROR_INVALID_PARAMETER},
      {"neither", [] { return CeOpenDatabase(nullptr, nullptr, 0, 0, nullptr); }, ERROR_INVALID_PARAMETER},
      {"unknown flag", [&] { return openDb(db, 0, 0x10); }, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(c.open(), INVALID_HANDLE_VALUE) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  HANDLE good = openDb(db, 0x00010003);
  ASSERT_NE(good, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(good));
  EXPECT_FALSE(CloseHandle(good)) << "closing twice";
  EXPECT_EQ(CeSeekDatabase(good, CEDB_SEEK_BEGINNING, 0, nullptr), 0u);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
}

TEST_F(Databases, SetDatabaseInfoRenamesRetypesAndResorts) {
  CEOID db = createDb(u"Old", {{0x00010003, 0}});
  CEOID other = createDb(u"Other");
  ASSERT_NE(other, 0u);
  HANDLE h = openDb(db);
  CEOID r5 = addRecord(h, {propI4(1, 5), propI4(2, 1)});
  CEOID r1 = addRecord(h, {propI4(1, 1), propI4(2, 9)});
  CEOIDINFO before{};
  CeOidGetInfo(db, &before);

  CEDBASEINFO change{};
  change.dwFlags = CEDB_VALIDNAME;
  std::memcpy(change.szDbaseName, u"other", 12);
  EXPECT_FALSE(CeSetDatabaseInfo(db, &change));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_DUP_NAME});

  change = {};
  change.dwFlags = CEDB_VALIDSORTSPEC;
  change.wNumSortOrder = 1;
  change.rgSortSpecs[0] = {0x00020003, CEDB_SORT_DESCENDING};
  EXPECT_FALSE(CeSetDatabaseInfo(db, &change)) << "sort orders change only while closed";
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
  CloseHandle(h);
  ASSERT_TRUE(CeSetDatabaseInfo(db, &change));

  change = {};
  change.dwFlags = CEDB_VALIDNAME | CEDB_VALIDTYPE | CEDB_VALIDMODTIME;
  std::memcpy(change.szDbaseName, u"New", 8);
  change.dwDbaseType = 42;
  change.ftLastModified = {0x11223344, 0x01C00000};
  ASSERT_TRUE(CeSetDatabaseInfo(db, &change));

  CEOIDINFO info{};
  ASSERT_TRUE(CeOidGetInfo(db, &info));
  EXPECT_EQ(nameOf(info), u"New");
  EXPECT_EQ(info.infDatabase.dwDbaseType, 42u);
  EXPECT_EQ(info.infDatabase.ftLastModified.dwLowDateTime, 0x11223344u);
  EXPECT_EQ(info.infDatabase.wNumRecords, 2);
  EXPECT_EQ(info.infDatabase.dwSize, before.infDatabase.dwSize);
  h = openDb(db, 0x00020003);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(walk(h), (std::vector<CEOID>{r1, r5})) << "records follow the new, descending sort order";
  CloseHandle(h);
}

TEST_F(Databases, SizeAndCountFollowEveryChange) {
  CEOID db = createDb(u"Sized");
  HANDLE h = openDb(db);
  auto info = [&] {
    CEOIDINFO i{};
    CeOidGetInfo(db, &i);
    return i.infDatabase;
  };
  CEOID a = addRecord(h, {propI4(1, 1), propString(2, u"abc")});  // 20 + 4+4 + 4+8
  EXPECT_EQ(info().dwSize, 40u);
  CEOID b = addRecord(h, {propI2(1, 1)});  // 20 + 4+2
  EXPECT_EQ(info().dwSize, 66u);
  EXPECT_EQ(info().wNumRecords, 2);
  CEPROPVAL grow = propString(2, u"abcdef");
  ASSERT_EQ(CeWriteRecordProps(h, a, 1, &grow), a);
  EXPECT_EQ(info().dwSize, 72u);
  ASSERT_TRUE(CeDeleteRecord(h, b));
  EXPECT_EQ(info().dwSize, 46u);
  EXPECT_EQ(info().wNumRecords, 1);
  CloseHandle(h);
}

TEST_F(Databases, ModificationTimeMovesWithChanges) {
  CEOID db = createDb(u"Timed");
  CEDBASEINFO old{};
  old.dwFlags = CEDB_VALIDMODTIME;
  old.ftLastModified = {1, 0};
  ASSERT_TRUE(CeSetDatabaseInfo(db, &old));
  HANDLE h = openDb(db);
  addRecord(h, {propI4(1, 1)});
  CloseHandle(h);
  CEOIDINFO info{};
  CeOidGetInfo(db, &info);
  EXPECT_GT(info.infDatabase.ftLastModified.dwHighDateTime, 0x01C00000u) << "set to now by the write";
}
