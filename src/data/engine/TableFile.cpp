#include "data/engine/TableFile.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "data/engine/Field.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

namespace {

std::string sqlType(const FieldDef& f) {
  switch (f.type) {
    case FieldType::AutoInc:
      return "INTEGER PRIMARY KEY AUTOINCREMENT";
    case FieldType::Float:
      return "REAL";
    case FieldType::Text:
      break;
  }
  return "TEXT";
}

std::string indexSqlName(const TableDef& def, const IndexDef& ix) {
  return ix.name.empty() ? def.sqlName + "_primary" : ix.name;
}

// Connection settings every table file is used with: WAL so readers never block the
// writer, synchronous FULL so a post is on disk before the command goes on.  The file is not
// mapped into memory (mmap_size stays 0): mapping made random reads in a 2M-record table
// some 15% faster but counts every page touched in the process's resident size, and turns
// an I/O error or a file cut short by another program into SIGBUS instead of an error
// message (bench/README.md).
// True when the file starts with an SQLite header that says WAL mode (read and write format
// versions 2).  Read with plain file calls: deciding how to open must not open it through SQLite.
bool inWalMode(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  unsigned char header[20] = {};
  const ssize_t n = ::pread(fd, header, sizeof header, 0);
  ::close(fd);
  return n == static_cast<ssize_t>(sizeof header) &&
         std::memcmp(header, "SQLite format 3", 16) == 0 && header[18] == 2 && header[19] == 2;
}

void tune(SqliteDb& db, bool readOnly) {
  if (!readOnly) db.exec("PRAGMA journal_mode=WAL");
  db.exec("PRAGMA synchronous=FULL");
}

}  // namespace

void TableFile::create(const TableDef& def, const std::filesystem::path& file) {
  if (std::filesystem::exists(file))
    throw Error("Table file '" + file.string() + "' already exists");
  SqliteDb db(file, SqliteDb::Mode::Create);
  tune(db, false);
  std::string sql = "CREATE TABLE " + quoteIdent(def.sqlName) + " (";
  for (size_t i = 0; i < def.fields.size(); ++i) {
    const auto& f = def.fields[i];
    if (i) sql += ", ";
    sql += quoteIdent(f.name) + " " + sqlType(f);
    for (const auto& ix : def.indexes)
      if (ix.field == f.name && ix.noCase) sql += " COLLATE NOCASE";
  }
  sql += ");";
  for (const auto& ix : def.indexes) {
    if (ix.field.empty()) continue;
    if (def.fields[def.fieldIndex(ix.field)].type == FieldType::AutoInc) continue;  // the rowid
    sql += std::string("CREATE ") + (ix.unique ? "UNIQUE " : "") + "INDEX " +
           quoteIdent(indexSqlName(def, ix)) + " ON " + quoteIdent(def.sqlName) + "(" +
           quoteIdent(ix.field) + ");";
  }
  db.exec("BEGIN;" + sql + "COMMIT;");
}

