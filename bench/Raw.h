#pragma once
// The raw SQLite baseline: a connection set up as the engine sets up its own (WAL journal,
// synchronous FULL) and prepared statements whose rows are read into a reused buffer.
// `mapped` maps the file into memory (PRAGMA mmap_size), which the engine does not do: the
// memory figures show what that would cost.
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/engine/Value.h"

namespace corvanta::bench {

class RawDb {
 public:
  explicit RawDb(const std::filesystem::path& file, bool mapped = false);
  ~RawDb() { sqlite3_close_v2(db_); }
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;
  sqlite3* handle() const { return db_; }
  void exec(const char* sql);

 private:
  sqlite3* db_ = nullptr;
};

class RawStmt {
 public:
  RawStmt(const RawDb& db, const std::string& sql);
  ~RawStmt() { sqlite3_finalize(st_); }
  RawStmt(const RawStmt&) = delete;
  RawStmt& operator=(const RawStmt&) = delete;

  RawStmt& bind(int i, const Value& v);
  RawStmt& bind(int i, std::int64_t v) {
    sqlite3_bind_int64(st_, i, v);
    return *this;
  }
  // Steps once; on a row, reads every column into `row` (column 0 the rowid) and resets.
  bool fetch(std::vector<Value>& row);
  // Steps a statement that returns no row, then resets.
  void run();
  sqlite3_stmt* handle() const { return st_; }

 private:
  sqlite3_stmt* st_ = nullptr;
};

// "SELECT rowid, <every field> FROM <table> " for a shop table.
std::string selectAll(const std::string& tableName);

}  // namespace corvanta::bench
