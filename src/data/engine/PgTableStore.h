#pragma once
// One table of a database server that several workstations share.  The table is made, with
// its indexes, the first time any workstation opens it.
//
// Layout: texts are stored with the byte order of the "C" collation (the order of the local
// table files); a case-insensitive index is an index on lower(field), which under "C"
// folds only A-Z, as the local files do.  Every index is (key NULLS FIRST, rowid), so a
// keyset step is one row-value comparison the server answers with one index seek; a unique
// index treats the empty key as a key (NULLS NOT DISTINCT).  The auto-increment field, where
// a table has one, is the row id; other tables carry a hidden "rowid" column.
#include <map>
#include <memory>
#include <string>

#include "data/engine/Postgres.h"
#include "data/engine/TableStore.h"

namespace corvanta {

class PgTableStore final : public TableStore {
 public:
  // Connects and opens the table, creating it when the database does not hold it yet; throws
  // an Error naming the database when it cannot connect or the table is not this one.
  // `database` is the alias, as messages call it.
  PgTableStore(const TableDef& def, const std::string& conninfo, const std::string& database,
               bool readOnly = false);

  std::string where() const override;

  std::optional<Row> first(const IndexDef& ix) override;
  std::optional<Row> last(const IndexDef& ix) override;
  std::optional<Row> after(const IndexDef& ix, const Value& key, std::int64_t rowid) override;
  std::optional<Row> before(const IndexDef& ix, const Value& key, std::int64_t rowid) override;
  std::optional<Row> findEqual(const IndexDef& ix, const Value& key) override;
  std::optional<Row> findAtOrAfter(const IndexDef& ix, const Value& key) override;
  std::optional<Row> byRowid(std::int64_t rowid) override;
  Reread reread(const IndexDef& ix, std::int64_t rowid) override;
  std::int64_t count() override;
  bool empty() override;
  std::vector<Row> page(const IndexDef& ix, std::int64_t offset, int limit,
                        std::int64_t total = -1) override;
  std::int64_t positionOf(const IndexDef& ix, const Value& key, std::int64_t rowid) override;
  std::int64_t countEqual(const IndexDef& ix, const Value& key) override;
  void scan(const IndexDef& ix, const std::function<bool(const Row&)>& f) override;

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

  std::int64_t reserveNumber(const std::string& series, std::int64_t atLeast) override;

  void beginBulk() override;
  void commitBulk() override;
  void rollbackBulk() override;
  bool inBulk() const override { return bulk_; }

  // The layout that backups read and restores write: the row id column (the auto-increment
  // field, where the table has one), and the records of a result whose first column is the
  // row id and whose others are the fields in order.
  static std::string rowidColumn(const TableDef& def);
  static std::vector<Row> decodeRows(const TableDef& def, const PgResult& r);

 private:
  void create();
  // The command rows' tables, shared by every table of the database (CREATE statements).
  static std::string commandTablesSql();
  // Runs a command's companion work of a write in the write's transaction.
  void writeCommandRows(const std::function<void(CommandRows&)>& work);
  void verify();
  void requireWritable() const;
  // The key as the index compares it: lower(field) for a case-insensitive one; of the table
  // named `alias` where a statement reads the table twice.
  std::string keyColumn(const IndexDef& ix, const std::string& alias = "") const;
  // The parameter $n as the index compares it.
  std::string keyParam(const IndexDef& ix, int n) const;
  std::string ascending(const IndexDef& ix) const;
  std::string descending(const IndexDef& ix) const;
  // Up to `limit` rows after (key, rowid) in index order (from the start without a position).
  std::vector<Row> rowsAfter(const IndexDef& ix, const Value* key, std::int64_t rowid, int limit);
  std::vector<Row> rows(const PgResult& r) const { return decodeRows(def_, r); }
  std::optional<Row> one(const PgResult& r) const;
  Value keyValue(const IndexDef& ix, const Value& key) const;

  PgConnection db_;
  std::string conninfo_;  // which database, whatever the alias
  std::string database_;
  std::string table_;    // quoted table name
  std::string rowid_;    // quoted row id column
  std::string columns_;  // "rowid, fields..."
  std::string select_;   // "SELECT rowid, fields... FROM table "
  int autoIncField_ = -1;
  bool bulk_ = false;
  bool readOnly_ = false;
  // The session in which this workstation's lock as the owner of its plans was taken.
  std::uint64_t ownerLockSession_ = ~std::uint64_t{0};
};

}  // namespace corvanta
