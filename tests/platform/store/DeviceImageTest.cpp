#include <sys/stat.h>

#include "StoreFixture.h"
#include "store/SampleImage.h"
#include "store/Sqlite.h"

using namespace storetest;

namespace {

class DeviceImages : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = makeTempDir();
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override {
    store::closeDeviceImage();
    std::filesystem::remove_all(dir_);
  }
  std::string dir_;
};

struct FileState {
  std::vector<uint8_t> bytes;
  timespec mtime{};
  std::vector<std::string> siblings;
  bool operator==(const FileState& o) const {
    return bytes == o.bytes && mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec &&
           siblings == o.siblings;
  }
};

FileState stateOf(const std::string& path) {
  FileState state;
  state.bytes = readFile(path);
  struct stat st {};
  ::stat(path.c_str(), &st);
  state.mtime = st.st_mtim;
  for (auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
    state.siblings.push_back(entry.path().filename().string());
  std::sort(state.siblings.begin(), state.siblings.end());
  return state;
}

void setPragma(const std::string& path, const std::string& sql) {
  store::Connection raw;
  std::string error;
  ASSERT_TRUE(raw.open(path, store::Connection::Mode::ReadWrite, error)) << error;
  ASSERT_TRUE(raw.exec(sql)) << raw.lastError();
}

}  // namespace

TEST_F(DeviceImages, FilesThatAreNotSoundImagesAreRefusedAndLeftUntouched) {
  std::string good = dir_ + "/good.img";
  ASSERT_TRUE(createEmptyImage(good));
  std::vector<uint8_t> image = readFile(good);
  ASSERT_GT(image.size(), 4096u);

  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
    const char* reason;
  };
  std::vector<Case> cases = {
      {"empty", [](const std::string& p) { writeFile(p, {}); }, "not a device image"},
      {"random bytes",
       [](const std::string& p) {
         std::vector<uint8_t> noise(8192);
         uint32_t x = 12345;
         for (auto& b : noise) b = static_cast<uint8_t>((x = x * 1103515245 + 12345) >> 16);
         writeFile(p, noise);
       },
       "not a device image"},
      {"truncated", [&](const std::string& p) { writeFile(p, {image.begin(), image.begin() + 5000}); }, "truncated"},
      {"another SQLite database",
       [](const std::string& p) {
         store::Connection raw;
         std::string error;
         raw.open(p, store::Connection::Mode::Create, error);
         raw.exec("CREATE TABLE notes(text)");
       },
       "another kind"},
      {"newer format",
       [&](const std::string& p) {
         writeFile(p, image);
         setPragma(p, "PRAGMA user_version = 99");
       },
       "newer version"},
      {"foreign tables under our id",
       [&](const std::string& p) {
         writeFile(p, image);
         setPragma(p, "CREATE TABLE extra(x)");
       },
       "not a device image"},
      {"damaged page",
       [&](const std::string& p) {
         std::vector<uint8_t> damaged = image;
         for (size_t i = 4096; i < 4096 + 12; ++i) damaged[i] ^= 0x5A;  // a page header
         writeFile(p, damaged);
       },
       "damaged"},
      {"a directory", [](const std::string& p) { std::filesystem::create_directory(p); }, "not a regular file"},
  };
  for (const Case& c : cases) {
    std::string path = dir_ + "/" + c.name;
    c.make(path);
    FileState before = stateOf(path);
    std::string error;
    EXPECT_FALSE(store::openDeviceImage(path, error)) << c.name;
    EXPECT_NE(error.find(path), std::string::npos) << c.name << ": " << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
    EXPECT_TRUE(stateOf(path) == before) << c.name << ": the file was changed";
    EXPECT_EQ(CeFindFirstDatabase(0), INVALID_HANDLE_VALUE) << c.name << ": no image is open";
  }
  std::string error;
  EXPECT_FALSE(store::openDeviceImage(dir_ + "/missing.img", error));
  EXPECT_NE(error.find("missing.img"), std::string::npos);
}

TEST_F(DeviceImages, AReadOnlyImageIsBrowsedButNeverWritten) {
  std::string path = dir_ + "/ro.img";
  ASSERT_TRUE(createEmptyImage(path));
  std::string error;
  ASSERT_TRUE(store::openDeviceImage(path, error)) << error;
  CEOID db = createDb(u"Kept");
  HANDLE h = openDb(db);
  CEOID rec = addRecord(h, {propI4(1, 1)});
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Test", 0, nullptr, 0, 0, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  CloseHandle(h);
  store::closeDeviceImage();
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  FileState before = stateOf(path);

  ASSERT_TRUE(store::openDeviceImage(path, error)) << error;
  h = openDb(db);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(walk(h), std::vector<CEOID>{rec}) << "everything can be browsed";
  ReadResult r;
  readCurrent(h, r);
  EXPECT_EQ(r.oid, rec);
  CEPROPVAL value = propI4(2, 2);
  struct Case {
    const char* what;
    std::function<bool()> change;
  };
  std::vector<Case> cases = {
      {"delete record", [&] { return CeDeleteRecord(h, rec) != FALSE; }},
      {"write record", [&] { return CeWriteRecordProps(h, rec, 1, &value) != 0; }},
      {"create database", [&] { return createDb(u"New") != 0; }},
      {"set database info",
       [&] {
         CEDBASEINFO info{};
         info.dwFlags = CEDB_VALIDTYPE;
         return CeSetDatabaseInfo(db, &info) != FALSE;
       }},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(c.change()) << c.what;
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED}) << c.what;
  }
  CloseHandle(h);
  EXPECT_FALSE(CeDeleteDatabase(db));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Test", 0, 0, &key), ERROR_SUCCESS);
  BYTE data[4] = {1, 2, 3, 4};
  EXPECT_EQ(RegSetValueExW(key, u"v", 0, REG_BINARY, data, 4), ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\New", 0, nullptr, 0, 0, nullptr, &key, nullptr),
            ERROR_ACCESS_DENIED);
  store::closeDeviceImage();
  EXPECT_TRUE(stateOf(path) == before) << "the read-only image was written to";
}

