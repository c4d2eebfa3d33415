#include "store/Registry.h"

#include "store/ImageWriter.h"
#include "store/Schema.h"
#include "store/Session.h"
#include "store/SortKey.h"

namespace store {
namespace {

std::vector<std::u16string> splitPath(const std::u16string& path) {
  std::vector<std::u16string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::vector<uint8_t> folded(const std::u16string& name) { return utf16Bytes(foldCase(name)); }

}  // namespace

Registry& registry() {
  static auto* instance = new Registry;
  return *instance;
}

LONG Registry::rootKey(HKEY predefined, int64_t& key) const {
  if (predefined == HKEY_CLASSES_ROOT) key = kRootClasses;
  else if (predefined == HKEY_CURRENT_USER) key = kRootCurrentUser;
  else if (predefined == HKEY_LOCAL_MACHINE) key = kRootLocalMachine;
  else if (predefined == HKEY_USERS) key = kRootUsers;
  else return ERROR_INVALID_HANDLE;
  return ERROR_SUCCESS;
}

bool Registry::keyExists(int64_t key) {
  Image* image = currentImage();
  if (!image) return false;
  Statement& row = image->db().cached("SELECT 1 FROM regkeys WHERE id = ?");
  row.bind(1, key);
  return row.step();
}

LONG Registry::openKey(int64_t key, const std::u16string& path, bool create, int64_t& result, bool& created) {
  Image* image = currentImage();
  created = false;
  if (!image) return ERROR_INVALID_HANDLE;
  if (!keyExists(key)) return ERROR_KEY_DELETED;
  std::vector<std::u16string> parts = splitPath(path);
  for (const std::u16string& part : parts)
    if (part.size() > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
  Connection& db = image->db();
  std::unique_ptr<Transaction> tx;
  for (const std::u16string& part : parts) {
    Statement& find = db.cached("SELECT id FROM regkeys WHERE parent = ? AND folded = ?");
    find.bind(1, key).bind(2, folded(part));
    if (find.step()) {
      key = find.integer(0);
      continue;
    }
    if (!create) return ERROR_FILE_NOT_FOUND;
    if (image->readOnly()) return ERROR_ACCESS_DENIED;
    if (!tx) {
      tx = std::make_unique<Transaction>(db);
      if (!tx->begun()) return ERROR_SHARING_VIOLATION;
    }
    Statement& insert = db.cached("INSERT INTO regkeys(parent, name, folded) VALUES(?, ?, ?)");
    insert.bind(1, key).bind(2, utf16Bytes(part)).bind(3, folded(part));
    insert.step();
    if (!insert.ok()) return ERROR_DISK_FULL;
    key = db.lastInsertRowid();
    created = true;
  }
  if (tx && !tx->commit()) return ERROR_DISK_FULL;
  result = key;
  return ERROR_SUCCESS;
}

LONG Registry::deleteKey(int64_t key, const std::u16string& path) {
  if (splitPath(path).empty()) return ERROR_INVALID_PARAMETER;
  int64_t target = 0;
  bool created = false;
  if (LONG error = openKey(key, path, false, target, created)) return error;
  Image* image = currentImage();
  if (image->readOnly()) return ERROR_ACCESS_DENIED;
  Connection& db = image->db();
  Transaction tx(db);
  if (!tx.begun()) return ERROR_SHARING_VIOLATION;
  // The key goes with everything below it.
  std::vector<int64_t> pending{target};
  while (!pending.empty()) {
    int64_t id = pending.back();
    pending.pop_back();
    Statement& children = db.cached("SELECT id FROM regkeys WHERE parent = ?");
    children.bind(1, id);
    while (children.step()) pending.push_back(children.integer(0));
    for (const char* sql : {"DELETE FROM regvalues WHERE key = ?", "DELETE FROM regkeys WHERE id = ?"}) {
      Statement& del = db.cached(sql);
      del.bind(1, id);
      del.step();
      if (!del.ok()) return ERROR_DISK_FULL;
    }
  }
  return tx.commit() ? ERROR_SUCCESS : ERROR_DISK_FULL;
}

LONG Registry::queryValue(int64_t key, const std::u16string& name, RegValue& value) {
  Image* image = currentImage();
  if (!image) return ERROR_INVALID_HANDLE;
  if (!keyExists(key)) return ERROR_KEY_DELETED;
  Statement& row = image->db().cached("SELECT name, type, data FROM regvalues WHERE key = ? AND folded = ?");
  row.bind(1, key).bind(2, folded(name));
  if (!row.step()) return ERROR_FILE_NOT_FOUND;
  value.name = utf16FromBytes(row.blob(0));
  value.type = static_cast<DWORD>(row.integer(1));
  value.data = row.blob(2);
  return ERROR_SUCCESS;
}

LONG Registry::setValue(int64_t key, const std::u16string& name, DWORD type, const uint8_t* data, size_t size) {
  Image* image = currentImage();
  if (!image) return ERROR_INVALID_HANDLE;
  if (name.size() > kMaxValueNameLength) return ERROR_INVALID_PARAMETER;
  if (!keyExists(key)) return ERROR_KEY_DELETED;
  if (image->readOnly()) return ERROR_ACCESS_DENIED;
  Connection& db = image->db();
  Transaction tx(db);
  if (!tx.begun()) return ERROR_SHARING_VIOLATION;
  // An existing value keeps its place in the enumeration order.
  Statement& update = db.cached("UPDATE regvalues SET name = ?, type = ?, data = ? WHERE key = ? AND folded = ?");
  update.bind(1, utf16Bytes(name)).bind(2, int64_t{type}).bind(3, data, size).bind(4, key).bind(5, folded(name));
  update.step();
  if (!update.ok()) return ERROR_DISK_FULL;
  if (db.changes() == 0) {
    Statement& insert = db.cached("INSERT INTO regvalues(key, name, folded, type, data) VALUES(?, ?, ?, ?, ?)");
    insert.bind(1, key).bind(2, utf16Bytes(name)).bind(3, folded(name)).bind(4, int64_t{type}).bind(5, data, size);
    insert.step();
    if (!insert.ok()) return ERROR_DISK_FULL;
  }
  return tx.commit() ? ERROR_SUCCESS : ERROR_DISK_FULL;
}

LONG Registry::deleteValue(int64_t key, const std::u16string& name) {
  Image* image = currentImage();
  if (!image) return ERROR_INVALID_HANDLE;
  if (!keyExists(key)) return ERROR_KEY_DELETED;
  RegValue existing;
  if (LONG error = queryValue(key, name, existing)) return error;
  if (image->readOnly()) return ERROR_ACCESS_DENIED;
  Statement& del = image->db().cached("DELETE FROM regvalues WHERE key = ? AND folded = ?");
  del.bind(1, key).bind(2, folded(name));
  del.step();
  return del.ok() ? ERROR_SUCCESS : ERROR_DISK_FULL;
}

LONG Registry::enumKey(int64_t key, DWORD index, std::u16string& name) {
  Image* image = currentImage();
  if (!image) return ERROR_INVALID_HANDLE;
  if (!keyExists(key)) return ERROR_KEY_DELETED;
  Statement& row = image->db().cached("SELECT name FROM regkeys WHERE parent = ? ORDER BY id LIMIT 1 OFFSET ?");
  row.bind(1, key).bind(2, int64_t{index});
  if (!row.step()) return ERROR_NO_MORE_ITEMS;
  name = utf16FromBytes(row.blob(0));
  return ERROR_SUCCESS;
}

LONG Registry::enumValue(int64_t key, DWORD index, RegValue& value) {
  Image* image = currentImage();
  if (!image) return ERROR_INVALID_HANDLE;
  if (!keyExists(key)) return ERROR_KEY_DELETED;
  Statement& row =
      image->db().cached("SELECT name, type, data FROM regvalues WHERE key = ? ORDER BY id LIMIT 1 OFFSET ?");
  row.bind(1, key).bind(2, int64_t{index});
  if (!row.step()) return ERROR_NO_MORE_ITEMS;
  value.name = utf16FromBytes(row.blob(0));
  value.type = static_cast<DWORD>(row.integer(1));
  value.data = row.blob(2);
  return ERROR_SUCCESS;
}

}  // namespace store
