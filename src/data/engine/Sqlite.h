#pragma once
// Thin RAII wrappers over the SQLite C interface.  Every failure becomes a corvanta::Error
// carrying SQLite's own text, prefixed with what the engine was doing.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/engine/Value.h"
#include "ui/Error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace corvanta {

// A failure SQLite reported: the text to show (SQLite's words, after the file and what was
// being done), with SQLite's extended result code and the system's errno, for callers that
// must say what happened: a full disk is not a foreign file.
class SqliteError : public Error {
 public:
  SqliteError(const std::string& text, int code, int systemErrno, std::string sqliteMessage)
      : Error(text),
        code_(code),
        systemErrno_(systemErrno),
        sqliteMessage_(std::move(sqliteMessage)) {}
  int code() const { return code_; }  // extended result code
  int primaryCode() const { return code_ & 0xff; }
  int systemErrno() const { return systemErrno_; }  // 0 when none was recorded
  const std::string& sqliteMessage() const { return sqliteMessage_; }

 private:
  int code_;
  int systemErrno_;
  std::string sqliteMessage_;
};

class SqliteDb {
 public:
  // Immutable: read-only, and SQLite is told that nobody changes the file meanwhile, so it
  // needs no lock and no shared-memory file beside it (for reading a directory one cannot
  // write to, when no write-ahead log is waiting there).
  enum class Mode { ReadWrite, ReadOnly, Create, Immutable };
  SqliteDb(const std::filesystem::path& file, Mode mode);
  ~SqliteDb();
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;

  sqlite3* handle() const { return db_; }
  void exec(const std::string& sql);
  std::int64_t lastInsertRowid() const;
  int changes() const;
  // Throws a SqliteError for the connection's last failure.
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
