// An open device image: the SQLite file that holds the object store's
// databases and the registry. Opening checks that the file is one of ours,
// undamaged and not newer than this code, before anything else reads it.
#pragma once

#include <cstdint>
#include <string>

#include "store/Sqlite.h"

namespace store {

class Image {
 public:
  // Refuses (false, one-line reason) anything but a sound device image; the
  // refused file is not written to. A file this process may not write, or
  // any file when readOnly is asked for, is opened read-only.
  bool open(const std::string& path, std::string& error, bool readOnly = false);
  // Creates a new, empty image; fails if the file exists. A scratch image
  // (filled, then renamed into place by its writer) is written without a
  // journal; finish() makes it durable.
  bool create(const std::string& path, std::string& error, bool scratch = false);
  bool finish(std::string& error);
  void close();

  bool isOpen() const { return db_.isOpen(); }
  bool readOnly() const { return readOnly_; }
  const std::string& path() const { return path_; }
  Connection& db() { return db_; }

  // Reserves the next object identifier inside the caller's transaction;
  // 0 when the identifiers are used up.
  uint32_t allocateOid();
  // Raised by commits of other processes (or other connections): caches of
  // this process compare it to know when to reload. generation() asks
  // SQLite; noteDataVersion takes a data_version read along with other data.
  uint64_t generation();
  uint64_t noteDataVersion(int64_t version);

 private:
  bool configure(std::string& error);

  Connection db_;
  std::string path_;
  bool readOnly_ = false;
  int64_t dataVersion_ = 0;
  uint64_t externalChanges_ = 0;
};

// Checks a file's header without opening it as a database: "" when it looks
// like a device image this code can read, else the reason.
std::string checkImageHeader(const std::string& path);

// Now, as a FILETIME value.
uint64_t currentFileTime();

}  // namespace store
