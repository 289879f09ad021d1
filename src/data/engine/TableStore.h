#pragma once
// Where one table's records are stored: a table file of a local alias directory, or a table
// of a database server shared by several workstations.  Cursors (Table), grids, reports and
// tools read and write through this interface and never know which one it is.
//
// Every index orders records by (key, rowid), empty keys first; case-insensitive indexes
// fold only the letters A-Z, so both stores keep one order.  All cursor reads are O(log n)
// seeks; nothing here ever reads a whole table.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/engine/TableSchema.h"
#include "data/engine/Value.h"

namespace corvanta {

// The rows that keep a command that changes several tables whole across a crash (see
// CommandRecord.h): its plan, the marks of its finished steps, and the removal of both once
// the command is over.  A store writes them in the transaction of one of its own writes.
class CommandRows {
 public:
  virtual ~CommandRows() = default;
  virtual void addPlan(std::int64_t command, const std::string& name, const std::string& detail,
                       const std::string& plan) = 0;
  // A step marked already: once is enough in a local file; refused on a shared database.
  virtual void addMark(std::int64_t command, int step) = 0;
  virtual void forget(std::int64_t command) = 0;  // its plan and its marks
};

// A command's plan as stored.
struct StoredCommand {
  std::int64_t id = 0;
  std::string name, detail, plan;
};

class TableStore {
 public:
  explicit TableStore(const TableDef& def) : def_(def) {}
  virtual ~TableStore() = default;
  TableStore(const TableStore&) = delete;
  TableStore& operator=(const TableStore&) = delete;

  const TableDef& def() const { return def_; }
  // What error messages call this store: "Table file '/path/stock.db'".
  virtual std::string where() const = 0;

  // Reads, all on one index.
  virtual std::optional<Row> first(const IndexDef& ix) = 0;
  virtual std::optional<Row> last(const IndexDef& ix) = 0;
  virtual std::optional<Row> after(const IndexDef& ix, const Value& key, std::int64_t rowid) = 0;
  virtual std::optional<Row> before(const IndexDef& ix, const Value& key, std::int64_t rowid) = 0;
  virtual std::optional<Row> findEqual(const IndexDef& ix, const Value& key) = 0;
  virtual std::optional<Row> findAtOrAfter(const IndexDef& ix, const Value& key) = 0;
  virtual std::optional<Row> byRowid(std::int64_t rowid) = 0;
  // A record read again by its row id, with whether any record comes before and after it on
  // `ix`: what a refresh needs, in one read where the store can (a server's round trip costs
  // far more than the work).  No row when the record is gone.
  struct Reread {
    std::optional<Row> row;
    bool hasBefore = false, hasAfter = false;
  };
  virtual Reread reread(const IndexDef& ix, std::int64_t rowid);
  virtual std::int64_t count() = 0;
  virtual bool empty() = 0;
  // Rows [offset, offset + limit) in index order (O(offset): for grids, not for cursors).
  // With the table's record count given, a page in the later half may be read backwards
  // from the end, so that the cost is that of its distance from the nearer end.
  virtual std::vector<Row> page(const IndexDef& ix, std::int64_t offset, int limit,
                                std::int64_t total = -1) = 0;
  // How many rows come before (key, rowid) in index order.
  virtual std::int64_t positionOf(const IndexDef& ix, const Value& key, std::int64_t rowid) = 0;
  // How many rows carry this key on the index (an empty key counts empty fields).
  virtual std::int64_t countEqual(const IndexDef& ix, const Value& key) = 0;
  // Every row in index order, memory constant whatever the table's size, for dumps and
  // exports.  Stops early when f returns false.  f may use this store's other reads.
  virtual void scan(const IndexDef& ix, const std::function<bool(const Row&)>& f) = 0;

