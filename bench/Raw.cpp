#include "Raw.h"

#include <stdexcept>

#include "data/engine/TableSchema.h"

namespace corvanta::bench {

RawDb::RawDb(const std::filesystem::path& file, bool mapped) {
  if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK)
    throw std::runtime_error("cannot open " + file.string());
  // The journal mode (WAL) is kept in the file itself; the rest is per connection.
  exec("PRAGMA synchronous=FULL");
  if (mapped) exec("PRAGMA mmap_size=1073741824");
}

void RawDb::exec(const char* sql) {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(db_));
}

RawStmt::RawStmt(const RawDb& db, const std::string& sql) {
  if (sqlite3_prepare_v3(db.handle(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &st_, nullptr) !=
      SQLITE_OK)
    throw std::runtime_error(std::string(sqlite3_errmsg(db.handle())) + ": " + sql);
}

RawStmt& RawStmt::bind(int i, const Value& v) {
  if (const auto* d = std::get_if<double>(&v))
    sqlite3_bind_double(st_, i, *d);
  else if (const auto* n = std::get_if<std::int64_t>(&v))
    sqlite3_bind_int64(st_, i, *n);
  else if (const auto* s = std::get_if<std::string>(&v))
    sqlite3_bind_text(st_, i, s->data(), static_cast<int>(s->size()), SQLITE_STATIC);
  else
    sqlite3_bind_null(st_, i);
  return *this;
}

bool RawStmt::fetch(std::vector<Value>& row) {
  if (sqlite3_step(st_) != SQLITE_ROW) {
    sqlite3_reset(st_);
    return false;
  }
  const int n = sqlite3_column_count(st_);
  row.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    Value& v = row[static_cast<size_t>(i)];
    switch (sqlite3_column_type(st_, i)) {
      case SQLITE_INTEGER:
        v = static_cast<std::int64_t>(sqlite3_column_int64(st_, i));
        break;
      case SQLITE_FLOAT:
        v = sqlite3_column_double(st_, i);
        break;
      case SQLITE_NULL:
        v = std::monostate{};
        break;
      default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, i));
        const auto len = static_cast<size_t>(sqlite3_column_bytes(st_, i));
        if (auto* s = std::get_if<std::string>(&v))
          s->assign(p, len);
        else
          v = std::string(p, len);
      }
    }
  }
  sqlite3_reset(st_);
  return true;
}

void RawStmt::run() {
  if (sqlite3_step(st_) != SQLITE_DONE) {
    std::string msg = sqlite3_errmsg(sqlite3_db_handle(st_));
    sqlite3_reset(st_);
    throw std::runtime_error(msg);
  }
  sqlite3_reset(st_);
}

std::string selectAll(const std::string& tableName) {
  const TableDef& def = *findTableDef(tableName);
  std::string sql = "SELECT rowid";
  for (const auto& f : def.fields) sql += ", \"" + f.name + "\"";
  return sql + " FROM \"" + def.sqlName + "\" ";
}

}  // namespace corvanta::bench
