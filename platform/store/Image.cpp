#include "store/Image.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>

#include "store/Schema.h"

namespace store {
namespace {

uint32_t be32(const unsigned char* p) { return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

bool fileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool writable(const std::string& path) {
  // The mode bits count even for a user whom access() would let through.
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  if (::access(path.c_str(), W_OK) != 0) return false;
  // Every change goes through a journal beside the file.
  std::string dir = path.substr(0, path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/'));
  if (path.find('/') == std::string::npos) dir = ".";
  if (dir.empty()) dir = "/";
  return ::access(dir.c_str(), W_OK) == 0;
}

}  // namespace

uint64_t currentFileTime() {
  using namespace std::chrono;
  // 100 ns ticks since 1601-01-01.
  auto since1970 = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count() / 100;
  return static_cast<uint64_t>(since1970) + 116444736000000000ULL;
}

std::string checkImageHeader(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::string("cannot open it: ") + std::strerror(errno);
  if (!S_ISREG(st.st_mode)) return "not a regular file";
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::string("cannot read it: ") + std::strerror(errno);
  unsigned char header[100] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  if (in.gcount() < static_cast<std::streamsize>(sizeof header) || std::memcmp(header, "SQLite format 3", 16) != 0)
    return "not a device image";
  if (be32(header + 68) != kApplicationId) return "not a device image (a database of another kind)";
  uint32_t version = be32(header + 60);
  if (version > kSchemaVersion)
    return "made by a newer version of the store (format " + std::to_string(version) + "); not opened";
  if (version < 1) return "damaged (no format version)";
  // Images are kept with a rollback journal; anything else is not ours.
  if (header[18] != 1 || header[19] != 1) return "not a device image (unexpected journal format)";
  uint32_t pageSize = (header[16] << 8) | header[17];
  if (pageSize == 1) pageSize = 65536;
  if (pageSize < 512 || (pageSize & (pageSize - 1))) return "damaged (bad page size)";
  // A journal left by an interrupted change will be rolled back when the
  // image is opened; until then the file's size may not match its header.
  bool hotJournal = fileExists(path + "-journal") || fileExists(path + "-wal");
  uint32_t pages = be32(header + 28);
  bool pagesValid = be32(header + 92) == be32(header + 24) && pages != 0;
  if (!hotJournal && pagesValid && static_cast<uint64_t>(st.st_size) < uint64_t(pages) * pageSize)
    return "damaged (the file is truncated)";
  if (!hotJournal && st.st_size % pageSize != 0) return "damaged (the file is truncated)";
  return "";
}

bool Image::open(const std::string& path, std::string& error, bool readOnly) {
  close();
  error = checkImageHeader(path);
  if (!error.empty()) return false;
  readOnly_ = readOnly || !writable(path);
  std::string why;
  if (!db_.open(path, readOnly_ ? Connection::Mode::ReadOnly : Connection::Mode::ReadWrite, why)) {
    error = "cannot open it: " + why;
    return false;
  }
  path_ = path;
  if (!configure(error)) {
    close();
    return false;
  }
  Statement check = db_.prepare("PRAGMA quick_check");
  std::string verdict = check.step() ? check.text(0) : db_.lastError();
  if (verdict != "ok") {
    // The first problem is enough, on one line.
    verdict = verdict.substr(0, verdict.find('\n'));
    error = "damaged (" + verdict + ")";
    close();
    return false;
  }
  if (!schemaMatches(db_, why)) {
    error = "not a device image (" + why + ")";
    close();
    return false;
  }
  Statement next = db_.prepare("SELECT value FROM meta WHERE name = 'next_oid'");
  if (!next.step() || next.integer(0) < kFirstOid || next.integer(0) > 0x100000000LL) {
    error = "damaged (no valid identifier counter)";
    close();
    return false;
  }
  dataVersion_ = db_.pragma("data_version");
  return true;
}

bool Image::create(const std::string& path, std::string& error, bool scratch) {
  close();
  if (fileExists(path)) {
    error = "it already exists";
    return false;
  }
  std::string why;
  if (!db_.open(path, Connection::Mode::Create, why)) {
    error = "cannot create it: " + why;
    return false;
  }
  path_ = path;
  readOnly_ = false;
  if (!configure(error)) {
    close();
    return false;
  }
  // Nobody else sees a scratch file until it is complete and synced.
  if (scratch && (!db_.exec("PRAGMA journal_mode = OFF") || !db_.exec("PRAGMA synchronous = OFF"))) {
    error = "cannot write it: " + db_.lastError();
    close();
    return false;
  }
  db_.exec("PRAGMA cache_size = -32768");
  Transaction tx(db_);
  if (!tx.begun() || !createSchema(db_) || !tx.commit()) {
    error = "cannot write it: " + db_.lastError();
    close();
    return false;
  }
  dataVersion_ = db_.pragma("data_version");
  return true;
}

bool Image::configure(std::string& error) {
  // Every reported change must survive a crash or a power cut.
  if (!db_.exec("PRAGMA synchronous = FULL") || !db_.exec("PRAGMA cell_size_check = ON") ||
      !db_.exec("PRAGMA trusted_schema = OFF")) {
    // Reading such an image would first undo the cut-off change, a write.
    if (sqlite3_extended_errcode(db_.raw()) == SQLITE_READONLY_ROLLBACK)
      error = "a change to it was cut off, and undoing it from the journal beside it needs the image opened for writing";
    else
      error = "cannot open it: " + db_.lastError();
    return false;
  }
  return true;
}

bool Image::finish(std::string& error) {
  std::string path = path_;
  close();
  int fd = ::open(path.c_str(), O_RDONLY);
  bool synced = fd >= 0 && ::fsync(fd) == 0;
  if (fd >= 0) ::close(fd);
  if (!synced) error = "cannot write it: " + std::string(std::strerror(errno));
  return synced;
}

void Image::close() {
  db_.close();
  path_.clear();
  readOnly_ = false;
}

uint32_t Image::allocateOid() {
  Statement& get = db_.cached("SELECT value FROM meta WHERE name = 'next_oid'");
  if (!get.step()) return 0;
  int64_t next = get.integer(0);
  get.reset();
  if (next < kFirstOid || next > 0xFFFFFFFFLL) return 0;
  Statement& set = db_.cached("UPDATE meta SET value = ? WHERE name = 'next_oid'");
  set.bind(1, next + 1);
  set.step();
  if (!set.ok()) return 0;
  return static_cast<uint32_t>(next);
}

uint64_t Image::generation() {
  Statement& query = db_.cached("PRAGMA data_version");
  int64_t version = query.step() ? query.integer(0) : -1;
  query.reset();
  return noteDataVersion(version);
}

uint64_t Image::noteDataVersion(int64_t version) {
  if (version != dataVersion_) {
    dataVersion_ = version;
    ++externalChanges_;
  }
  return externalChanges_;
}

}  // namespace store
