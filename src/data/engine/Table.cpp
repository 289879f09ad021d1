#include "data/engine/Table.h"

#include <algorithm>
#include <utility>

#include "data/engine/DataSource.h"
#include "data/engine/Engine.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

const char* stateName(TableState s) {
  switch (s) {
    case TableState::Inactive:
      return "inactive";
    case TableState::Browse:
      return "browse";
    case TableState::Edit:
      return "edit";
    case TableState::Insert:
      return "insert";
  }
  return "?";
}

namespace {
const TableDef& defOf(const std::string& tableName) {
  const TableDef* def = findTableDef(tableName);
  if (!def) throw Error("Table '" + tableName + "' is not a table of this shop");
  return *def;
}
}  // namespace

Table::Table(const Engine& engine, std::string objectName, std::string alias, std::string tableName)
    : engine_(engine),
      objectName_(std::move(objectName)),
      alias_(std::move(alias)),
      tableName_(std::move(tableName)),
      def_(defOf(tableName_)),
      index_(&def_.indexes.front()) {
  for (size_t i = 0; i < def_.fields.size(); ++i)
    fields_.push_back(std::make_unique<Field>(*this, static_cast<int>(i), def_.fields[i]));
  buffer_.resize(def_.fields.size());
}

Table::~Table() = default;

void Table::attach(DataSource* ds) {
  sources_.push_back(ds);
}
void Table::detach(DataSource* ds) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), ds), sources_.end());
}

void Table::notify(DataEvent event, const Field* field) {
  const auto snapshot = sources_;
  for (DataSource* ds : snapshot) ds->notify(event, field);
}

void Table::requireActive() const {
  if (!file_) throw Error("Cannot perform this operation on a closed dataset");
}

TableStore& Table::file() {
  requireActive();
  return *file_;
}

Field* Table::findField(std::string_view name) const {
  for (const auto& f : fields_)
    if (f->fieldName() == name) return f.get();
  return nullptr;
}

Field& Table::fieldByName(std::string_view name) const {
  if (Field* f = findField(name)) return *f;
  throw Error(objectName_ + ": Field '" + std::string(name) + "' not found");
}

void Table::open() {
  if (file_) return;
  file_ = engine_.openTable(alias_, def_);
  state_ = TableState::Browse;
  loadOrEmpty(file_->first(*index_));
  bof_ = true;
  eof_ = !hasRecord_;
  notify(DataEvent::StateChanged);
}

void Table::close() {
  if (!file_) return;
  file_.reset();
  state_ = TableState::Inactive;
  std::fill(buffer_.begin(), buffer_.end(), Value{});
  hasRecord_ = false;
  modified_ = false;
  bof_ = eof_ = true;
  notify(DataEvent::StateChanged);
}

void Table::load(std::optional<Row>&& row) {
  buffer_ = std::move(row->values);
  rowid_ = row->rowid;
  hasRecord_ = true;
}

void Table::loadOrEmpty(std::optional<Row>&& row) {
  if (row) {
    load(std::move(row));
    return;
  }
  std::fill(buffer_.begin(), buffer_.end(), Value{});
  rowid_ = 0;
  hasRecord_ = false;
}

Value Table::currentKey() const {
  if (index_->field.empty()) return rowid_;
  return buffer_[def_.fieldIndex(index_->field)];
}

void Table::setBufferValue(int field, Value v) {
  requireActive();
  if (state_ != TableState::Edit && state_ != TableState::Insert)
    throw Error("Dataset not in edit or insert mode");
  buffer_[field] = std::move(v);
  modified_ = true;
  notify(DataEvent::FieldChanged, fields_[field].get());
}

void Table::settle() {
  if (state_ != TableState::Edit && state_ != TableState::Insert) return;
  notify(DataEvent::UpdateRecord);
  if (modified_)
    post();
  else
    cancel();
}

void Table::selectIndex(std::string_view name) {
  requireActive();
  const IndexDef* ix = def_.findIndex(name);
  if (!ix) throw Error(objectName_ + ": Index '" + std::string(name) + "' not found");
  settle();
  index_ = ix;
  indexName_ = std::string(name);
  findEdges();
  notify(DataEvent::RecordChanged);
}

Value Table::keyFromText(std::string_view text) const {
  const std::string field = index_->field;
  const FieldDef* f = field.empty() ? nullptr : &def_.fields[def_.fieldIndex(field)];
  if (text.empty()) return Value{};
  if (!f || f->type == FieldType::AutoInc) {
    std::int64_t n = 0;
    if (!parseIntegerStrict(text, n))
      throw Error("'" + std::string(text) + "' is not a valid integer value for field '" +
                  (f ? f->name : std::string("RecNo")) + "'");
    return n;
  }
  if (f->type == FieldType::Float) {
    double d = 0;
    if (!parseFloatStrict(text, d))
      throw Error("'" + std::string(text) + "' is not a valid floating point value for field '" +
                  f->name + "'");
    return d;
  }
  // Stored keys were cut to the field's size: a longer search text is cut the same way, or
  // the record saved from that very text could never be found.
  return cutToChars(text, f->size > 0 ? f->size : 20);
}

