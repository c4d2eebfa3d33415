#include "store/ImageWriter.h"

#include "store/Schema.h"
#include "store/SortKey.h"

namespace store {

std::vector<uint8_t> utf16Bytes(const std::u16string& text) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return bytes;
}

std::u16string utf16FromBytes(const std::vector<uint8_t>& bytes) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return text;
}

ImageWriter::ImageWriter(Image& image) : image_(image) {}

bool ImageWriter::fail(const std::string& what) {
  error_ = what;
  return false;
}

bool ImageWriter::begin() {
  if (image_.readOnly()) return fail("the image is read-only");
  tx_ = std::make_unique<Transaction>(image_.db());
  if (!tx_->begun()) return fail("cannot write: " + image_.db().lastError());
  {
    Statement next = image_.db().prepare("SELECT value FROM meta WHERE name = 'next_oid'");
    if (!next.step()) return fail("no identifier counter");
    nextOid_ = static_cast<uint64_t>(next.integer(0));
  }
  // Indexes are built once at the end, much faster than record by record.
  if (!dropRecordIndexes(image_.db())) return fail("cannot write: " + image_.db().lastError());
  return true;
}

void ImageWriter::reserveOids(uint64_t next) {
  if (next > nextOid_) nextOid_ = next;
}

CEOID ImageWriter::takeOid(CEOID wanted) {
  if (wanted == 0) {
    while (nextOid_ <= 0xFFFFFFFFULL && used_.count(static_cast<CEOID>(nextOid_))) ++nextOid_;
    if (nextOid_ > 0xFFFFFFFFULL) return 0;
    used_.insert(static_cast<CEOID>(nextOid_));
    return static_cast<CEOID>(nextOid_++);
  }
  if (!used_.insert(wanted).second) return 0;
  if (wanted >= nextOid_) nextOid_ = uint64_t(wanted) + 1;
  return wanted;
}

CEOID ImageWriter::addDatabase(const DatabaseDefinition& definition) {
  if (!tx_) return fail("not begun"), 0;
  std::u16string name = definition.name.substr(0, CEDB_MAXDBASENAMELEN - 1);
  if (name.empty() || name.find(u'\0') != std::u16string::npos) return fail("a database needs a name"), 0;
  if (definition.sorts.size() > kMaxSortSlots) return fail("more than 4 sort orders"), 0;
  for (const SORTORDERSPEC& sort : definition.sorts)
    if (!isKnownType(propType(sort.propid)) || propType(sort.propid) == CEVT_BLOB)
      return fail("a sort order on a property that cannot be sorted"), 0;
  CEOID oid = takeOid(definition.oid);
  if (!oid) return fail("object identifier used up or given twice"), 0;
  Statement& insert = image_.db().cached(
      "INSERT INTO databases(oid, name, folded, type, flags, records, size, modified) VALUES(?, ?, ?, ?, ?, 0, 0, ?)");
  insert.bind(1, int64_t{oid}).bind(2, utf16Bytes(name)).bind(3, utf16Bytes(foldCase(name)));
  insert.bind(4, int64_t{definition.type}).bind(5, int64_t{definition.flags}).bind(6, static_cast<int64_t>(definition.modified));
  insert.step();
  if (!insert.ok()) return fail("cannot add database: " + image_.db().lastError()), 0;
  Statement& sort = image_.db().cached("INSERT INTO sortorders(db, slot, propid, flags) VALUES(?, ?, ?, ?)");
  for (size_t slot = 0; slot < definition.sorts.size(); ++slot) {
    sort.reset();
    sort.bind(1, int64_t{oid}).bind(2, static_cast<int64_t>(slot));
    sort.bind(3, int64_t{definition.sorts[slot].propid}).bind(4, int64_t{definition.sorts[slot].dwFlags});
    sort.step();
    if (!sort.ok()) return fail("cannot add sort order: " + image_.db().lastError()), 0;
  }
  dbs_[oid].sorts = definition.sorts;
  return oid;
}

