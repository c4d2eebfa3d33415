#include <tuple>

#include "StoreFixture.h"

using namespace storetest;

namespace {

class Databases : public StoreTest {};

std::vector<CEOID> findAll(DWORD type) {
  std::vector<CEOID> found;
  HANDLE walk = CeFindFirstDatabase(type);
  for (CEOID oid; (oid = CeFindNextDatabase(walk)) != 0;) found.push_back(oid);
  EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_ITEMS});
  EXPECT_TRUE(CloseHandle(walk));
  return found;
}

}  // namespace

TEST_F(Databases, CreatedDatabaseReportsItsInfoAndItsNameCutTo31Characters) {
  CEOID db = createDb(u"Contacts", {{0x0001001F, CEDB_SORT_CASEINSENSITIVE}, {0x00020040, CEDB_SORT_DESCENDING}}, 0x18);
  CEOIDINFO info;
  std::memset(&info, 0xAB, sizeof info);
  ASSERT_TRUE(CeOidGetInfo(db, &info));
  EXPECT_EQ(info.wObjType, OBJTYPE_DATABASE);
  const CEDBASEINFO& d = info.infDatabase;
  EXPECT_EQ(std::u16string(d.szDbaseName), u"Contacts");
  EXPECT_EQ(d.dwDbaseType, 0x18u);
  EXPECT_EQ(d.wNumRecords + d.dwSize, 0u);
  ASSERT_EQ(d.wNumSortOrder, 2);
  EXPECT_EQ(d.rgSortSpecs[0].dwFlags, DWORD{CEDB_SORT_CASEINSENSITIVE});
  EXPECT_EQ(d.rgSortSpecs[1].propid, 0x00020040u);
  EXPECT_EQ(d.dwFlags & (CEDB_VALIDTYPE | CEDB_VALIDSORTSPEC), DWORD{CEDB_VALIDTYPE | CEDB_VALIDSORTSPEC});

  // Long names are cut to 31 characters; the cut name is the name.
  std::u16string name32 = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  CEOID cut = createDb(name32);
  EXPECT_EQ(std::u16string(infoOf(cut).szDbaseName), name32.substr(0, 31));
  EXPECT_FAILS(createDb(name32.substr(0, 31) + u"X"), 0u, ERROR_DUP_NAME);
  CEOID found = 0;
  HANDLE h = CeOpenDatabase(&found, name32.data(), 0, 0, nullptr);
  EXPECT_EQ(found, cut) << "opening by name writes the identifier back";
  CloseHandle(h);
}

TEST_F(Databases, EnumerationFollowsCreationOrderAndType) {
  CEOID a = createDb(u"Zulu", {}, 5), b = createDb(u"Alpha", {}, 7), c = createDb(u"Mike", {}, 5);
  EXPECT_EQ(findAll(0), (std::vector<CEOID>{a, b, c}));
  EXPECT_EQ(findAll(5), (std::vector<CEOID>{a, c}));
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
}

TEST_F(Databases, IdentifiersAreUniqueNeverReusedAndStaleOnesAreRefused) {
  CEOID a = createDb(u"A");
  HANDLE h = openDb(a);
  CEOID r1 = addRecord(h, {propI4(1, 1)}), r2 = addRecord(h, {propI4(1, 2)});
  CloseHandle(h);
  ASSERT_TRUE(CeDeleteDatabase(a));
  CEOID b = createDb(u"A");
  h = openDb(b);
  CEOID r3 = addRecord(h, {propI4(1, 3)});
  CloseHandle(h);
  reopen();
  std::vector<CEOID> all = {a, r1, r2, b, r3, createDb(u"C")};
  for (size_t i = 0; i < all.size(); ++i)
    for (size_t j = 0; j < i; ++j) EXPECT_NE(all[i], all[j]) << i << " " << j;
  CEOIDINFO info{};
  ASSERT_TRUE(CeOidGetInfo(r3, &info));
  EXPECT_EQ(info.wObjType, OBJTYPE_RECORD);
  EXPECT_EQ(info.infRecord.oidParent, b);
  for (CEOID stale : {CEOID{0}, r3 + 1000, a, r1}) EXPECT_FAILS(CeOidGetInfo(stale, &info), FALSE, ERROR_INVALID_HANDLE);
}

