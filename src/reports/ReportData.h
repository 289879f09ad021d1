#pragma once
// Read-only access to the tables a report reads.  Each report opens its own connection to the
// table files, so no window's cursor moves; rows are read one at a time by keyset seeks on an
// index, never the whole table at once.
#include <memory>
#include <optional>

#include "data/engine/Engine.h"
#include "data/engine/TableStore.h"
#include "reports/Expression.h"

namespace corvanta::reports {

// Opens a shop table (by the name a definition gives, "clients.DB", "NewSales") read-only.
// Throws Error when the name is none of the shop's tables or the file cannot be opened.
std::unique_ptr<TableStore> openForReading(const Engine& engine, const TableDef& def);

// The value a key field of `def` takes for a report value (numbers for number fields).
Value keyFor(const FieldDef& field, const RValue& v);
// A stored value as a report value (auto-increment numbers become numbers).
RValue fromStored(const Value& v);

// Rows of one index in index order; with an equal key only the rows holding that key.
class RowStream {
 public:
  RowStream(TableStore& table, const IndexDef& index, std::optional<Value> equalKey);
  // The next row, or nothing at the end.
  std::optional<Row> next();

 private:
  TableStore& table_;
  const IndexDef& index_;
  std::optional<Value> equalKey_;
  std::optional<Row> last_;
  bool started_ = false, done_ = false;
};

// One record found by key (or the first record), remembered while the key stays the same:
// a sales report reads a customer once per order, not once per line.
class Lookup {
 public:
  Lookup(std::unique_ptr<TableStore> table, const IndexDef* index, int keyField);
  const TableDef& def() const { return table_->def(); }
  // nullptr when no record holds the key.
  const Row* find(const RValue& key);

 private:
  std::unique_ptr<TableStore> table_;
  const IndexDef* index_;  // nullptr: the first record of the primary index
  int keyField_;
  std::optional<Value> lastKey_;
  std::optional<Row> row_;
  bool loaded_ = false;
};

}  // namespace corvanta::reports