CEOID ImageWriter::addRecord(CEOID db, const Record& record, CEOID wanted) {
  auto it = dbs_.find(db);
  if (!tx_ || it == dbs_.end()) return fail("record for an unknown database"), 0;
  DbState& state = it->second;
  if (state.records >= CEDB_MAXNUMRECORDS) return fail("more than 65535 records in a database"), 0;
  for (const PropValue& value : record)
    if (checkValue(value) != ValueProblem::None) return fail("a property value over the limits"), 0;
  uint32_t size = recordSize(record);
  if (size - 20 > CEDB_MAXRECORDSIZE) return fail("a record over the size limit"), 0;
  CEOID oid = takeOid(wanted);
  if (!oid) return fail("object identifier used up or given twice"), 0;
  Statement& insert = image_.db().cached("INSERT INTO records(oid, db, props, k0, k1, k2, k3) VALUES(?, ?, ?, ?, ?, ?, ?)");
  insert.bind(1, int64_t{oid}).bind(2, int64_t{db}).bind(3, encodeRecord(record));
  for (int slot = 0; slot < kMaxSortSlots; ++slot) {
    if (slot < static_cast<int>(state.sorts.size()))
      insert.bind(4 + slot, sortKey(record, state.sorts[slot].propid, state.sorts[slot].dwFlags));
    else
      insert.bindNull(4 + slot);
  }
  insert.step();
  if (!insert.ok()) return fail("cannot add record: " + image_.db().lastError()), 0;
  ++state.records;
  state.size += size;
  return oid;
}

int64_t ImageWriter::addKey(int64_t root, const std::u16string& path) {
  if (!tx_) return fail("not begun"), 0;
  int64_t key = root;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    std::u16string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    Statement& find = image_.db().cached("SELECT id FROM regkeys WHERE parent = ? AND folded = ?");
    find.bind(1, key).bind(2, utf16Bytes(foldCase(part)));
    if (find.step()) {
      key = find.integer(0);
      continue;
    }
    key = addChildKey(key, part);
    if (!key) return 0;
  }
  return key;
}

int64_t ImageWriter::addChildKey(int64_t parent, const std::u16string& name) {
  if (!tx_) return fail("not begun"), 0;
  if (name.empty() || name.size() > 255 || name.find_first_of(std::u16string(u"\\\0", 2)) != std::u16string::npos)
    return fail("a registry key needs a name of 1 to 255 characters without backslashes"), 0;
  Statement& insert = image_.db().cached("INSERT INTO regkeys(parent, name, folded) VALUES(?, ?, ?)");
  insert.bind(1, parent).bind(2, utf16Bytes(name)).bind(3, utf16Bytes(foldCase(name)));
  insert.step();
  if (!insert.ok()) return fail("cannot add key (a key of that name exists?): " + image_.db().lastError()), 0;
  return image_.db().lastInsertRowid();
}

bool ImageWriter::addValue(int64_t key, const std::u16string& name, DWORD type, const std::vector<uint8_t>& data) {
  if (!tx_) return fail("not begun");
  if (name.size() > 16383 || name.find(u'\0') != std::u16string::npos)
    return fail("a registry value name longer than 16383 characters or holding a null");
  Statement& insert =
      image_.db().cached("INSERT INTO regvalues(key, name, folded, type, data) VALUES(?, ?, ?, ?, ?)");
  insert.bind(1, key).bind(2, utf16Bytes(name)).bind(3, utf16Bytes(foldCase(name)));
  insert.bind(4, int64_t{type}).bind(5, data);
  insert.step();
  if (!insert.ok()) return fail("cannot add value (a value of that name exists?): " + image_.db().lastError());
  return true;
}

bool ImageWriter::commit() {
  if (!tx_) return fail("not begun");
  Statement& update = image_.db().cached("UPDATE databases SET records = ?, size = ? WHERE oid = ?");
  for (const auto& [oid, state] : dbs_) {
    update.reset();
    update.bind(1, int64_t{state.records}).bind(2, static_cast<int64_t>(state.size)).bind(3, int64_t{oid});
    update.step();
    if (!update.ok()) return fail("cannot settle counts: " + image_.db().lastError());
  }
  Statement& next = image_.db().cached("UPDATE meta SET value = ? WHERE name = 'next_oid'");
  next.bind(1, static_cast<int64_t>(nextOid_));
  next.step();
  if (!next.ok()) return fail("cannot settle identifiers: " + image_.db().lastError());
  if (!createRecordIndexes(image_.db())) return fail("cannot index records: " + image_.db().lastError());
  bool ok = tx_->commit();
  tx_.reset();
  return ok || fail("cannot commit: " + image_.db().lastError());
}

}  // namespace store