TEST_F(Databases, OpeningNeedsAKnownDatabaseAndOnlyAClosedOneIsDeleted) {
  CEOID db = createDb(u"Sorted", {{0x00010003, 0}});
  CEOID none = 0;
  EXPECT_FAILS(CeOpenDatabase(&none, const_cast<LPWSTR>(u"Nope"), 0, 0, nullptr), INVALID_HANDLE_VALUE,
               ERROR_FILE_NOT_FOUND);
  // An open database is not deleted; once closed, its records go with it,
  // also for the next process.
  HANDLE h = openDb(db);
  CEOID rec = addRecord(h, {propI4(1, 1)});
  EXPECT_FAILS(CeDeleteDatabase(db), FALSE, ERROR_SHARING_VIOLATION);
  ASSERT_TRUE(CloseHandle(h));
  EXPECT_TRUE(CeDeleteDatabase(db));
  reopen();
  CEOIDINFO info{};
  EXPECT_FALSE(CeOidGetInfo(rec, &info));
  EXPECT_FAILS(CeDeleteDatabase(db), FALSE, ERROR_INVALID_PARAMETER);
}

TEST_F(Databases, SizeAndCountFollowEveryChange) {
  CEOID db = createDb(u"Sized");
  HANDLE h = openDb(db);
  addRecord(h, {propI4(1, 1), propString(2, u"abc")});  // 20 + 4+4 + 4+8
  EXPECT_EQ(infoOf(db).dwSize, 40u);
  CEOID b = addRecord(h, {propI2(1, 1)});  // 20 + 4+2
  EXPECT_EQ(infoOf(db).dwSize, 66u);
  ASSERT_TRUE(CeDeleteRecord(h, b));
  EXPECT_EQ(infoOf(db).dwSize, 40u);
  EXPECT_EQ(infoOf(db).wNumRecords, 1);
  CloseHandle(h);
}

TEST_F(Databases, SetDatabaseInfoRenamesRetypesAndResortsAClosedDatabase) {
  CEOID db = createDb(u"Old", {{0x00010003, 0}});
  ASSERT_NE(createDb(u"Other"), 0u);
  HANDLE h = openDb(db);
  CEOID r5 = addRecord(h, {propI4(1, 5), propI4(2, 1)});
  CEOID r1 = addRecord(h, {propI4(1, 1), propI4(2, 9)});
  DWORD size = infoOf(db).dwSize;
  auto set = [db](DWORD flags, const char16_t* name, WORD sorts, SORTORDERSPEC sort) {
    CEDBASEINFO change{flags | CEDB_VALIDTYPE | CEDB_VALIDMODTIME, {}, 42, 0, sorts, 0, {0x11223344, 0x01C00000}, {sort}};
    std::char_traits<char16_t>::copy(change.szDbaseName, name, std::char_traits<char16_t>::length(name));
    return CeSetDatabaseInfo(db, &change);
  };
  const SORTORDERSPEC descending{0x00020003, CEDB_SORT_DESCENDING};
  EXPECT_FAILS(set(CEDB_VALIDNAME, u"other", 0, {}), FALSE, ERROR_DUP_NAME);
  EXPECT_FAILS(set(CEDB_VALIDNAME, u"", 0, {}), FALSE, ERROR_INVALID_PARAMETER);
  EXPECT_FAILS(set(CEDB_VALIDSORTSPEC, u"", 1, {0x00020041, 0}), FALSE, ERROR_INVALID_PARAMETER);  // a blob
  // Handles walk the old order, so the order changes only while none is open.
  EXPECT_FAILS(set(CEDB_VALIDSORTSPEC, u"", 1, descending), FALSE, ERROR_SHARING_VIOLATION);
  EXPECT_FAILS(CeSetDatabaseInfo(db, nullptr), FALSE, ERROR_INVALID_PARAMETER);
  CloseHandle(h);
  ASSERT_TRUE(set(CEDB_VALIDNAME | CEDB_VALIDSORTSPEC, u"New", 1, descending));
  reopen();
  CEDBASEINFO info = infoOf(db);
  EXPECT_EQ(std::u16string(info.szDbaseName), u"New");
  EXPECT_EQ(std::tuple(info.dwDbaseType, info.ftLastModified.dwLowDateTime, info.wNumRecords, info.dwSize),
            std::tuple(DWORD{42}, DWORD{0x11223344}, WORD{2}, size)) << "type, time, records and size";
  h = openDb(db, 0x00020003);
  EXPECT_EQ(walk(h), (std::vector<CEOID>{r1, r5})) << "records follow the new, descending sort order";
  CloseHandle(h);
}
