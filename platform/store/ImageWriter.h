// Fills a new image in one transaction: the sample image and imports write
// thousands of records, so statements are prepared once and the counts and
// sizes are settled at the end.
#pragma once

#include <map>
#include <memory>
#include <unordered_set>
#include <string>
#include <vector>

#include "store/Image.h"
#include "store/Record.h"

namespace store {

struct DatabaseDefinition {
  CEOID oid = 0;  // 0: the next identifier
  std::u16string name;
  DWORD type = 0;
  DWORD flags = 0;
  std::vector<SORTORDERSPEC> sorts;
  uint64_t modified = 0;
};

class ImageWriter {
 public:
  explicit ImageWriter(Image& image);

  bool begin();
  // Returns the identifier, 0 on failure (see error()).
  CEOID addDatabase(const DatabaseDefinition& definition);
  CEOID addRecord(CEOID db, const Record& record, CEOID oid = 0);
  // Registry: the key under root (kRoot*) at path "A\\B", created as needed.
  int64_t addKey(int64_t root, const std::u16string& path);
  // A new key named name under parent; 0 when parent already has one of
  // that name (in any case).
  int64_t addChildKey(int64_t parent, const std::u16string& name);
  bool addValue(int64_t key, const std::u16string& name, DWORD type, const std::vector<uint8_t>& data);
  // Identifiers from here on start at least at next.
  void reserveOids(uint64_t next);
  bool commit();

  const std::string& error() const { return error_; }

 private:
  bool fail(const std::string& what);
  CEOID takeOid(CEOID wanted);

  struct DbState {
    std::vector<SORTORDERSPEC> sorts;
    uint32_t records = 0;
    uint64_t size = 0;
  };

  Image& image_;
  std::unique_ptr<Transaction> tx_;
  std::map<CEOID, DbState> dbs_;
  uint64_t nextOid_ = 0;
  std::unordered_set<CEOID> used_;
  std::string error_;
};

// UTF-16 text as stored in the image: little-endian code units.
std::vector<uint8_t> utf16Bytes(const std::u16string& text);
std::u16string utf16FromBytes(const std::vector<uint8_t>& bytes);

}  // namespace store
