#pragma once
// One table's SQLite file: creating it, checking that it is the table it should be, and the
// keyset reads and single-row writes that cursors and readers are built from.
//
// Every index orders records by (key, rowid), empty keys first.  All reads are O(log n)
// seeks; nothing here ever reads a whole table.
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <tuple>

#include "data/engine/Sqlite.h"
#include "data/engine/TableSchema.h"
#include "data/engine/TableStore.h"
#include "data/engine/Value.h"

namespace corvanta {

class TableFile final : public TableStore {
 public:
  // Opens an existing table file and checks, through a read-only connection, its fields
  // (type, collation) and indexes (uniqueness, field, collation); a file that fails is left
  // exactly as it was.  Throws an Error naming the file when it is missing, cannot be read
  // (saying why: disk full, I/O error, locked, no permission) or is not this table.  Read-only,
  // it opens also in a directory one cannot write to.
  TableFile(const TableDef& def, const std::filesystem::path& file, bool readOnly = false);
  // Creates an empty table file (fails if the file exists).
  static void create(const TableDef& def, const std::filesystem::path& file);

  const std::filesystem::path& path() const { return path_; }
  std::string where() const override;

  // Reads, each on the index given (def().indexes.front() is the primary index).
  std::optional<Row> first(const IndexDef& ix) override;
  std::optional<Row> last(const IndexDef& ix) override;
  std::optional<Row> after(const IndexDef& ix, const Value& key, std::int64_t rowid) override;
  std::optional<Row> before(const IndexDef& ix, const Value& key, std::int64_t rowid) override;
  std::optional<Row> findEqual(const IndexDef& ix, const Value& key) override;
  std::optional<Row> findAtOrAfter(const IndexDef& ix, const Value& key) override;
  std::optional<Row> byRowid(std::int64_t rowid) override;
  // The record and its edges in one statement: a statement costs far more than the index
  // seeks in it, and before() and after() would take two or three.
  Reread reread(const IndexDef& ix, std::int64_t rowid) override;
  std::int64_t count() override;
  bool empty() override;
  // Rows [offset, offset + limit) in index order (O(offset): for grids, not for cursors).
  // With the table's record count given, a page in the later half is read backwards from the
  // end, so that the cost is that of its distance from the nearer end.
  std::vector<Row> page(const IndexDef& ix, std::int64_t offset, int limit,
                        std::int64_t total = -1) override;
  // How many rows come before (key, rowid) in index order.
  std::int64_t positionOf(const IndexDef& ix, const Value& key, std::int64_t rowid) override;
  // How many rows carry this key on the index (an empty key counts empty fields).  Walks only
  // the matching index entries, so it costs O(log n + matches).
  std::int64_t countEqual(const IndexDef& ix, const Value& key) override;

  // Every row in index order through one statement, for dumps and exports: memory stays
  // constant whatever the table's size.  Stops early when f returns false.
  void scan(const IndexDef& ix, const std::function<bool(const Row&)>& f) override;

  // Writes: each one statement, so each one durable transaction.  A duplicate key on a
  // unique index throws KeyViolation; so does a second empty key, which SQLite's UNIQUE
  // would let through (that write checks and writes in one transaction of its own).  Values
  // are stored as normalised by forWriting().
  std::int64_t insert(const std::vector<Value>& values) override;
  using TableStore::update;
  bool update(std::int64_t rowid, const std::vector<Value>& values, std::uint64_t changed,
              const std::vector<Value>* readBefore = nullptr) override;
  void remove(std::int64_t rowid) override;

  std::vector<StoredCommand> interruptedCommands() override;
  bool stepMarked(std::int64_t command, int step) override;
  void forgetPlan(std::int64_t command) override;
  void forgetMarks(std::int64_t command) override;
  void forgetMarksWithoutPlan(const std::vector<std::int64_t>& known) override;
  std::vector<std::int64_t> plannedCommands() override;

  // The statements that make the tables of command plans and marks in a file (see
  // CommandRecord.h), where they are not yet.
  static const char* commandTablesSql();

  // SQLite's quick check of the file's structure: "ok", or the problems found.  O(n).
  std::string quickCheck();
  // Keys held by more than one record on a unique index, counted from the records rather
  // than through the index (which may be what is damaged): "PartNumber 'A100' (2 records)".
  // At most `limit` of them.  O(n log n).
  std::vector<std::string> duplicateKeys(int limit = 10);

  // Bulk loading (tools and benchmarks only): the writes between beginBulk() and commitBulk()
  // form one transaction, made durable by commitBulk(); rollbackBulk() drops them.  A cursor
  // post in between is part of the same transaction.
  void beginBulk() override;
  void commitBulk() override;
  void rollbackBulk() override;
  bool inBulk() const override { return bulk_; }

 private:
  enum class Q {
    First,
    Last,
    NextEq,
    NextGt,
    NextNull,
    NextNotNull,
    PriorEq,
    PriorLt,
    PriorNull,
    PriorLastNull,
    FindEq,
    FindNull,
    FindGe,
    Page,
    PageDesc,
    PosNull,
    PosKey,
    CountEq,
    CountNull,
    NextEqOrGt,
    PriorEqOrLt,
    OtherNull,
    Reread
  };
  enum class Fixed { ByRowid, Insert, Delete, Count, Any };
  Statement& query(const IndexDef& ix, Q q);
  Statement& prepared(std::unique_ptr<Statement>& slot, Fixed which);
  std::optional<Row> fetch(Statement& st);
  Row rowAt(const Statement& st) const;  // the row the statement stands on
  // The columns of Q::Reread after the row's: whether a record comes before and after it.
  std::string edgesSql(const IndexDef& ix) const;
  void verify(SqliteDb& db);
  // A file not known to be in WAL mode: checked read-only first, then opened to write.
  std::unique_ptr<SqliteDb> openChecked(const std::filesystem::path& file, bool readOnly);
  const char* collationOf(const std::string& field) const;  // "NOCASE" or "BINARY"
  std::string openFailure(const SqliteError& e) const;
  // Whether the file holds the table of command plans (made by the first one written).
  bool holdsCommandRows();
  // Runs a command's companion work of a write on the write's connection.
  static void writeCommandRows(SqliteDb& db, const std::function<void(CommandRows&)>& work);
  std::string keyColumn(const IndexDef& ix) const;
  void requireWritable() const;
  [[noreturn]] void writeFailed(Statement& st, int rc, const std::vector<Value>& values);
  // Whether a row other than `rowid` has the empty key on the index.
  bool emptyKeyTaken(const IndexDef& ix, std::int64_t rowid);

  std::filesystem::path path_;
  std::unique_ptr<SqliteDb> db_;
  std::string columns_;  // rowid, then every field, quoted
  std::map<std::pair<const IndexDef*, Q>, std::unique_ptr<Statement>> queries_;
  std::unique_ptr<Statement> byRowid_, insert_, delete_, count_, any_;
  // By the fields they set, the fields they add to, and whether they check what was read.
  std::map<std::tuple<std::uint64_t, std::uint64_t, bool>, std::unique_ptr<Statement>> updates_;
  bool bulk_ = false;
  bool readOnly_ = false;
  // Per index: whether the last step landed on a key equal to the one it started from.  Only
  // chooses between equivalent plans (see after()); never changes a result.
  std::map<const IndexDef*, bool> inEqualRun_;
};

}  // namespace corvanta