TEST_F(DeviceImages, TheSampleIsDeterministicAndRefusesToOverwrite) {
  std::string a = dir_ + "/a.img", b = dir_ + "/b.img";
  std::string error;
  ASSERT_TRUE(store::writeSampleImage(a, error)) << error;
  ASSERT_TRUE(store::writeSampleImage(b, error)) << error;
  EXPECT_TRUE(readFile(a) == readFile(b)) << "the same sample, byte for byte";
  FileState before = stateOf(a);
  EXPECT_FALSE(store::writeSampleImage(a, error));
  EXPECT_NE(error.find("exists"), std::string::npos) << error;
  EXPECT_TRUE(stateOf(a) == before);
}

TEST_F(DeviceImages, TheSampleHoldsARealisticObjectStore) {
  std::string path = dir_ + "/sample.img";
  std::string error;
  ASSERT_TRUE(store::writeSampleImage(path, error)) << error;
  ASSERT_TRUE(store::openDeviceImage(path, error)) << error;

  std::map<std::u16string, CEDBASEINFO> dbs;
  std::map<std::u16string, CEOID> oids;
  HANDLE walkAll = CeFindFirstDatabase(0);
  for (CEOID oid; (oid = CeFindNextDatabase(walkAll)) != 0;) {
    CEOIDINFO info{};
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    dbs[info.infDatabase.szDbaseName] = info.infDatabase;
    oids[info.infDatabase.szDbaseName] = oid;
  }
  CloseHandle(walkAll);
  for (auto [name, type] : std::vector<std::pair<std::u16string, DWORD>>{
           {u"Contacts Database", 0x18}, {u"Appointments Database", 0x19}, {u"Tasks Database", 0x1A},
           {u"Categories Database", 0x1B}, {u"DB_notify_events", 0}, {u"DB_notify_queue", 0}}) {
    ASSERT_TRUE(dbs.count(name)) << std::string(name.begin(), name.end());
    EXPECT_EQ(dbs[name].dwDbaseType, type);
  }
  EXPECT_GE(dbs[u"Contacts Database"].wNumRecords, 200);
  std::set<WORD> types;
  bool four = false, none = false, empty = false, large = false;
  for (auto& [name, info] : dbs) {
    four |= info.wNumSortOrder == 4;
    none |= info.wNumSortOrder == 0;
    empty |= info.wNumRecords == 0;
    large |= info.wNumRecords == 65535;
    // Every database is readable to its end, and its count and size agree
    // with its records.
    if (info.wNumRecords > 1000) continue;
    HANDLE h = openDb(oids[name], 0, CEDB_AUTOINCREMENT);
    uint32_t count = 0, size = 0;
    std::map<WORD, std::set<WORD>> typesOfNumber;
    for (;;) {
      ReadResult r;
      readCurrent(h, r);
      if (!r.oid) {
        EXPECT_EQ(r.error, DWORD{ERROR_NO_MORE_ITEMS});
        break;
      }
      ++count;
      size += 20;
      for (const CEPROPVAL& p : r.props) {
        WORD type = TypeFromPropID(p.propid);
        types.insert(type);
        typesOfNumber[p.propid >> 16].insert(type);
        size += 4 + (type == CEVT_LPWSTR  ? (std::char_traits<char16_t>::length(p.val.lpwstr) + 1) * 2
                     : type == CEVT_BLOB  ? p.val.blob.dwCount
                     : type == CEVT_I2 || type == CEVT_UI2 ? 2
                     : type == CEVT_R8 || type == CEVT_FILETIME ? 8
                                                                : 4);
      }
    }
    CloseHandle(h);
    EXPECT_EQ(count, info.wNumRecords) << std::string(name.begin(), name.end());
    EXPECT_EQ(size, info.dwSize) << std::string(name.begin(), name.end());
    if (name == u"AppSettings") {
      EXPECT_EQ(typesOfNumber[0x8001].size(), 2u) << "one number, two types";
    }
  }
  EXPECT_TRUE(four && none && empty && large);
  EXPECT_EQ(types, (std::set<WORD>{CEVT_I2, CEVT_I4, CEVT_R8, CEVT_BOOL, CEVT_UI2, CEVT_UI4, CEVT_LPWSTR,
                                   CEVT_FILETIME, CEVT_BLOB}));

  // Contacts carry their documented properties and sort by file-as.
  HANDLE contacts = openDb(oids[u"Contacts Database"], 0x4013001F);
  ASSERT_NE(contacts, INVALID_HANDLE_VALUE);
  ReadResult first;
  readCurrent(contacts, first);
  EXPECT_NE(first.find(0x3A11001F), nullptr);
  EXPECT_NE(first.find(0x3A06001F), nullptr);
  CloseHandle(contacts);
}
