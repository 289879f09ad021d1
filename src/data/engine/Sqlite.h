#pragma once
// Thin RAII wrappers over the SQLite C interface.  Every failure becomes a corvanta::Error
// carrying SQLite's own text, prefixed with what the engine was doing.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/engine/Value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace corvanta {

class SqliteDb {
 public:
  enum class Mode { ReadWrite, ReadOnly, Create };
  SqliteDb(const std::filesystem::path& file, Mode mode);
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  sqlite3* handle() const { return db_; }
  void exec(const std::string& sql);
  std::int64_t lastInsertRowid() const;
  int changes() const;
  [[noreturn]] void fail(std::string_view doing) const;

 private:
  sqlite3* db_ = nullptr;
  std::string file_;
};

class Statement {
 public:
  Statement(SqliteDb& db, const std::string& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Resets the statement and its bindings for the next use.
  Statement& reset();
  Statement& bind(int index, const Value& v);
  Statement& bindInt(int index, std::int64_t v);
  // True while a row is available; throws on errors.  Constraint failures return their
  // extended code through the exception's text; callers wanting to branch use stepCode().
  bool step();
  int stepCode();  // raw result code (SQLITE_ROW, SQLITE_DONE, SQLITE_CONSTRAINT...)

  Value column(int index) const;
  std::int64_t columnInt(int index) const;
  std::string columnText(int index) const;
  int columnCount() const;

 private:
  SqliteDb& db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// "quoted" identifier for field names that hold blanks or slashes.
std::string quoteIdent(std::string_view name);

}  // namespace corvanta
