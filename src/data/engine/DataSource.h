#pragma once
// A data source connects data-aware controls of any window to one shared table and tells
// them, synchronously and during the table operation itself, of everything that happens.
#include <string>
#include <vector>

namespace corvanta {

class Field;
class Table;

enum class DataEvent {
  Scrolled,       // the cursor moved to another stored record; no stored record changed:
                  // every control takes its value
  RecordChanged,  // stored records may have changed, or the order did (refresh, post, cancel,
                  // delete, open, index change): every control takes its value
  StateChanged,   // browse, edit or insert state entered: every control takes its value
  FieldChanged,   // one field of the current record changed: its controls take its value
  UpdateRecord,   // a post is about to write the record: marked controls store their text
};

class DataObserver {
 public:
  virtual ~DataObserver() = default;
  virtual void dataEvent(DataEvent event, const Field* field) = 0;
};

class DataSource {
 public:
  DataSource(std::string name, Table& table, bool autoEdit);
  ~DataSource();
  DataSource(const DataSource&) = delete;
  DataSource& operator=(const DataSource&) = delete;

  const std::string& name() const { return name_; }
  Table& table() const { return table_; }
  bool autoEdit() const { return autoEdit_; }
  void setAutoEdit(bool on) { autoEdit_ = on; }

  void addObserver(DataObserver* o);
  void removeObserver(DataObserver* o);
  // Called by the table.  Observers added or removed while notifying are honoured.
  void notify(DataEvent event, const Field* field);

 private:
  std::string name_;
  Table& table_;
  bool autoEdit_;
  std::vector<DataObserver*> observers_;
};

}  // namespace corvanta
