#include "StoreFixture.h"

#include "store/Sqlite.h"

using namespace storetest;

namespace {

class Records : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    db = createDb(u"Records");
    h = openDb(db);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
  }
  void TearDown() override {
    CloseHandle(h);
    StoreTest::TearDown();
  }
  CEOID db = 0;
  HANDLE h = nullptr;
};

}  // namespace

TEST_F(Records, EveryTypeReadsBackAsWritten) {
  std::vector<BYTE> bytes = {1, 2, 3, 0, 255};
  std::vector<CEPROPVAL> written = {prop(1, CEVT_I2), prop(2, CEVT_UI2), propI4(3, -70000), prop(4, CEVT_UI4),
                                    prop(5, CEVT_BOOL), prop(6, CEVT_R8), propTime(7, 0x01C2DEADBEEF0001ULL),
                                    propString(8, u"Grüße \xD83D\xDE00"), propString(9, u""), propBlob(10, bytes)};
  written[0].val.iVal = -2;
  written[1].val.uiVal = 65000;
  written[3].val.ulVal = 4000000000u;
  written[4].val.boolVal = TRUE;
  written[5].val.dblVal = -1.25;
  CEOID rec = CeWriteRecordProps(h, 0, static_cast<WORD>(written.size()), written.data());
  ASSERT_NE(rec, 0u);
  ReadResult r;
  readCurrent(h, r);
  ASSERT_EQ(r.oid, rec);
  ASSERT_EQ(r.props.size(), written.size());
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(r.props[i].propid, written[i].propid) << i;
    EXPECT_EQ(std::memcmp(&r.props[i].val, &written[i].val, sizeof(CEVALUNION)), 0) << i;
  }
  EXPECT_EQ(std::u16string(r.props[7].val.lpwstr), u"Grüße \xD83D\xDE00");
  EXPECT_EQ(std::u16string(r.props[8].val.lpwstr), u"");
  ASSERT_EQ(r.props[9].val.blob.dwCount, 5u);
  EXPECT_EQ(std::vector<BYTE>(r.props[9].val.blob.lpb, r.props[9].val.blob.lpb + 5), bytes);
  // Strings and blobs live in the same block, after the array, aligned.
  auto* text = reinterpret_cast<BYTE*>(r.props[7].val.lpwstr);
  EXPECT_GE(text, r.buffer + written.size() * sizeof(CEPROPVAL));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(text) % alignof(WCHAR), 0u);
  EXPECT_LE(r.props[9].val.blob.lpb + 5, r.buffer + LocalSize(r.buffer));
  // 20 for the record, 4 per property, then 2 + 2 + 4 + 4 + 4 + 8 + 8, (8 units + terminator) * 2, 2 and 5.
  EXPECT_EQ(infoOf(db).dwSize, 20u + 10 * 4 + 32 + 18 + 2 + 5);
}

TEST_F(Records, ReallocGrowsNullAndSmallLocalBuffers) {
  std::u16string longText(3000, u'x');
  ASSERT_NE(addRecord(h, {propString(1, longText.c_str())}), 0u);
  for (SIZE_T initial : {0, 8, 10000}) {  // from null, from a small buffer, large enough
    BYTE* buffer = initial ? static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, initial)) : nullptr;
    BYTE* original = buffer;
    DWORD size = static_cast<DWORD>(initial);
    WORD count = 0;
    ASSERT_NE(CeReadRecordProps(h, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size), 0u) << initial;
    EXPECT_GE(LocalSize(buffer), size) << initial;
    EXPECT_EQ(size, sizeof(CEPROPVAL) + (longText.size() + 1) * 2) << initial;
    EXPECT_EQ(std::u16string(reinterpret_cast<CEPROPVAL*>(buffer)->val.lpwstr), longText) << initial;
    if (initial >= size) {
      EXPECT_EQ(buffer, original) << "a buffer that fits is used as it is";
    }
    LocalFree(buffer);
  }
}

TEST_F(Records, PropDeleteRemovesAPropertyAndChangesSurviveReopeningAndListedOnesComeInTheirOrder) {
  CEOID rec = addRecord(h, {propI4(1, 1), propString(2, u"gone"), propI4(3, 9)});
  CEOID deleted = addRecord(h, {propString(1, u"deleted")});
  CEPROPVAL change[2] = {propString(2, nullptr), propI4(4, 4)};
  change[0].wFlags = CEDB_PROPDELETE;
  ASSERT_EQ(CeWriteRecordProps(h, rec, 2, change), rec);
  ASSERT_TRUE(CeDeleteRecord(h, deleted));
  CloseHandle(h);
  reopen();
  h = openDb(db);
  EXPECT_EQ(walk(h), std::vector<CEOID>{rec});
  ReadResult r;
  readCurrent(h, r);
  ASSERT_EQ(r.props.size(), 3u);
  EXPECT_EQ(r.find(0x0002001F), nullptr);
  EXPECT_EQ(r.props[2].val.lVal, 4);
  // Listed properties come in the listed order; missing ones are flagged.
  ReadResult listed;
  readCurrent(h, listed, {0x00030003, 0x0002001F, 0x00040003, 0x00010013});
  ASSERT_EQ(listed.props.size(), 4u);
  EXPECT_EQ(listed.props[0].val.lVal, 9);
  EXPECT_EQ(listed.props[0].wFlags, 0);
  EXPECT_EQ(listed.props[1].wFlags, CEDB_PROPNOTFOUND);
  EXPECT_EQ(listed.props[2].val.lVal, 4);
  EXPECT_EQ(listed.props[3].wFlags, CEDB_PROPNOTFOUND) << "same number, other type: not the property";
}

