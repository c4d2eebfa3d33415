// Each test gets its own directory and a fresh, empty device image opened
// as the process's image; helpers build property values as callers do.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
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

inline std::string makeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vantor-store-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back(0);
  if (!mkdtemp(buffer.data())) return "";
  return buffer.data();
}

inline std::vector<uint8_t> readFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!std::filesystem::is_regular_file(path)) return bytes;
  std::ifstream in(path, std::ios::binary);
  in.seekg(0, std::ios::end);
  bytes.resize(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline bool createEmptyImage(const std::string& path) {
  store::Image image;
  std::string error;
  return image.create(path, error);
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = makeTempDir();
    ASSERT_FALSE(dir_.empty());
    path_ = dir_ + "/device.img";
    ASSERT_TRUE(createEmptyImage(path_));
    std::string error;
    ASSERT_TRUE(store::openDeviceImage(path_, error)) << error;
  }
  void TearDown() override {
    store::closeDeviceImage();
    std::filesystem::remove_all(dir_);
  }

  // Reopens the image, as a new process would see it.
  void reopen() {
    store::closeDeviceImage();
    std::string error;
    ASSERT_TRUE(store::openDeviceImage(path_, error)) << error;
  }

  std::string dir_;
  std::string path_;
};

inline CEPROPVAL propI2(WORD number, SHORT v) {
  CEPROPVAL p{};
  p.propid = (DWORD(number) << 16) | CEVT_I2;
  p.val.iVal = v;
  return p;
}
inline CEPROPVAL propUI2(WORD number, USHORT v) {
  CEPROPVAL p{};
  p.propid = (DWORD(number) << 16) | CEVT_UI2;
  p.val.uiVal = v;
  return p;
}
inline CEPROPVAL propI4(WORD number, LONG v) {
  CEPROPVAL p{};
  p.propid = (DWORD(number) << 16) | CEVT_I4;
  p.val.lVal = v;
  return p;
}
inline CEPROPVAL propUI4(WORD number, ULONG v) {
  CEPROPVAL p{};
  p.propid = (DWORD(number) << 16) | CEVT_UI4;
  p.val.ulVal = v;
  return p;
}
inline CEPROPVAL propBool(WORD number, BOOL v) {
  CEPROPVAL p{};
  p.propid = (DWORD(number) << 16) | CEVT_BOOL;
  p.val.boolVal = v;
  return p;
}
inline CEPROPVAL propR8(WORD number, double v) {
  CEPROPVAL p{};
  p.propid = (DWORD(number) << 16) | CEVT_R8;
  p.val.dblVal = v;
  return p;
}
inline CEPROPVAL propTime(WORD number, uint64_t v) {
  CEPROPVAL p{};
  p.propid = (DWORD(number) << 16) | CEVT_FILETIME;
  p.val.filetime.dwLowDateTime = static_cast<DWORD>(v);
  p.val.filetime.dwHighDateTime = static_cast<DWORD>(v >> 32);
  return p;
}
// The string must outlive the call that takes the value.
inline CEPROPVAL propString(WORD number, const WCHAR* v) {
  CEPROPVAL p{};
  p.propid = (DWORD(number) << 16) | CEVT_LPWSTR;
  p.val.lpwstr = const_cast<LPWSTR>(v);
  return p;
}
inline CEPROPVAL propBlob(WORD number, std::vector<BYTE>& bytes) {
  CEPROPVAL p{};
  p.propid = (DWORD(number) << 16) | CEVT_BLOB;
  p.val.blob.dwCount = static_cast<DWORD>(bytes.size());
  p.val.blob.lpb = bytes.data();
  return p;
}

inline CEOID createDb(const std::u16string& name, std::vector<SORTORDERSPEC> sorts = {}, DWORD type = 0) {
  std::u16string copy = name;
  return CeCreateDatabase(copy.data(), type, static_cast<WORD>(sorts.size()), sorts.empty() ? nullptr : sorts.data());
}

inline HANDLE openDb(CEOID db, CEPROPID sort = 0, DWORD flags = 0) {
  CEOID oid = db;
  return CeOpenDatabase(&oid, nullptr, sort, flags, nullptr);
}

inline CEOID addRecord(HANDLE h, std::vector<CEPROPVAL> props) {
  return CeWriteRecordProps(h, 0, static_cast<WORD>(props.size()), props.data());
}

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
  DWORD index = 0;
  for (CEOID oid = CeSeekDatabase(h, CEDB_SEEK_BEGINNING, 0, &index); oid;
       oid = CeSeekDatabase(h, CEDB_SEEK_CURRENT, 1, &index))
    oids.push_back(oid);
  return oids;
}

}  // namespace storetest