bool Table::findKey(std::string_view keyText) {
  requireActive();
  // A key the index cannot take fails before anything else happens: a pending edit stays.
  Value key = keyFromText(keyText);
  settle();
  auto row = file_->findEqual(*index_, key);
  if (!row) return false;
  load(std::move(row));
  bof_ = eof_ = false;
  notify(DataEvent::Scrolled);
  return true;
}

void Table::findNearest(std::string_view keyText) {
  requireActive();
  Value key = keyFromText(keyText);
  settle();
  auto row = file_->findAtOrAfter(*index_, key);
  if (row) {
    load(std::move(row));
    bof_ = eof_ = false;
  } else {
    loadOrEmpty(file_->last(*index_));
    bof_ = !hasRecord_;
    eof_ = true;
  }
  notify(DataEvent::Scrolled);
}

void Table::edit() {
  requireActive();
  if (state_ == TableState::Edit || state_ == TableState::Insert) return;
  if (!hasRecord_) {
    insert();
    return;
  }
  auto row = file_->byRowid(rowid_);
  if (!row) throw Error("Record/Key deleted.");
  // A running figure stays as it was shown while the edit works on it, and what the edit
  // changes is added to what is stored when it posts: a sale that works out the new quantity
  // in stock from the one on screen takes off just its own part, whatever another
  // workstation took since the screen was filled.
  for (size_t i = 0; i < row->values.size() && i < buffer_.size(); ++i)
    if (def_.fields[i].accumulates && std::holds_alternative<double>(buffer_[i]) &&
        std::holds_alternative<double>(row->values[i]))
      row->values[i] = buffer_[i];
  load(std::move(row));
  original_ = buffer_;
  state_ = TableState::Edit;
  modified_ = false;
  changedElsewhere_ = false;
  notify(DataEvent::StateChanged);
}

void Table::insert() {
  requireActive();
  settle();
  rowidBeforeInsert_ = rowid_;
  hadRecordBeforeInsert_ = hasRecord_;
  std::fill(buffer_.begin(), buffer_.end(), Value{});
  state_ = TableState::Insert;
  modified_ = false;
  notify(DataEvent::StateChanged);
}

void Table::post() {
  requireActive();
  if (state_ != TableState::Edit && state_ != TableState::Insert)
    throw Error("Dataset not in edit or insert mode");
  // Bound controls store their marked texts first; a text a field cannot take stops here.
  auto companion = std::exchange(companion_, {});
  notify(DataEvent::UpdateRecord);
  if (companion) file_->commitWithNextWrite(std::move(companion));
  std::int64_t rowid = rowid_;
  if (state_ == TableState::Insert) {
    rowid = file_->insert(buffer_);
  } else {
    // Only the fields that changed are written: index entries of the others stay untouched.
    std::uint64_t changed = 0;
    if (buffer_.size() > 64 || original_.size() != buffer_.size())
      changed = ~std::uint64_t{0};
    else
      for (size_t i = 0; i < buffer_.size(); ++i)
        if (!(buffer_[i] == original_[i])) changed |= std::uint64_t{1} << i;
    // A field another workstation changed since edit() read it is not overwritten.
    try {
      if (!file_->update(rowid_, buffer_, changed, &original_)) throw Error("Record/Key deleted.");
    } catch (const ChangedElsewhere&) {
      changedElsewhere_ = true;
      throw;
    }
    // A changed auto-increment key moves the record to another row id.
    const std::string& key = def_.indexes.front().field;
    if (!key.empty() && def_.fields[def_.fieldIndex(key)].type == FieldType::AutoInc)
      if (const auto* n = std::get_if<std::int64_t>(&buffer_[def_.fieldIndex(key)])) rowid = *n;
  }
  auto row = file_->byRowid(rowid);
  if (row) load(std::move(row));
  state_ = TableState::Browse;
  modified_ = false;
  changedElsewhere_ = false;
  bof_ = eof_ = false;
  notify(DataEvent::StateChanged);
  notify(DataEvent::RecordChanged);
}

void Table::cancel() {
  requireActive();
  companion_ = {};
  changedElsewhere_ = false;
  if (state_ == TableState::Browse) return;
  const bool wasInsert = state_ == TableState::Insert;
  state_ = TableState::Browse;
  modified_ = false;
  std::optional<Row> row;
  if (!wasInsert || hadRecordBeforeInsert_)
    row = file_->byRowid(wasInsert ? rowidBeforeInsert_ : rowid_);
  if (!row) row = file_->first(*index_);
  loadOrEmpty(std::move(row));
  bof_ = eof_ = !hasRecord_;
  notify(DataEvent::StateChanged);
}

