#pragma once
// One table's SQLite file: creating it, checking that it is the table it should be, and the
// keyset reads and single-row writes that cursors and readers are built from.
//
// Every index orders records by (key, rowid), empty keys first.  All reads are O(log n)
// seeks; nothing here ever reads a whole table.
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "data/engine/Sqlite.h"
#include "data/engine/TableSchema.h"
#include "data/engine/Value.h"

namespace corvanta {

class TableFile {
 public:
  // Opens an existing table file and checks its fields and indexes; throws an Error naming the
  // file when it is missing, unreadable or not this table.
  TableFile(const TableDef& def, const std::filesystem::path& file, bool readOnly = false);
  // Creates an empty table file (fails if the file exists).
  static void create(const TableDef& def, const std::filesystem::path& file);

  const TableDef& def() const { return def_; }
  const std::filesystem::path& path() const { return path_; }

  // Reads, all on one index (nullptr: the primary index).
  std::optional<Row> first(const IndexDef& ix);
  std::optional<Row> last(const IndexDef& ix);
  std::optional<Row> after(const IndexDef& ix, const Value& key, std::int64_t rowid);
  std::optional<Row> before(const IndexDef& ix, const Value& key, std::int64_t rowid);
  std::optional<Row> findEqual(const IndexDef& ix, const Value& key);
  std::optional<Row> findAtOrAfter(const IndexDef& ix, const Value& key);
  std::optional<Row> byRowid(std::int64_t rowid);
  // The index key of a row (the rowid itself for an index without key field).
  Value keyOf(const IndexDef& ix, const Row& row) const;
  std::int64_t count();
  bool empty();
  // Rows [offset, offset + limit) in index order (O(offset): for grids, not for cursors).
  std::vector<Row> page(const IndexDef& ix, std::int64_t offset, int limit);
  // How many rows come before (key, rowid) in index order.
  std::int64_t positionOf(const IndexDef& ix, const Value& key, std::int64_t rowid);

  // Writes: each one statement, so each one durable transaction.  A duplicate key on a
  // unique index throws KeyViolation.
  std::int64_t insert(const std::vector<Value>& values);
  void update(std::int64_t rowid, const std::vector<Value>& values);
  void remove(std::int64_t rowid);

  // Values read from the file are normalised to the field's type.
  Value normalise(int field, Value v) const;

 private:
  enum class Q {
    First, Last, NextEq, NextGt, NextNull, NextNotNull, PriorEq, PriorLt, PriorNull,
    PriorLastNull, FindEq, FindNull, FindGe, Page, PosNull, PosKey
  };
  Statement& query(const IndexDef& ix, Q q);
  std::optional<Row> fetch(Statement& st);
  void verify();
  bool keyIsRowid(const IndexDef& ix) const;
  std::string keyColumn(const IndexDef& ix) const;
  [[noreturn]] void writeFailed(Statement& st, int rc, const std::vector<Value>& values);

  const TableDef& def_;
  std::filesystem::path path_;
  std::unique_ptr<SqliteDb> db_;
  std::string columns_;  // rowid, then every field, quoted
  std::map<std::pair<const IndexDef*, Q>, std::unique_ptr<Statement>> queries_;
  std::unique_ptr<Statement> byRowid_, insert_, update_, delete_, count_, any_;
};

}  // namespace corvanta