TEST_F(Records, WritesOverTheLimitsAreRefused) {
  std::u16string fits(CEDB_MAXPROPDATASIZE / 2 - 1, u'a');  // 65,470 bytes with its terminator
  std::u16string over(CEDB_MAXPROPDATASIZE / 2, u'a');      // 65,472
  std::vector<BYTE> blobFits(CEDB_MAXPROPDATASIZE, 1), blobOver(CEDB_MAXPROPDATASIZE + 1, 1), big(60000, 2);
  EXPECT_NE(addRecord(h, {propString(1, fits.c_str())}), 0u);
  EXPECT_NE(addRecord(h, {propBlob(1, blobFits)}), 0u);
  std::pair<const char*, std::vector<CEPROPVAL>> cases[] = {
      {"a 65,472-byte string", {propString(1, over.c_str())}}, {"a 65,472-byte blob", {propBlob(1, blobOver)}},
      {"a record over 128 KB", {propBlob(1, big), propBlob(2, big), propBlob(3, big)}},
  };
  for (auto& [what, props] : cases) {
    SCOPED_TRACE(what);
    EXPECT_FAILS(CeWriteRecordProps(h, 0, static_cast<WORD>(props.size()), props.data()), 0u, ERROR_INVALID_PARAMETER);
  }
  EXPECT_EQ(infoOf(db).wNumRecords, 2) << "no refused write left a record";

}

TEST_F(Records, TheDatabaseHoldsAtMost65535Records) {
  CloseHandle(h);
  store::closeDeviceImage();
  {
    store::Image image;
    std::string error;
    ASSERT_TRUE(image.open(path_, error)) << error;
    store::ImageWriter writer(image);
    ASSERT_TRUE(writer.begin());
    store::DatabaseDefinition definition;
    definition.name = u"Full";
    CEOID full = writer.addDatabase(definition);
    ASSERT_NE(full, 0u);
    store::Record record(1);
    record[0].propid = 0x00010013;
    for (uint32_t i = 0; i < CEDB_MAXNUMRECORDS; ++i) {
      record[0].bits = i;
      ASSERT_NE(writer.addRecord(full, record), 0u);
    }
    EXPECT_EQ(writer.addRecord(full, record), 0u) << "the writer keeps the limit too";
    ASSERT_TRUE(writer.commit()) << writer.error();
  }
  std::string error;
  ASSERT_TRUE(store::openDeviceImage(path_, error)) << error;
  CEOID full = 0;
  h = CeOpenDatabase(&full, const_cast<LPWSTR>(u"Full"), 0, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CEPROPVAL value = propI4(1, 1);
  EXPECT_FAILS(CeWriteRecordProps(h, 0, 1, &value), 0u, ERROR_DISK_FULL);
  CEOID last = CeSeekDatabase(h, CEDB_SEEK_END, 0, nullptr);
  EXPECT_EQ(CeWriteRecordProps(h, last, 1, &value), last) << "existing records can still change";
  ASSERT_TRUE(CeDeleteRecord(h, last));
  EXPECT_NE(CeWriteRecordProps(h, 0, 1, &value), 0u) << "room for one again";
  EXPECT_EQ(infoOf(full).wNumRecords, 65535);
}

TEST_F(Records, ADamagedRecordReadsAsInvalidDataAndOthersStayReadable) {
  CEOID good1 = addRecord(h, {propI4(1, 1)});
  CEOID bad = addRecord(h, {propString(1, u"will be damaged")});
  CEOID good2 = addRecord(h, {propI4(1, 3)});
  CloseHandle(h);
  store::closeDeviceImage();
  {
    store::Connection raw;
    std::string error;
    ASSERT_TRUE(raw.open(path_, store::Connection::Mode::ReadWrite, error));
    store::Statement damage = raw.prepare("UPDATE records SET props = x'0100FF1F0000FFFFFF7F41' WHERE oid = ?");
    damage.bind(1, int64_t{bad});
    damage.step();
    ASSERT_TRUE(damage.ok());
  }
  reopen();
  h = openDb(db, 0, CEDB_AUTOINCREMENT);
  ReadResult r1, r2, r3;
  for (ReadResult* r : {&r1, &r2, &r3}) readCurrent(h, *r);
  EXPECT_EQ(r1.oid, good1);
  EXPECT_EQ(r2.error, DWORD{ERROR_INVALID_DATA});
  EXPECT_EQ(r3.oid, good2) << "the reader moves on past the damaged record";
  // A damaged record can still be deleted.
  EXPECT_TRUE(CeDeleteRecord(h, bad));
}
