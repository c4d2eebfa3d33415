#include "StoreFixture.h"

using namespace storetest;

namespace {

class Databases : public StoreTest {};

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

TEST_F(Databases, CreatedDatabaseReportsItsInfoAndItsNameCutTo31Characters) {
  CEOID db = createDb(u"Contacts", {{0x0001001F, CEDB_SORT_CASEINSENSITIVE}, {0x00020040, CEDB_SORT_DESCENDING}}, 0x18);
  ASSERT_NE(db, 0u);
  CEOIDINFO info;
  std::memset(&info, 0xAB, sizeof info);
  ASSERT_TRUE(CeOidGetInfo(db, &info));
  EXPECT_EQ(info.wObjType, OBJTYPE_DATABASE);
  const CEDBASEINFO& d = info.infDatabase;
  EXPECT_EQ(std::u16string(d.szDbaseName), u"Contacts");
  EXPECT_EQ(d.dwDbaseType, 0x18u);
  EXPECT_EQ(d.wNumRecords, 0);
  EXPECT_EQ(d.dwSize, 0u);
  ASSERT_EQ(d.wNumSortOrder, 2);
  EXPECT_EQ(d.rgSortSpecs[0].propid, 0x0001001Fu);
  EXPECT_EQ(d.rgSortSpecs[0].dwFlags, DWORD{CEDB_SORT_CASEINSENSITIVE});
  EXPECT_EQ(d.rgSortSpecs[1].propid, 0x00020040u);
  EXPECT_EQ(d.rgSortSpecs[2].propid, 0u) << "unused sort orders are zeroed";
  EXPECT_EQ(d.dwFlags & (CEDB_VALIDTYPE | CEDB_VALIDSORTSPEC), DWORD{CEDB_VALIDTYPE | CEDB_VALIDSORTSPEC});
  EXPECT_NE(d.ftLastModified.dwHighDateTime, 0u);

  // Long names are cut to 31 characters; the cut name is the name.
  std::u16string name32 = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  CEOID cut = createDb(name32);
  ASSERT_NE(cut, 0u);
  EXPECT_EQ(std::u16string(infoOf(cut).szDbaseName), name32.substr(0, 31));
  EXPECT_FAILS(createDb(name32.substr(0, 31) + u"X"), 0u, ERROR_DUP_NAME);
  CEOID found = 0;
  HANDLE h = CeOpenDatabase(&found, name32.data(), 0, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(found, cut) << "opening by name writes the identifier back";
  CloseHandle(h);
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
      {"five sort orders", [&] { return CeCreateDatabase(const_cast<LPWSTR>(u"Five"), 0, 5, five.data()); },
       ERROR_INVALID_PARAMETER},
      {"null name", [] { return CeCreateDatabase(nullptr, 0, 0, nullptr); }, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FAILS(c.create(), 0u, c.error);
  }
  EXPECT_EQ(findAll(0).size(), 1u) << "nothing was created by the refused calls";
}

TEST_F(Databases, EnumerationFollowsCreationOrderAndType) {
  CEOID a = createDb(u"Zulu", {}, 5);
  CEOID b = createDb(u"Alpha", {}, 7);
  CEOID c = createDb(u"Mike", {}, 5);
  EXPECT_EQ(findAll(0), (std::vector<CEOID>{a, b, c}));
  EXPECT_EQ(findAll(5), (std::vector<CEOID>{a, c}));
  EXPECT_EQ(findAll(9), std::vector<CEOID>{});
  // A database deleted during a walk is not returned; the walk goes on, and
  // each found database clears the last error for callers that test only it.
  HANDLE walk = CeFindFirstDatabase(0);
  SetLastError(ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(CeFindNextDatabase(walk), a);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_SUCCESS});
  ASSERT_TRUE(CeDeleteDatabase(b));
  EXPECT_EQ(CeFindNextDatabase(walk), c);
  EXPECT_FAILS(CeFindNextDatabase(walk), 0u, ERROR_NO_MORE_ITEMS);
  CloseHandle(walk);
  EXPECT_FAILS(CeFindNextDatabase(walk), 0u, ERROR_INVALID_HANDLE);
}

TEST_F(Databases, IdentifiersAreUniqueNeverReusedAndStaleOnesAreRefused) {
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
  CEOIDINFO info{};
  ASSERT_TRUE(CeOidGetInfo(r3, &info));
  EXPECT_EQ(info.wObjType, OBJTYPE_RECORD);
  EXPECT_EQ(info.infRecord.oidParent, b);
  for (CEOID stale : {CEOID{0}, CEOID{12345}, r3 + 1000, a, r1}) EXPECT_FAILS(CeOidGetInfo(stale, &info), FALSE, ERROR_INVALID_HANDLE);
}

TEST_F(Databases, OpeningNeedsAKnownDatabaseAndOneOfItsSortOrdersAndDeletingAClosedOne) {
  CEOID db = createDb(u"Sorted", {{0x00010003, 0}});
  CEOID none = 0;
  EXPECT_FAILS(openDb(db, 0x00020003), INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER);  // not a sort order
  EXPECT_FAILS(CeOpenDatabase(&none, const_cast<LPWSTR>(u"Nope"), 0, 0, nullptr), INVALID_HANDLE_VALUE,
               ERROR_FILE_NOT_FOUND);
  EXPECT_FAILS(openDb(db + 999), INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER);
  EXPECT_FAILS(CeOpenDatabase(nullptr, nullptr, 0, 0, nullptr), INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER);
  EXPECT_FAILS(openDb(db, 0, 0x10), INVALID_HANDLE_VALUE, ERROR_INVALID_PARAMETER);  // an unknown flag
  HANDLE good = openDb(db, 0x00010003);
  ASSERT_NE(good, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(good));
  EXPECT_FALSE(CloseHandle(good)) << "closing twice";
  EXPECT_FAILS(CeSeekDatabase(good, CEDB_SEEK_BEGINNING, 0, nullptr), 0u, ERROR_INVALID_HANDLE);

  // An open database is not deleted; once closed, its records go with it.
  HANDLE h = openDb(db);
  CEOID rec = addRecord(h, {propI4(1, 1)});
  EXPECT_FAILS(CeDeleteDatabase(db), FALSE, ERROR_SHARING_VIOLATION);
  ASSERT_TRUE(CloseHandle(h));
  EXPECT_TRUE(CeDeleteDatabase(db));
  CEOIDINFO info{};
  EXPECT_FALSE(CeOidGetInfo(rec, &info));
  EXPECT_FAILS(CeDeleteDatabase(db), FALSE, ERROR_INVALID_PARAMETER);
}

TEST_F(Databases, SizeCountAndModificationTimeFollowEveryChange) {
  CEOID db = createDb(u"Sized");
  CEDBASEINFO old{};
  old.dwFlags = CEDB_VALIDMODTIME;
  old.ftLastModified = {1, 0};
  ASSERT_TRUE(CeSetDatabaseInfo(db, &old));
  HANDLE h = openDb(db);
  CEOID a = addRecord(h, {propI4(1, 1), propString(2, u"abc")});  // 20 + 4+4 + 4+8
  EXPECT_EQ(infoOf(db).dwSize, 40u);
  EXPECT_GT(infoOf(db).ftLastModified.dwHighDateTime, 0x01C00000u) << "set to now by the write";
  CEOID b = addRecord(h, {propI2(1, 1)});  // 20 + 4+2
  EXPECT_EQ(infoOf(db).dwSize, 66u);
  EXPECT_EQ(infoOf(db).wNumRecords, 2);
  CEPROPVAL grow = propString(2, u"abcdef");
  ASSERT_EQ(CeWriteRecordProps(h, a, 1, &grow), a);
  EXPECT_EQ(infoOf(db).dwSize, 72u);
  ASSERT_TRUE(CeDeleteRecord(h, b));
  EXPECT_EQ(infoOf(db).dwSize, 46u);
  EXPECT_EQ(infoOf(db).wNumRecords, 1);
  CloseHandle(h);
}