void Table::remove() {
  requireActive();
  if (state_ == TableState::Insert) {
    cancel();
    return;
  }
  if (!hasRecord_) throw Error("Cannot perform this operation on an empty dataset");
  // The position comes from the stored record, not from an edit in progress.
  if (auto stored = file_->byRowid(rowid_)) load(std::move(stored));
  const Value key = currentKey();
  const std::int64_t rowid = rowid_;
  if (companion_) file_->commitWithNextWrite(std::exchange(companion_, {}));
  file_->remove(rowid);
  const bool wasEditing = state_ != TableState::Browse;
  state_ = TableState::Browse;
  modified_ = false;
  auto row = file_->after(*index_, key, rowid);
  eof_ = !row;
  if (!row) row = file_->last(*index_);
  loadOrEmpty(std::move(row));
  bof_ = !hasRecord_;
  if (!hasRecord_) eof_ = true;
  if (wasEditing) notify(DataEvent::StateChanged);
  notify(DataEvent::RecordChanged);
}

void Table::first() {
  requireActive();
  settle();
  loadOrEmpty(file_->first(*index_));
  bof_ = true;
  eof_ = !hasRecord_;
  notify(DataEvent::Scrolled);
}

void Table::last() {
  requireActive();
  settle();
  loadOrEmpty(file_->last(*index_));
  eof_ = true;
  bof_ = !hasRecord_;
  notify(DataEvent::Scrolled);
}

void Table::next() {
  requireActive();
  settle();
  if (hasRecord_) {
    if (auto row = file_->after(*index_, currentKey(), rowid_)) {
      load(std::move(row));
      bof_ = false;
      eof_ = false;
    } else {
      eof_ = true;
      bof_ = false;
    }
  }
  notify(DataEvent::Scrolled);
}

void Table::prior() {
  requireActive();
  settle();
  if (hasRecord_) {
    if (auto row = file_->before(*index_, currentKey(), rowid_)) {
      load(std::move(row));
      bof_ = false;
      eof_ = false;
    } else {
      bof_ = true;
      eof_ = false;
    }
  }
  notify(DataEvent::Scrolled);
}

void Table::refresh() {
  requireActive();
  // Posting again would only be refused again: the person asks to see the other change.
  if (state_ == TableState::Edit && changedElsewhere_) {
    rebaseEditOnStored();
    return;
  }
  settle();
  // Other programs may have changed the record, and added or removed records on either side.
  if (hasRecord_) {
    if (auto again = file_->reread(*index_, rowid_); again.row) {
      load(std::move(again.row));
      bof_ = !again.hasBefore;
      eof_ = !again.hasAfter;
      notify(DataEvent::RecordChanged);
      return;
    }
    // The record went away under us (another program): its successor takes its place.
    auto next = file_->after(*index_, currentKey(), rowid_);
    if (!next) next = file_->last(*index_);
    loadOrEmpty(std::move(next));
  } else {
    loadOrEmpty(file_->first(*index_));
  }
  findEdges();
  notify(DataEvent::RecordChanged);
}

void Table::rebaseEditOnStored() {
  notify(DataEvent::UpdateRecord);  // typing not yet in the record goes in first
  auto row = file_->byRowid(rowid_);
  if (!row) throw Error("Record/Key deleted.");
  std::vector<Value>& stored = row->values;
  for (size_t i = 0; i < buffer_.size() && i < stored.size(); ++i) {
    const auto* now = std::get_if<double>(&buffer_[i]);
    const auto* was = std::get_if<double>(&original_[i]);
    const auto* there = std::get_if<double>(&stored[i]);
    if (def_.fields[i].accumulates && now && was && there) {
      // A running figure keeps what this edit changed, on top of what is stored now.
      buffer_[i] = *there + (*now - *was);
    } else if (buffer_[i] == original_[i] || !(stored[i] == original_[i])) {
      // Not typed here, or changed there: the other workstation's value is shown.
      buffer_[i] = stored[i];
    }
    // Otherwise typed here and untouched there: the typing stays.
  }
  original_ = std::move(stored);
  modified_ = buffer_ != original_;
  changedElsewhere_ = false;
  notify(DataEvent::RecordChanged);
}

void Table::findEdges() {
  if (!hasRecord_) {
    bof_ = eof_ = true;
    return;
  }
  const Value key = currentKey();
  bof_ = !file_->before(*index_, key, rowid_);
  eof_ = !file_->after(*index_, key, rowid_);
}

bool Table::moveToRowid(std::int64_t rowid) {
  requireActive();
  settle();
  auto row = file_->byRowid(rowid);
  if (!row) return false;
  load(std::move(row));
  bof_ = eof_ = false;
  notify(DataEvent::Scrolled);
  return true;
}

std::int64_t Table::currentPosition() {
  requireActive();
  if (!hasRecord_) return -1;
  return file_->positionOf(*index_, currentKey(), rowid_);
}

std::int64_t Table::recordCount() {
  requireActive();
  return file_->count();
}

}  // namespace corvanta
