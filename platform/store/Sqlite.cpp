#include "store/Sqlite.h"

#include <sqlite3.h>

namespace store {

Statement::Statement(sqlite3* db, std::string_view sql) {
  if (!db || sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    ok_ = false;
  }
}

Statement::Statement(Statement&& other) noexcept : stmt_(other.stmt_), ok_(other.ok_) { other.stmt_ = nullptr; }

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = other.stmt_;
    ok_ = other.ok_;
    other.stmt_ = nullptr;
  }
  return *this;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::bind(int index, int64_t value) {
  if (stmt_ && sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) ok_ = false;
  return *this;
}

Statement& Statement::bind(int index, const std::vector<uint8_t>& blob) { return bind(index, blob.data(), blob.size()); }

Statement& Statement::bind(int index, const uint8_t* data, size_t size) {
  // A zero-length blob is still a blob, never NULL.
  static const uint8_t empty = 0;
  if (stmt_ && sqlite3_bind_blob64(stmt_, index, size ? data : &empty, size, SQLITE_TRANSIENT) != SQLITE_OK)
    ok_ = false;
  return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
  if (stmt_ && sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
    ok_ = false;
  return *this;
}

Statement& Statement::bindNull(int index) {
  if (stmt_ && sqlite3_bind_null(stmt_, index) != SQLITE_OK) ok_ = false;
  return *this;
}

bool Statement::step() {
  if (!stmt_ || !ok_) return false;
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) ok_ = false;
  return false;
}

void Statement::reset() {
  if (!stmt_) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  ok_ = true;
}

int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

bool Statement::isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

std::vector<uint8_t> Statement::blob(int column) const {
  const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(stmt_, column));
  int size = sqlite3_column_bytes(stmt_, column);
  if (!data || size <= 0) return {};
  return std::vector<uint8_t>(data, data + size);
}

std::string Statement::text(int column) const {
  const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  int size = sqlite3_column_bytes(stmt_, column);
  return data ? std::string(data, static_cast<size_t>(size)) : std::string();
}

Connection::Connection(Connection&& other) noexcept : db_(other.db_), cache_(std::move(other.cache_)) {
  other.db_ = nullptr;
}

Connection& Connection::operator=(Connection&& other) noexcept {
  if (this != &other) {
    close();
    db_ = other.db_;
    cache_ = std::move(other.cache_);
    other.db_ = nullptr;
  }
  return *this;
}

Connection::~Connection() { close(); }

bool Connection::open(const std::string& path, Mode mode, std::string& error) {
  close();
  int flags = SQLITE_OPEN_NOMUTEX;
  switch (mode) {
    case Mode::ReadOnly: flags |= SQLITE_OPEN_READONLY; break;
    case Mode::ReadWrite: flags |= SQLITE_OPEN_READWRITE; break;
    case Mode::Create: flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE; break;
  }
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    error = db_ ? sqlite3_errmsg(db_) : "out of memory";
    close();
    return false;
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, 5000);
  return true;
}

void Connection::close() {
  cache_.clear();
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool Connection::exec(std::string_view sql) {
  if (!db_) return false;
  std::string copy(sql);
  return sqlite3_exec(db_, copy.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

Statement& Connection::cached(std::string_view sql) {
  for (auto& [text, stmt] : cache_) {
    if (text == sql) {
      stmt->reset();
      return *stmt;
    }
  }
  cache_.emplace_back(std::string(sql), std::make_unique<Statement>(db_, sql));
  return *cache_.back().second;
}

std::string Connection::lastError() const { return db_ ? sqlite3_errmsg(db_) : "not open"; }

int64_t Connection::pragma(std::string_view name) {
  Statement stmt(db_, "PRAGMA " + std::string(name));
  return stmt.step() ? stmt.integer(0) : -1;
}

int64_t Connection::changes() const { return db_ ? sqlite3_changes64(db_) : 0; }

int64_t Connection::lastInsertRowid() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }

Transaction::Transaction(Connection& db) : db_(db) { begun_ = db_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (begun_ && !done_) db_.exec("ROLLBACK");
}

bool Transaction::commit() {
  if (!begun_ || done_) return false;
  done_ = true;
  if (db_.exec("COMMIT")) return true;
  db_.exec("ROLLBACK");
  return false;
}

}  // namespace store