  // Writes: each one durable transaction.  A duplicate key on a unique index throws
  // KeyViolation (an empty key counts as a key, so a second empty key is refused too).
  // Values are stored as normalised by forWriting().
  virtual std::int64_t insert(const std::vector<Value>& values) = 0;
  // Writes only the fields whose bit is set in `changed` (bit i: field i), so that an edit of
  // one field rewrites no index entry of another; nothing at all when no bit is set.  False
  // when the row is gone (nothing written).
  //
  // With `readBefore` (the record as the edit read it), a field that another connection
  // changed since then is not overwritten: the write is refused with an Error saying so,
  // except for a running figure (FieldDef::accumulates), whose change is added to what is
  // stored, so that two tills selling the same item both lower its quantity.
  virtual bool update(std::int64_t rowid, const std::vector<Value>& values, std::uint64_t changed,
                      const std::vector<Value>* readBefore = nullptr) = 0;
  bool update(std::int64_t rowid, const std::vector<Value>& values) {
    return update(rowid, values, ~std::uint64_t{0});
  }
  virtual void remove(std::int64_t rowid) = 0;
  // Work that the next insert, update or remove commits in its own transaction, so that both
  // are stored or neither (a command's record of its steps); dropped when that write fails or
  // writes nothing (a record gone, an edit refused).
  void commitWithNextWrite(std::function<void(CommandRows&)> work) {
    withNextWrite_ = std::move(work);
  }

  // The command rows of this store, for finishing at start what a crash cut short.  A store
  // shared with other workstations gives only the plans of commands whose workstation no
  // longer runs (and keeps them from any other workstation until this store is closed).
  virtual std::vector<StoredCommand> interruptedCommands() = 0;
  virtual bool stepMarked(std::int64_t command, int step) = 0;
  // Remove a command's plan, or its marks, each in a transaction of its own.
  virtual void forgetPlan(std::int64_t command) = 0;
  virtual void forgetMarks(std::int64_t command) = 0;
  // Removes the marks of commands that have no plan here nor among `known` (those of other
  // stores): left by a plan removed before its marks.
  virtual void forgetMarksWithoutPlan(const std::vector<std::int64_t>& known) = 0;
  // The ids of every plan stored here, whichever workstation's.
  virtual std::vector<std::int64_t> plannedCommands() = 0;

  // A number of a series (`series`: "OrderNumber") for this workstation alone: `atLeast`, or
  // the next one when a workstation sharing the store was given that one already, in one
  // transaction.  Numbers given are never given again, used or not.  A local table file has
  // one workstation and gives `atLeast`.
  virtual std::int64_t reserveNumber(const std::string& series, std::int64_t atLeast) {
    (void)series;
    return atLeast;
  }

  // Bulk loading (tools and benchmarks only): the writes between beginBulk() and commitBulk()
  // form one transaction, made durable by commitBulk(); rollbackBulk() drops them.
  virtual void beginBulk() = 0;
  virtual void commitBulk() = 0;
  virtual void rollbackBulk() = 0;
  virtual bool inBulk() const = 0;

  // The index key of a row (the rowid itself for an index without key field).
  Value keyOf(const IndexDef& ix, const Row& row) const;
  // What a write stores: text cut to the field's size (an empty text is an empty field),
  // numbers as numbers.  Throws an Error naming the field for a value it cannot hold.
  std::vector<Value> forWriting(const std::vector<Value>& values) const;
  // Values read from storage are normalised to the field's type.
  Value normalise(int field, Value v) const;

  // The message of a refused edit whose field another workstation changed meanwhile.
  static const char* changedElsewhereMessage();

 protected:
  // Whether an index's key is the row id (no key field, or the auto-increment field).
  bool keyIsRowid(const IndexDef& ix) const;
  // Equality of two keys as the index compares them.
  bool sameKey(const IndexDef& ix, const Value& a, const Value& b) const;
  [[noreturn]] void keyViolation(const std::vector<Value>& values) const;
  // The unique index whose key a write of `stored` (the fields whose bit is set in
  // `changed`) leaves empty, or nullptr.
  const IndexDef* emptiedUniqueKey(const std::vector<Value>& stored, std::uint64_t changed) const;

  std::function<void(CommandRows&)> takeWithNextWrite() {
    return std::exchange(withNextWrite_, {});
  }

  const TableDef& def_;

 private:
  std::function<void(CommandRows&)> withNextWrite_;
};

}  // namespace corvanta
