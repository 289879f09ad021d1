#include "data/engine/Sqlite.h"

#include <sqlite3.h>

namespace corvanta {

namespace {

// "file:" URI of a path: the characters a URI gives a meaning are escaped.
std::string fileUri(const std::string& path) {
  static const char* hex = "0123456789ABCDEF";
  std::string uri = "file:";
  for (unsigned char c : path) {
    if (c == '%' || c == '?' || c == '#' || c < 0x20 || c >= 0x7f) {
      uri += '%';
      uri += hex[c >> 4];
      uri += hex[c & 15];
    } else {
      uri += static_cast<char>(c);
    }
  }
  return uri;
}

}  // namespace

SqliteDb::SqliteDb(const std::filesystem::path& file, Mode mode) : file_(file.string()) {
  int flags = mode == Mode::ReadOnly || mode == Mode::Immutable ? SQLITE_OPEN_READONLY
                                                                : SQLITE_OPEN_READWRITE;
  if (mode == Mode::Create) flags |= SQLITE_OPEN_CREATE;
  flags |= SQLITE_OPEN_NOMUTEX;
  std::string name = file_;
  if (mode == Mode::Immutable) {
    flags |= SQLITE_OPEN_URI;
    name = fileUri(file_) + "?immutable=1";
  }
  if (sqlite3_open_v2(name.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
    const int code = db_ ? sqlite3_extended_errcode(db_) : SQLITE_NOMEM;
    const int sysErr = db_ ? sqlite3_system_errno(db_) : 0;
    sqlite3_close(db_);
    db_ = nullptr;
    throw SqliteError("Cannot open table file '" + file_ + "': " + msg, code, sysErr, msg);
  }
  sqlite3_extended_result_codes(db_, 1);
  // A person waiting a moment beats an error when another program holds the file briefly.
  sqlite3_busy_timeout(db_, 2000);
}

SqliteDb::~SqliteDb() {
  sqlite3_close_v2(db_);
}

void SqliteDb::exec(const std::string& sql) {
  char* err = nullptr;
  const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
  if (rc != SQLITE_OK) {
    std::string msg = err ? err : sqlite3_errmsg(db_);
    sqlite3_free(err);
    throw SqliteError("Table file '" + file_ + "': " + msg, rc, sqlite3_system_errno(db_), msg);
  }
}

std::int64_t SqliteDb::lastInsertRowid() const {
  return sqlite3_last_insert_rowid(db_);
}
int SqliteDb::changes() const {
  return sqlite3_changes(db_);
}

void SqliteDb::fail(std::string_view doing) const {
  const std::string msg = sqlite3_errmsg(db_);
  throw SqliteError("Table file '" + file_ + "': " + std::string(doing) + ": " + msg,
                    sqlite3_extended_errcode(db_), sqlite3_system_errno(db_), msg);
}

Statement::Statement(SqliteDb& db, const std::string& sql) : db_(db) {
  if (sqlite3_prepare_v3(db.handle(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt_,
                         nullptr) != SQLITE_OK)
    db.fail("preparing a statement");
}

Statement::~Statement() {
  sqlite3_finalize(stmt_);
}

Statement& Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  return *this;
}

Statement& Statement::bind(int index, const Value& v) {
  int rc = SQLITE_OK;
  if (const auto* d = std::get_if<double>(&v))
    rc = sqlite3_bind_double(stmt_, index, *d);
  else if (const auto* i = std::get_if<std::int64_t>(&v))
    rc = sqlite3_bind_int64(stmt_, index, *i);
  else if (const auto* s = std::get_if<std::string>(&v))
    rc = sqlite3_bind_text(stmt_, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
  else
    rc = sqlite3_bind_null(stmt_, index);
  if (rc != SQLITE_OK) db_.fail("binding a value");
  return *this;
}

Statement& Statement::bindInt(int index, std::int64_t v) {
  if (sqlite3_bind_int64(stmt_, index, v) != SQLITE_OK) db_.fail("binding a value");
  return *this;
}

int Statement::stepCode() {
  return sqlite3_step(stmt_);
}

bool Statement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);
  db_.fail("reading");
}

Value Statement::column(int index) const {
  switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_INTEGER:
      return static_cast<std::int64_t>(sqlite3_column_int64(stmt_, index));
    case SQLITE_FLOAT:
      return sqlite3_column_double(stmt_, index);
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
      return std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, index)));
    }
    default:
      return std::monostate{};
  }
}

std::int64_t Statement::columnInt(int index) const {
  return sqlite3_column_int64(stmt_, index);
}

std::string Statement::columnText(int index) const {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
  return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, index))) : "";
}

int Statement::columnCount() const {
  return sqlite3_column_count(stmt_);
}

std::string quoteIdent(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace corvanta
