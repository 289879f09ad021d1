#pragma once
// A table object: a cursor over one table file of an alias, with a current record, a state
// and a selected index.  Several windows share one table object through its data source.
//
// Position: the current record's key on the selected index plus its row id.  Every move is
// a keyset seek on (key, rowid), so each costs O(log n) whatever the table's size.
//
// Pending edits are settled first (posted when a field changed, else cancelled) by
// selectIndex, findKey, findNearest, insert, first, prior, next, last, refresh and
// moveToRowid.  After any failure the table keeps its state and current record: an unknown
// index name or a key text the index cannot take fails before the pending edit is settled,
// and a post that fails leaves the edit or insert pending with its buffer.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/engine/DataSource.h"
#include "data/engine/Field.h"
#include "data/engine/TableStore.h"

namespace corvanta {

class Engine;
class DataSource;

enum class TableState { Inactive, Browse, Edit, Insert };
const char* stateName(TableState s);  // "inactive", "browse", "edit", "insert"

class Table {
 public:
  // A closed table object with its field objects; open() reaches the file.
  Table(const Engine& engine, std::string objectName, std::string alias, std::string tableName);
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  const std::string& objectName() const { return objectName_; }
  const std::string& alias() const { return alias_; }
  const std::string& tableName() const { return tableName_; }
  const TableDef& def() const { return def_; }
  // Where an open table is stored, as messages name it (empty while closed).
  std::string storedWhere() const { return file_ ? file_->where() : std::string(); }

  // Opens by alias and table name; the first record in primary index order becomes current.
  // Opening an open table does nothing.  Throws an Error naming the alias or file.
  // The calls below that read or move records require an open table and throw Error "Cannot
  // perform this operation on a closed dataset" otherwise.
  void open();
  // Closes; a pending edit or insert is discarded, not posted.
  void close();
  bool active() const { return file_ != nullptr; }
  TableState state() const { return state_; }

  const std::vector<std::unique_ptr<Field>>& fields() const { return fields_; }
  Field* findField(std::string_view name) const;
  Field& fieldByName(std::string_view name) const;  // throws "Field 'x' not found"

  // Index by name, without regard to case; "" is the primary index.  The current record stays.
  // Throws Error "<object>: Index '<name>' not found" for an unknown name (nothing changes).
  void selectIndex(std::string_view name);
  const std::string& indexName() const { return indexName_; }  // as it was selected
  const IndexDef& index() const { return *index_; }

  // Exact search on the selected index's key field; the key text is converted to the field's
  // type ("'%s' is not a valid ... value for field '%s'"), or cut to a text field's size as
  // stored keys are.  Not found: nothing moves.
  bool findKey(std::string_view keyText);
  // The first record whose key is equal or greater; past every key, the last record with eof.
  void findNearest(std::string_view keyText);

  void edit();    // on an empty table starts an insert; in edit or insert state does nothing
  void insert();  // a new empty record; cancel returns to the record that was current
  // "Dataset not in edit or insert mode" in browse state; KeyViolation for a duplicate primary
  // key; "Record/Key deleted." when the edited record was deleted meanwhile.
  void post();
  // Work that the next post or delete of this table commits in the same transaction as its
  // write (a command's record of its steps): stored with it or not at all.  Dropped when that
  // post or delete fails or the edit is cancelled.  Work given twice before one write runs
  // in the order given (a sale line carries its own record and its order's).
  void commitWithNextWrite(std::function<void(CommandRows&)> work) {
    if (companion_)
      work = [first = std::move(companion_), then = std::move(work)](CommandRows& rows) {
        first(rows);
        then(rows);
      };
    companion_ = std::move(work);
  }
  void cancel();  // nothing in browse state
  void remove();  // deletes the current record (cancels an insert); the next one becomes current
  void first();
  void prior();
  void next();
  void last();
  // Makes the record with this row id current (a grid row clicked); false when it is gone.
  bool moveToRowid(std::int64_t rowid);
  // 0-based place of the current record in the selected index's order (-1 when none).
  std::int64_t currentPosition();
  // Re-reads the current record (or its successor when it is gone).  After a post refused
  // because another workstation changed the record, the edit goes on over the record as
  // stored now: the other workstation's changes are shown and the rest of the typing kept.
  void refresh();

  // bof: the cursor is at the first record (or the table is empty); eof: at the last one.
  // first/last and a prior/next that finds nothing set them; selectIndex and refresh work
  // them out again from the records around the current one.
  bool bof() const { return bof_; }
  bool eof() const { return eof_; }
  bool isEmpty() const { return !hasRecord_ && state_ != TableState::Insert; }
  bool modified() const { return modified_; }
  std::int64_t recordCount();  // counts the file's records: O(n), not for every keystroke
  std::int64_t currentRowid() const { return hasRecord_ ? rowid_ : 0; }

  // The stored table, for readers that must not move this cursor (grids, reports).
  TableStore& file();

  // For field objects and data sources.
  const Value& bufferValue(int field) const { return buffer_[field]; }
  void setBufferValue(int field, Value v);
  void attach(DataSource* ds);
  void detach(DataSource* ds);

 private:
  void requireActive() const;
  void settle();  // posts a changed pending record, cancels an unchanged one
  void rebaseEditOnStored();
  // bof and eof from the records around the current one in the selected order: two seeks.
  void findEdges();
  void load(std::optional<Row>&& row);
  void loadOrEmpty(std::optional<Row>&& row);
  Value keyFromText(std::string_view text) const;
  Value currentKey() const;
  void notify(DataEvent event, const Field* field = nullptr);

  const Engine& engine_;
  std::string objectName_, alias_, tableName_;
  const TableDef& def_;
  std::vector<std::unique_ptr<Field>> fields_;
  std::vector<DataSource*> sources_;
  std::unique_ptr<TableStore> file_;
  std::function<void(CommandRows&)> companion_;

  TableState state_ = TableState::Inactive;
  const IndexDef* index_;
  std::string indexName_;
  std::vector<Value> buffer_;
  std::vector<Value> original_;  // the record as edit() read it, to write only what changed
  std::int64_t rowid_ = 0;
  bool hasRecord_ = false;
  bool bof_ = true, eof_ = true;
  bool modified_ = false;
  bool changedElsewhere_ = false;  // the last post of this edit was refused as changed elsewhere
  // Where an insert started, to return there on cancel.
  std::int64_t rowidBeforeInsert_ = 0;
  bool hadRecordBeforeInsert_ = false;
};

}  // namespace corvanta
