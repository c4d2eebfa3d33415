// A thin owner of SQLite connections and statements for the device image.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* db, std::string_view sql);
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  bool valid() const { return stmt_ != nullptr; }

  Statement& bind(int index, int64_t value);
  Statement& bind(int index, const std::vector<uint8_t>& blob);
  Statement& bind(int index, const uint8_t* data, size_t size);
  Statement& bind(int index, std::string_view text);
  Statement& bindNull(int index);

  // true while a row is available; false when done. Errors are kept for
  // error() and make step return false.
  bool step();
  bool ok() const { return ok_; }
  void reset();

  int64_t integer(int column) const;
  bool isNull(int column) const;
  std::vector<uint8_t> blob(int column) const;
  std::string text(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
  bool ok_ = true;
};

class Connection {
 public:
  enum class Mode { ReadOnly, ReadWrite, Create };

  Connection() = default;
  Connection(Connection&& other) noexcept;
  Connection& operator=(Connection&& other) noexcept;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection();

  bool open(const std::string& path, Mode mode, std::string& error);
  void close();
  bool isOpen() const { return db_ != nullptr; }

  bool exec(std::string_view sql);
  Statement prepare(std::string_view sql) const { return Statement(db_, sql); }
  // Cached statements: prepared once per connection, reset before reuse.
  Statement& cached(std::string_view sql);
  std::string lastError() const;
  int64_t pragma(std::string_view name);
  int64_t changes() const;
  int64_t lastInsertRowid() const;
  sqlite3* raw() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
  std::vector<std::pair<std::string, std::unique_ptr<Statement>>> cache_;
};

// A transaction that rolls back unless committed.
class Transaction {
 public:
  explicit Transaction(Connection& db);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();
  bool begun() const { return begun_; }
  bool commit();

 private:
  Connection& db_;
  bool begun_ = false;
  bool done_ = false;
};

}  // namespace store
