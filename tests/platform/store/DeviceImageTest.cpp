#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <tuple>

#include "StoreFixture.h"
#include "store/Session.h"
#include "store/Sqlite.h"

using namespace storetest;

namespace {

class DeviceImages : public TempDirTest {};

// What a refused or read-only open must leave alone: the bytes, the
// modification time and the files beside it (no journal left behind).
using FileState = std::tuple<std::vector<uint8_t>, int64_t, std::vector<std::string>>;

FileState stateOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  std::vector<std::string> siblings;
  for (auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path()))
    siblings.push_back(entry.path().filename().string());
  std::sort(siblings.begin(), siblings.end());
  return {readFile(path), st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec, siblings};
}

void execSql(const std::string& path, const std::string& sql) {
  store::Connection raw;
  std::string error;
  ASSERT_TRUE(raw.open(path, store::Connection::Mode::Create, error)) << error;
  ASSERT_TRUE(raw.exec(sql)) << raw.lastError();
}

}  // namespace

TEST_F(DeviceImages, FilesThatAreNotSoundImagesAreRefusedAndLeftUntouched) {
  std::string good = dir_ + "/good.img";
  ASSERT_TRUE(createEmptyImage(good));
  std::vector<uint8_t> image = readFile(good), noise(8192), damaged = image;
  ASSERT_GT(image.size(), 4096u);
  uint32_t x = 12345;
  for (auto& b : noise) b = static_cast<uint8_t>((x = x * 1103515245 + 12345) >> 16);
  for (size_t i = 4096; i < 4096 + 12; ++i) damaged[i] ^= 0x5A;  // a page header
  auto bytes = [](std::vector<uint8_t> b) { return [b](const std::string& p) { writeFile(p, b); }; };
  auto sql = [&image](const char* statement, bool onImage) {
    return [&image, statement, onImage](const std::string& p) {
      if (onImage) writeFile(p, image);
      execSql(p, statement);
    };
  };
  struct Case { const char* name; std::function<void(const std::string&)> make; const char* reason; };
  std::vector<Case> cases = {
      {"empty", bytes({}), "not a device image"}, {"random bytes", bytes(noise), "not a device image"},
      {"truncated", bytes({image.begin(), image.begin() + 5000}), "truncated"},
      {"another SQLite database", sql("CREATE TABLE notes(text)", false), "another kind"},
      {"newer format", sql("PRAGMA user_version = 99", true), "newer version"},
      {"foreign tables under our id", sql("CREATE TABLE extra(x)", true), "not a device image"},
      {"damaged page", bytes(damaged), "damaged"},
      {"a directory", [](const std::string& p) { std::filesystem::create_directory(p); }, "not a regular file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = dir_ + "/" + c.name;
    c.make(path);
    FileState before = stateOf(path);
    std::string error;
    EXPECT_FALSE(store::openDeviceImage(path, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_TRUE(stateOf(path) == before) << "the file was changed";
    EXPECT_EQ(CeFindFirstDatabase(0), INVALID_HANDLE_VALUE) << "no image is open";
  }
  std::string error;
  EXPECT_FALSE(store::openDeviceImage(dir_ + "/missing.img", error));
  EXPECT_NE(error.find("missing.img"), std::string::npos);
  // A reported change must survive a power cut: every commit is synced.
  ASSERT_TRUE(store::openDeviceImage(good, error)) << error;
  EXPECT_EQ(store::currentImage()->db().pragma("synchronous"), 2) << "PRAGMA synchronous = FULL";
}

TEST_F(DeviceImages, AReadOnlyImageIsBrowsedButNeverWritten) {
  std::string path = dir_ + "/ro.img";
  ASSERT_TRUE(createEmptyImage(path));
  std::string error;
  ASSERT_TRUE(store::openDeviceImage(path, error)) << error;
  CEOID db = createDb(u"Kept");
  HANDLE h = openDb(db);
  CEOID rec = addRecord(h, {propI4(1, 1)});
  CloseHandle(h);
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Test", 0, nullptr, 0, 0, nullptr, &key, nullptr);
  RegCloseKey(key);
  store::closeDeviceImage();
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  FileState before = stateOf(path);

  ASSERT_TRUE(store::openDeviceImage(path, error)) << error;
  h = openDb(db);
  EXPECT_EQ(walk(h), std::vector<CEOID>{rec}) << "everything can be browsed";
  CEPROPVAL value = propI4(2, 2);
  EXPECT_FAILS(CeDeleteRecord(h, rec), FALSE, ERROR_ACCESS_DENIED);
  EXPECT_FAILS(CeWriteRecordProps(h, rec, 1, &value), 0u, ERROR_ACCESS_DENIED);
  EXPECT_FAILS(createDb(u"New"), 0u, ERROR_ACCESS_DENIED);
  CloseHandle(h);
  EXPECT_FAILS(CeDeleteDatabase(db), FALSE, ERROR_ACCESS_DENIED);
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Test", 0, 0, &key), ERROR_SUCCESS);
  BYTE data[4] = {1, 2, 3, 4};
  EXPECT_EQ(RegSetValueExW(key, u"v", 0, REG_BINARY, data, 4), ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\New", 0, nullptr, 0, 0, nullptr, &key, nullptr),
            ERROR_ACCESS_DENIED);
  store::closeDeviceImage();
  EXPECT_TRUE(stateOf(path) == before) << "the read-only image was written to";

  // An image whose change a crash cut off is read only after the change is
  // undone, a write: read-only it is refused, the journal left as it is.
  const std::string cut = dir_ + "/cut.img";
  ASSERT_TRUE(createEmptyImage(cut));
  if (fork() == 0) {  // ends in the middle of a change larger than its cache
    store::Connection raw;
    raw.open(cut, store::Connection::Mode::ReadWrite, error);
    _exit(raw.exec("PRAGMA cache_size = 1; BEGIN; CREATE TABLE f(x); INSERT INTO f WITH RECURSIVE n(i) AS "
                   "(SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) SELECT randomblob(1000) FROM n"));
  }
  ::wait(nullptr);
  before = stateOf(cut);
  EXPECT_FALSE(store::openDeviceImage(cut, error, true));
  EXPECT_NE(error.find("a change to it was cut off"), std::string::npos) << error;
  EXPECT_TRUE(stateOf(cut) == before && std::filesystem::exists(cut + "-journal")) << "the image or journal changed";
}
