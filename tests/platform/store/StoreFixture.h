// Each test gets its own directory and, under StoreTest, a fresh, empty
// device image opened as the process's image; helpers build property values
// as callers do.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <windows.h>
#include <windbase.h>

#include "store/DeviceImage.h"
#include "store/Image.h"
#include "store/ImageWriter.h"

namespace storetest {

inline std::vector<uint8_t> readFile(const std::string& path) {
  if (!std::filesystem::is_regular_file(path)) return {};
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline bool createEmptyImage(const std::string& path) {
  store::Image image;
  std::string error;
  return image.create(path, error);
}

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantor-store-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    store::closeDeviceImage();
    std::filesystem::remove_all(dir_);
  }
  std::string dir_;
};

class StoreTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    path_ = dir_ + "/device.img";
    ASSERT_TRUE(createEmptyImage(path_));
    reopen();
  }

  // Reopens the image, as a new process would see it.
  void reopen() {
    store::closeDeviceImage();
    std::string error;
    ASSERT_TRUE(store::openDeviceImage(path_, error)) << error;
  }

  std::string path_;
};

inline CEPROPVAL prop(WORD number, WORD type) { CEPROPVAL p{}; p.propid = (DWORD(number) << 16) | type; return p; }
inline CEPROPVAL propI2(WORD n, SHORT v) { CEPROPVAL p = prop(n, CEVT_I2); p.val.iVal = v; return p; }
inline CEPROPVAL propI4(WORD n, LONG v) { CEPROPVAL p = prop(n, CEVT_I4); p.val.lVal = v; return p; }
inline CEPROPVAL propTime(WORD n, uint64_t v) {
  CEPROPVAL p = prop(n, CEVT_FILETIME);
  p.val.filetime = {static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
  return p;
}
// The string must outlive the call that takes the value.
inline CEPROPVAL propString(WORD n, const WCHAR* v) {
  CEPROPVAL p = prop(n, CEVT_LPWSTR);
  p.val.lpwstr = const_cast<LPWSTR>(v);
  return p;
}
inline CEPROPVAL propBlob(WORD n, std::vector<BYTE>& bytes) {
  CEPROPVAL p = prop(n, CEVT_BLOB);
  p.val.blob = {static_cast<DWORD>(bytes.size()), bytes.data()};
  return p;
}

inline CEOID createDb(std::u16string name, std::vector<SORTORDERSPEC> sorts = {}, DWORD type = 0) {
  return CeCreateDatabase(name.data(), type, static_cast<WORD>(sorts.size()), sorts.empty() ? nullptr : sorts.data());
}

inline HANDLE openDb(CEOID db, CEPROPID sort = 0, DWORD flags = 0) { return CeOpenDatabase(&db, nullptr, sort, flags, nullptr); }

inline CEOID addRecord(HANDLE h, std::vector<CEPROPVAL> props) {
  return CeWriteRecordProps(h, 0, static_cast<WORD>(props.size()), props.data());
}

inline CEDBASEINFO infoOf(CEOID db) {
  CEOIDINFO info{};
  EXPECT_TRUE(CeOidGetInfo(db, &info)) << db;
  return info.infDatabase;
}

// Checks that a call failed with the failure value `failed` and left `error`.
#define EXPECT_FAILS(call, failed, error)         \
  do {                                            \
    SetLastError(0);                              \
    EXPECT_EQ(call, failed) << #call;             \
    EXPECT_EQ(GetLastError(), DWORD(error)) << #call; \
  } while (0)

// Reads the current record; the properties come back in a LocalAlloc block
// owned by the caller.
struct ReadResult {
  CEOID oid = 0;
  DWORD error = 0;
  std::vector<CEPROPVAL> props;
  BYTE* buffer = nullptr;
  ~ReadResult() { LocalFree(buffer); }
  const CEPROPVAL* find(CEPROPID id) const {
    for (const CEPROPVAL& p : props)
      if (p.propid == id) return &p;
    return nullptr;
  }
};

inline void readCurrent(HANDLE h, ReadResult& out, std::vector<CEPROPID> ids = {}) {
  WORD count = static_cast<WORD>(ids.size());
  DWORD size = 0;
  out.oid = CeReadRecordProps(h, CEDB_ALLOWREALLOC, &count, ids.empty() ? nullptr : ids.data(), &out.buffer, &size);
  out.error = out.oid ? 0 : GetLastError();
  if (out.oid) {
    auto* props = reinterpret_cast<CEPROPVAL*>(out.buffer);
    out.props.assign(props, props + count);
  }
}

// The identifiers of all records, walking from the beginning.
inline std::vector<CEOID> walk(HANDLE h) {
  std::vector<CEOID> oids;
  for (CEOID oid = CeSeekDatabase(h, CEDB_SEEK_BEGINNING, 0, nullptr); oid;
       oid = CeSeekDatabase(h, CEDB_SEEK_CURRENT, 1, nullptr))
    oids.push_back(oid);
  return oids;
}

}  // namespace storetest