TableFile::TableFile(const TableDef& def, const std::filesystem::path& file, bool readOnly)
    : TableStore(def), path_(file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec))
    throw Error("Table '" + def.tableName + "' does not exist: file '" + file.string() +
                "' not found");
  try {
    if (!readOnly && inWalMode(file)) {
      // A file already in WAL mode (every table this shop made) is checked through the
      // connection that will write: opening and reading change nothing in it, the switch to
      // WAL is not needed, and a file that fails is closed without a checkpoint of its log.
      auto db = std::make_unique<SqliteDb>(file, SqliteDb::Mode::ReadWrite);
      sqlite3_db_config(db->handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
      verify(*db);
      sqlite3_db_config(db->handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
      tune(*db, false);
      db_ = std::move(db);
    } else {
      db_ = openChecked(file, readOnly);
    }
  } catch (const SqliteError& e) {
    throw Error(openFailure(e));
  }
  readOnly_ = readOnly;
  columns_ = "rowid";
  for (const auto& f : def.fields) columns_ += ", " + quoteIdent(f.name);
  // Statements are prepared when first used: opening a table costs only what opening needs.
}

std::unique_ptr<SqliteDb> TableFile::openChecked(const std::filesystem::path& file, bool readOnly) {
  std::error_code ec;
  // Any other file is checked through a read-only connection before anything may write to
  // it: the switch to WAL would rewrite another program's database for good, and turn an
  // empty file into a database header.
  auto db = std::make_unique<SqliteDb>(file, SqliteDb::Mode::ReadOnly);
  try {
    verify(*db);
  } catch (const SqliteError& e) {
    // In a directory one cannot write to, SQLite cannot make the shared-memory file that
    // a WAL reader needs.  Without a log waiting beside it the file holds every record,
    // and a reader may take it as it is.
    const int code = e.primaryCode();
    if (!readOnly || (code != SQLITE_READONLY && code != SQLITE_CANTOPEN) ||
        std::filesystem::exists(file.string() + "-wal", ec))
      throw;
    db = std::make_unique<SqliteDb>(file, SqliteDb::Mode::Immutable);
    verify(*db);
  }
  if (!readOnly) {
    db.reset();
    db = std::make_unique<SqliteDb>(file, SqliteDb::Mode::ReadWrite);
    tune(*db, false);
  }
  return db;
}

std::string TableFile::openFailure(const SqliteError& e) const {
  const std::string file = "Table file '" + path_.string() + "'";
  const std::string cannot = file + " cannot be opened: ";
  switch (e.primaryCode()) {
    case SQLITE_FULL:
      return cannot + "the disk is full";
    case SQLITE_IOERR:
      return cannot + "the disk reported an input/output error (" + e.sqliteMessage() + ")";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return cannot + "it is locked by another program";
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_READONLY:
      return cannot + "no permission to use it (" + e.sqliteMessage() + ")";
    case SQLITE_CANTOPEN:
      return cannot + (e.systemErrno() ? std::strerror(e.systemErrno()) : e.sqliteMessage());
    case SQLITE_NOMEM:
      return cannot + "out of memory";
    case SQLITE_NOTADB:
      return file + " is not a table of this shop (" + e.sqliteMessage() + ")";
    case SQLITE_CORRUPT:
      return file + " is damaged (" + e.sqliteMessage() + ")";
    default:
      return cannot + e.sqliteMessage();
  }
}

std::string TableFile::where() const {
  return "Table file '" + path_.string() + "'";
}

Statement& TableFile::prepared(std::unique_ptr<Statement>& slot, Fixed which) {
  if (slot) return slot->reset();
  const std::string t = quoteIdent(def_.sqlName);
  std::string sql;
  switch (which) {
    case Fixed::ByRowid:
      sql = "SELECT " + columns_ + " FROM " + t + " WHERE rowid = ?1";
      break;
    case Fixed::Insert: {
      std::string cols, marks;
      for (size_t i = 0; i < def_.fields.size(); ++i) {
        cols += (i ? ", " : "") + quoteIdent(def_.fields[i].name);
        marks += (i ? ", ?" : "?") + std::to_string(i + 1);
      }
      sql = "INSERT INTO " + t + " (" + cols + ") VALUES (" + marks + ")";
      break;
    }
    case Fixed::Delete:
      sql = "DELETE FROM " + t + " WHERE rowid = ?1";
      break;
    case Fixed::Count:
      sql = "SELECT count(*) FROM " + t;
      break;
    case Fixed::Any:
      sql = "SELECT 1 FROM " + t + " LIMIT 1";
      break;
  }
  slot = std::make_unique<Statement>(*db_, sql);
  return *slot;
}

void TableFile::verify(SqliteDb& db) {
  const std::string where = "Table file '" + path_.string() + "'";
  const std::string table = def_.sqlName;
  std::set<std::string> columns;
  {
    Statement st(db, "SELECT name FROM pragma_table_info(?1)");
    st.bind(1, table);
    while (st.step()) columns.insert(st.columnText(0));
  }
  if (columns.empty()) throw Error(where + " does not hold the table '" + def_.tableName + "'");
  // Fields: present, of their type, compared as the indexes on them expect (the collation of
  // a column decides how a search on it compares, whatever its index says).
  for (const auto& f : def_.fields) {
    if (!columns.count(f.name)) throw Error(where + " lacks the field '" + f.name + "'");
    const char* type = nullptr;
    const char* collation = nullptr;
    int notNull = 0, primaryKey = 0, autoIncrement = 0;
    if (sqlite3_table_column_metadata(db.handle(), "main", table.c_str(), f.name.c_str(), &type,
                                      &collation, &notNull, &primaryKey,
                                      &autoIncrement) != SQLITE_OK)
      db.fail("reading the fields");
    const std::string wantType = f.type == FieldType::Text    ? "TEXT"
                                 : f.type == FieldType::Float ? "REAL"
                                                              : "INTEGER";
    if (!equalsNoCase(type ? type : "", wantType))
      throw Error(where + ": the field '" + f.name + "' is of type '" + (type ? type : "") +
                  "', not " + wantType);
    if (f.type == FieldType::AutoInc && !(primaryKey && autoIncrement))
      throw Error(where + ": the field '" + f.name + "' is not the table's auto-increment key");
    if (!equalsNoCase(collation ? collation : "", collationOf(f.name)))
      throw Error(where + ": the field '" + f.name + "' compares by " +
                  (collation ? collation : "?") + ", not " + collationOf(f.name));
  }
  // Indexes: each as unique as declared, over its field alone, in its collation.
  std::map<std::string, std::pair<bool, bool>> indexes;  // name -> unique, partial
  {
    Statement st(db, "SELECT name, \"unique\", partial FROM pragma_index_list(?1)");
    st.bind(1, table);
    while (st.step()) indexes[st.columnText(0)] = {st.columnInt(1) != 0, st.columnInt(2) != 0};
  }
  for (const auto& ix : def_.indexes) {
    if (ix.field.empty() || keyIsRowid(ix)) continue;
    const std::string shown = "'" + (ix.name.empty() ? std::string("primary") : ix.name) + "'";
    const auto found = indexes.find(indexSqlName(def_, ix));
    if (found == indexes.end()) throw Error(where + " lacks the index " + shown);
    const auto [unique, partial] = found->second;
    if (unique != ix.unique)
      throw Error(where + ": the index " + shown + (ix.unique ? " is not unique" : " is unique"));
    if (partial) throw Error(where + ": the index " + shown + " covers only some records");
    Statement st(
        db, "SELECT name, coll, \"desc\" FROM pragma_index_xinfo(?1) WHERE key ORDER BY seqno");
    st.bind(1, found->first);
    std::string keys;
    while (st.step())
      keys += (keys.empty() ? "" : ", ") + st.columnText(0) + " " + st.columnText(1) +
              (st.columnInt(2) ? " DESC" : "");
    const std::string want = ix.field + " " + collationOf(ix.field);
    if (!equalsNoCase(keys, want))
      throw Error(where + ": the index " + shown + " is on (" + keys + "), not (" + want + ")");
  }
}

const char* TableFile::collationOf(const std::string& field) const {
  for (const auto& ix : def_.indexes)
    if (ix.field == field && ix.noCase) return "NOCASE";
  return "BINARY";
}

std::vector<std::string> TableFile::duplicateKeys(int limit) {
  std::vector<std::string> out;
  for (const auto& ix : def_.indexes) {
    if (!ix.unique || keyIsRowid(ix)) continue;
    // NOT INDEXED: the records themselves are counted, not the index that may be at fault.
    const std::string k = quoteIdent(ix.field);
    Statement st(*db_, "SELECT " + k + ", count(*) FROM " + quoteIdent(def_.sqlName) +
                           " NOT INDEXED GROUP BY " + k + " HAVING count(*) > 1 LIMIT ?1");
    st.bindInt(1, limit - static_cast<int>(out.size()));
    while (st.step()) {
      const Value key = normalise(def_.fieldIndex(ix.field), st.column(0));
      out.push_back(ix.field + " '" + displayTextOf(def_.fields[def_.fieldIndex(ix.field)], key) +
                    "' (" + std::to_string(st.columnInt(1)) + " records)");
    }
    if (static_cast<int>(out.size()) >= limit) break;
  }
  return out;
}

std::string TableFile::keyColumn(const IndexDef& ix) const {
  return ix.field.empty() ? std::string("rowid") : quoteIdent(ix.field);
}

Statement& TableFile::query(const IndexDef& ix, Q q) {
  auto& slot = queries_[{&ix, q}];
  if (slot) return slot->reset();
  const std::string k = keyColumn(ix);
  const std::string base = "SELECT " + columns_ + " FROM " + quoteIdent(def_.sqlName) + " ";
  const std::string asc = " ORDER BY " + k + ", rowid LIMIT 1";
  const std::string desc = " ORDER BY " + k + " DESC, rowid DESC LIMIT 1";
  std::string sql;
  // Equal keys are stepped through by rowid in a statement of their own: a row-value
  // comparison would be planned as a seek on the key followed by a walk over every equal key.
  switch (q) {
    case Q::First:
      sql = base + asc;
      break;
    case Q::Last:
      sql = base + desc;
      break;
    case Q::NextEq:
      sql = base + "WHERE " + k + " = ?1 AND rowid > ?2" + asc;
      break;
    case Q::NextGt:
      sql = base + "WHERE " + k + " > ?1" + asc;
      break;
    case Q::NextNull:
      sql = base + "WHERE " + k + " IS NULL AND rowid > ?2" + asc;
      break;
    case Q::NextNotNull:
      sql = base + "WHERE " + k + " IS NOT NULL" + asc;
      break;
    case Q::PriorEq:
      sql = base + "WHERE " + k + " = ?1 AND rowid < ?2" + desc;
      break;
    case Q::PriorLt:
      sql = base + "WHERE " + k + " < ?1" + desc;
      break;
    case Q::PriorNull:
      sql = base + "WHERE " + k + " IS NULL AND rowid < ?2" + desc;
      break;
    case Q::PriorLastNull:
      sql = base + "WHERE " + k + " IS NULL" + desc;
      break;
    case Q::NextEqOrGt:
      // The next equal key, else the first greater one, in one statement: SQLite runs the
      // second arm only when the first yields nothing.
      sql = "SELECT * FROM (" + base + "WHERE " + k + " = ?1 AND rowid > ?2" + asc +
            ") UNION ALL SELECT * FROM (" + base + "WHERE " + k + " > ?1" + asc + ") LIMIT 1";
      break;
    case Q::PriorEqOrLt:
      sql = "SELECT * FROM (" + base + "WHERE " + k + " = ?1 AND rowid < ?2" + desc +
            ") UNION ALL SELECT * FROM (" + base + "WHERE " + k + " < ?1" + desc +
            ") UNION ALL SELECT * FROM (" + base + "WHERE " + k + " IS NULL" + desc + ") LIMIT 1";
      break;
    case Q::FindEq:
      sql = base + "WHERE " + k + " = ?1" + asc;
      break;
    case Q::FindNull:
      sql = base + "WHERE " + k + " IS NULL" + asc;
      break;
    case Q::FindGe:
      sql = base + "WHERE " + k + " >= ?1" + asc;
      break;
    case Q::Page:
      sql = base + "ORDER BY " + k + ", rowid LIMIT ?1 OFFSET ?2";
      break;
    case Q::PageDesc:
      sql = base + "ORDER BY " + k + " DESC, rowid DESC LIMIT ?1 OFFSET ?2";
      break;
    case Q::PosNull:
      sql = "SELECT count(*) FROM " + quoteIdent(def_.sqlName) + " WHERE " + k +
            " IS NULL AND rowid < ?2";
      break;
    case Q::PosKey:
      sql = "SELECT (SELECT count(*) FROM " + quoteIdent(def_.sqlName) + " WHERE " + k +
            " IS NULL OR " + k + " < ?1) + (SELECT count(*) FROM " + quoteIdent(def_.sqlName) +
            " WHERE " + k + " = ?1 AND rowid < ?2)";
      break;
    case Q::CountEq:
      sql = "SELECT count(*) FROM " + quoteIdent(def_.sqlName) + " WHERE " + k + " = ?1";
      break;
    case Q::OtherNull:
      sql = "SELECT 1 FROM " + quoteIdent(def_.sqlName) + " WHERE " + k +
            " IS NULL AND rowid <> ?2 LIMIT 1";
      break;
    case Q::CountNull:
      sql = "SELECT count(*) FROM " + quoteIdent(def_.sqlName) + " WHERE " + k + " IS NULL";
      break;
    case Q::Reread:
      sql = "SELECT " + columns_ + ", " + edgesSql(ix) + " FROM " + quoteIdent(def_.sqlName) +
            " AS r WHERE r.rowid = ?1";
      break;
  }
  slot = std::make_unique<Statement>(*db_, sql);
  return *slot;
}

// Whether a record comes before and after the one read as `r`, as two columns, each found
// the way before() and after() find theirs: equal keys by rowid in a test of their own (a
// row value would walk the whole run of equal keys), empty keys first.  Each EXISTS is one
// index seek; CASE runs a test only when the ones before it found nothing, and most records
// have smaller and greater keys, so a refresh usually costs one seek each way.  Both sides
// of every comparison are the key column, so it compares in the column's collation, as the
// index does (NOCASE for a case-insensitive index).
std::string TableFile::edgesSql(const IndexDef& ix) const {
  auto any = [this](const std::string& where) {
    return "EXISTS (SELECT 1 FROM " + quoteIdent(def_.sqlName) + " AS o WHERE " + where + ")";
  };
  if (keyIsRowid(ix)) return any("o.rowid < r.rowid") + ", " + any("o.rowid > r.rowid");
  const std::string o = "o." + keyColumn(ix), r = "r." + keyColumn(ix);
  // On a unique index no other record has the same key.
  const std::string sameBefore =
      ix.unique ? "" : " WHEN " + any(o + " = " + r + " AND o.rowid < r.rowid") + " THEN 1";
  const std::string sameAfter = ix.unique ? "0" : any(o + " = " + r + " AND o.rowid > r.rowid");
  const std::string before =
      "CASE WHEN " + r + " IS NULL THEN " + any(o + " IS NULL AND o.rowid < r.rowid") + " WHEN " +
      any(o + " < " + r) + " THEN 1" + sameBefore + " ELSE " + any(o + " IS NULL") + " END";
  const std::string after = "CASE WHEN " + r + " IS NULL THEN (CASE WHEN " +
                            any(o + " IS NOT NULL") + " THEN 1 ELSE " +
                            any(o + " IS NULL AND o.rowid > r.rowid") + " END) WHEN " +
                            any(o + " > " + r) + " THEN 1 ELSE " + sameAfter + " END";
  return before + ", " + after;
}

Row TableFile::rowAt(const Statement& st) const {
  Row row;
  row.rowid = st.columnInt(0);
  row.values.reserve(def_.fields.size());
  for (size_t i = 0; i < def_.fields.size(); ++i)
    row.values.push_back(normalise(static_cast<int>(i), st.column(static_cast<int>(i) + 1)));
  return row;
}

std::optional<Row> TableFile::fetch(Statement& st) {
  if (!st.step()) return std::nullopt;
  Row row = rowAt(st);
  st.reset();
  return row;
}

std::optional<Row> TableFile::first(const IndexDef& ix) {
  return fetch(query(ix, Q::First));
}
std::optional<Row> TableFile::last(const IndexDef& ix) {
  return fetch(query(ix, Q::Last));
}

// Moving on from (key, rowid).  The row-value comparison (key, rowid) > (?, ?) would be planned
// by SQLite 3.40 as a seek on the key followed by a walk over every equal key before the
// current row, so equal keys are stepped through by rowid in a statement of their own:
// - a unique index with a key: only greater keys can follow (one statement);
// - inside a run of equal keys: "key = ? AND rowid > ?", falling back to "key > ?" at the
//   run's end (one statement, two at the end of the run);
// - elsewhere (small groups of equal keys): both in one UNION ALL statement.
// Which plan runs never changes the result, only the number of statements.
std::optional<Row> TableFile::after(const IndexDef& ix, const Value& key, std::int64_t rowid) {
  if (keyIsRowid(ix)) return fetch(query(ix, Q::NextGt).bindInt(1, rowid));
  if (isNull(key)) {
    if (auto r = fetch(query(ix, Q::NextNull).bindInt(2, rowid))) return r;
    return fetch(query(ix, Q::NextNotNull));
  }
  if (ix.unique) return fetch(query(ix, Q::NextGt).bind(1, key));
  bool& inRun = inEqualRun_[&ix];
  if (inRun) {
    if (auto r = fetch(query(ix, Q::NextEq).bind(1, key).bindInt(2, rowid))) return r;
    inRun = false;
    return fetch(query(ix, Q::NextGt).bind(1, key));
  }
  auto r = fetch(query(ix, Q::NextEqOrGt).bind(1, key).bindInt(2, rowid));
  inRun = r && sameKey(ix, keyOf(ix, *r), key);
  return r;
}

std::optional<Row> TableFile::before(const IndexDef& ix, const Value& key, std::int64_t rowid) {
  if (keyIsRowid(ix)) return fetch(query(ix, Q::PriorLt).bindInt(1, rowid));
  if (isNull(key)) return fetch(query(ix, Q::PriorNull).bindInt(2, rowid));
  bool& inRun = inEqualRun_[&ix];
  if (ix.unique || inRun) {
    if (!ix.unique)
      if (auto r = fetch(query(ix, Q::PriorEq).bind(1, key).bindInt(2, rowid))) return r;
    inRun = false;
    if (auto r = fetch(query(ix, Q::PriorLt).bind(1, key))) return r;
    return fetch(query(ix, Q::PriorLastNull));
  }
  auto r = fetch(query(ix, Q::PriorEqOrLt).bind(1, key).bindInt(2, rowid));
  inRun = r && sameKey(ix, keyOf(ix, *r), key);
  return r;
}

std::optional<Row> TableFile::findEqual(const IndexDef& ix, const Value& key) {
  if (isNull(key)) return fetch(query(ix, Q::FindNull));
  return fetch(query(ix, Q::FindEq).bind(1, key));
}

std::optional<Row> TableFile::findAtOrAfter(const IndexDef& ix, const Value& key) {
  if (isNull(key)) return first(ix);
  return fetch(query(ix, Q::FindGe).bind(1, key));
}

std::optional<Row> TableFile::byRowid(std::int64_t rowid) {
  return fetch(prepared(byRowid_, Fixed::ByRowid).bindInt(1, rowid));
}

TableStore::Reread TableFile::reread(const IndexDef& ix, std::int64_t rowid) {
  Statement& st = query(ix, Q::Reread).bindInt(1, rowid);
  Reread r;
  if (st.step()) {
    r.row = rowAt(st);
    const int edges = static_cast<int>(def_.fields.size()) + 1;
    r.hasBefore = st.columnInt(edges) != 0;
    r.hasAfter = st.columnInt(edges + 1) != 0;
  }
  st.reset();
  return r;
}

std::vector<Row> TableFile::page(const IndexDef& ix, std::int64_t offset, int limit,
                                 std::int64_t total) {
  // An OFFSET costs a step per row skipped: from the end, a page near it is as cheap as one
  // near the start.
  const bool fromEnd = total > 0 && offset < total && offset > total - offset - limit;
  const std::int64_t count = fromEnd ? std::min<std::int64_t>(limit, total - offset) : limit;
  auto& st = fromEnd ? query(ix, Q::PageDesc)
                           .bindInt(1, count)
                           .bindInt(2, std::max<std::int64_t>(0, total - offset - count))
                     : query(ix, Q::Page).bindInt(1, limit).bindInt(2, offset);
  std::vector<Row> rows;
  while (st.step()) {
    Row row;
    row.rowid = st.columnInt(0);
    for (size_t i = 0; i < def_.fields.size(); ++i)
      row.values.push_back(normalise(static_cast<int>(i), st.column(static_cast<int>(i) + 1)));
    rows.push_back(std::move(row));
  }
  st.reset();
  if (fromEnd) std::reverse(rows.begin(), rows.end());
  return rows;
}

std::int64_t TableFile::positionOf(const IndexDef& ix, const Value& key, std::int64_t rowid) {
  Statement* st;
  if (keyIsRowid(ix))
    st = &query(ix, Q::PosKey).bindInt(1, rowid).bindInt(2, rowid);
  else if (isNull(key))
    st = &query(ix, Q::PosNull).bindInt(2, rowid);
  else
    st = &query(ix, Q::PosKey).bind(1, key).bindInt(2, rowid);
  st->step();
  std::int64_t n = st->columnInt(0);
  st->reset();
  return n;
}

std::int64_t TableFile::countEqual(const IndexDef& ix, const Value& key) {
  Statement& st = isNull(key) ? query(ix, Q::CountNull) : query(ix, Q::CountEq).bind(1, key);
  st.step();
  const std::int64_t n = st.columnInt(0);
  st.reset();
  return n;
}

std::int64_t TableFile::count() {
  Statement& st = prepared(count_, Fixed::Count);
  st.step();
  std::int64_t n = st.columnInt(0);
  st.reset();
  return n;
}

bool TableFile::empty() {
  Statement& st = prepared(any_, Fixed::Any);
  bool has = st.step();
  st.reset();
  return !has;
}

void TableFile::scan(const IndexDef& ix, const std::function<bool(const Row&)>& f) {
  // A statement of its own, so that f may use this file's other reads meanwhile.
  Statement st(*db_, "SELECT " + columns_ + " FROM " + quoteIdent(def_.sqlName) + " ORDER BY " +
                         keyColumn(ix) + ", rowid");
  Row row;
  row.values.resize(def_.fields.size());
  while (st.step()) {
    row.rowid = st.columnInt(0);
    for (size_t i = 0; i < def_.fields.size(); ++i)
      row.values[i] = normalise(static_cast<int>(i), st.column(static_cast<int>(i) + 1));
    if (!f(row)) break;
  }
}

std::string TableFile::quickCheck() {
  Statement st(*db_, "PRAGMA quick_check");
  std::string out;
  while (st.step()) out += (out.empty() ? "" : "; ") + st.columnText(0);
  return out;
}

}  // namespace corvanta
