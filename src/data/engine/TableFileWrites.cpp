// The writing half of TableFile: normalising values, single-row writes, bulk loading.
#include <sqlite3.h>

#include <utility>

#include "data/engine/Field.h"
#include "data/engine/TableFile.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

namespace {

// A transaction around a check and the write it guards, so that no other connection can
// store the same key in between; rolled back unless committed.  Not needed (and not opened)
// inside a bulk load, which is one transaction already.
class WriteTransaction {
 public:
  WriteTransaction(SqliteDb& db, bool needed) : db_(db), open_(needed) {
    if (open_) db_.exec("BEGIN IMMEDIATE");
  }
  ~WriteTransaction() {
    if (!open_) return;
    try {
      db_.exec("ROLLBACK");
    } catch (const Error&) {
      // A failed COMMIT may have ended the transaction already.
    }
  }
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;
  void commit() {
    if (!open_) return;
    db_.exec("COMMIT");
    open_ = false;
  }

 private:
  SqliteDb& db_;
  bool open_;
};

}  // namespace

void TableFile::writeFailed(Statement& st, int rc, const std::vector<Value>& values) {
  std::string msg = sqlite3_errmsg(db_->handle());
  st.reset();
  if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) keyViolation(values);
  throw Error("Table file '" + path_.string() + "': cannot write the record: " + msg);
}

void TableFile::keyViolation(const std::vector<Value>& values) const {
  std::string key;
  const IndexDef& primary = def_.indexes.front();
  int f = primary.field.empty() ? -1 : def_.fieldIndex(primary.field);
  if (f >= 0 && static_cast<size_t>(f) < values.size()) {
    const Value& v = values[f];
    if (auto* s = std::get_if<std::string>(&v))
      key = *s;
    else if (auto* d = std::get_if<double>(&v))
      key = formatGeneral15(*d);
    else if (auto* i = std::get_if<std::int64_t>(&v))
      key = std::to_string(*i);
  }
  throw KeyViolation("Key violation.\n" + def_.tableName + ": " +
                     (f >= 0 ? primary.field : std::string("key")) + " '" + key +
                     "' already exists.");
}

const IndexDef* TableFile::emptiedUniqueKey(const std::vector<Value>& stored,
                                            std::uint64_t changed) const {
  for (const auto& ix : def_.indexes) {
    if (!ix.unique || keyIsRowid(ix)) continue;
    const int f = def_.fieldIndex(ix.field);
    if (f < 64 && (changed >> f & 1) && isNull(stored[f])) return &ix;
  }
  return nullptr;
}

bool TableFile::emptyKeyTaken(const IndexDef& ix, std::int64_t rowid) {
  Statement& st = query(ix, Q::OtherNull).bindInt(2, rowid);
  const bool taken = st.step();
  st.reset();
  return taken;
}

std::vector<Value> TableFile::forWriting(const std::vector<Value>& values) const {
  if (values.size() != def_.fields.size())
    throw Error("Table file '" + path_.string() + "': a record of " +
                std::to_string(values.size()) + " fields cannot be written");
  std::vector<Value> out(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    const FieldDef& f = def_.fields[i];
    const Value& v = values[i];
    if (isNull(v)) continue;
    switch (f.type) {
      case FieldType::Text: {
        std::string text;
        if (const auto* s = std::get_if<std::string>(&v))
          text = cutToChars(*s, f.size > 0 ? f.size : 20);
        else if (const auto* d = std::get_if<double>(&v))
          text = formatGeneral15(*d);
        else
          text = std::to_string(std::get<std::int64_t>(v));
        if (!text.empty()) out[i] = std::move(text);
        break;
      }
      case FieldType::Float: {
        if (const auto* s = std::get_if<std::string>(&v)) {
          double d = 0;
          if (!parseFloatStrict(*s, d))
            throw Error("'" + *s + "' is not a valid floating point value for field '" + f.name +
                        "'");
          out[i] = d;
        } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
          out[i] = static_cast<double>(*n);
        } else {
          out[i] = v;
        }
        break;
      }
      case FieldType::AutoInc: {
        std::int64_t n = 0;
        if (const auto* s = std::get_if<std::string>(&v)) {
          if (!parseIntegerStrict(*s, n))
            throw Error("'" + *s + "' is not a valid integer value for field '" + f.name + "'");
        } else if (const auto* d = std::get_if<double>(&v)) {
          n = static_cast<std::int64_t>(*d);
          if (static_cast<double>(n) != *d)
            throw Error("'" + formatGeneral15(*d) + "' is not a valid integer value for field '" +
                        f.name + "'");
        } else {
          n = std::get<std::int64_t>(v);
        }
        out[i] = n;
        break;
      }
    }
  }
  return out;
}

std::int64_t TableFile::insert(const std::vector<Value>& values) {
  requireWritable();
  const std::vector<Value> stored = forWriting(values);
  const IndexDef* emptyKey = emptiedUniqueKey(stored, ~std::uint64_t{0});
  const auto extra = std::exchange(withNextWrite_, {});
  WriteTransaction tx(*db_, (emptyKey || extra) && !bulk_);
  if (emptyKey && emptyKeyTaken(*emptyKey, 0)) keyViolation(stored);
  auto& st = prepared(insert_, Fixed::Insert);
  for (size_t i = 0; i < stored.size(); ++i) st.bind(static_cast<int>(i) + 1, stored[i]);
  int rc = st.stepCode();
  if (rc != SQLITE_DONE) writeFailed(st, rc, stored);
  st.reset();
  const std::int64_t rowid = db_->lastInsertRowid();
  if (extra) extra(*db_);
  tx.commit();
  return rowid;
}

bool TableFile::update(std::int64_t rowid, const std::vector<Value>& values) {
  return update(rowid, values, ~std::uint64_t{0});
}

bool TableFile::update(std::int64_t rowid, const std::vector<Value>& values,
                       std::uint64_t changed) {
  requireWritable();
  const std::vector<Value> stored = forWriting(values);
  const size_t n = def_.fields.size();
  if (n < 64) changed &= (std::uint64_t{1} << n) - 1;
  const auto extra = std::exchange(withNextWrite_, {});
  if (changed == 0) {
    const bool there = byRowid(rowid).has_value();
    if (there && extra) {
      WriteTransaction tx(*db_, !bulk_);
      extra(*db_);
      tx.commit();
    }
    return there;
  }
  auto& slot = updates_[changed];
  if (!slot) {
    std::string sets;
    for (size_t i = 0; i < n; ++i)
      if (changed >> i & 1)
        sets += (sets.empty() ? "" : ", ") + quoteIdent(def_.fields[i].name) + " = ?" +
                std::to_string(i + 1);
    slot = std::make_unique<Statement>(*db_, "UPDATE " + quoteIdent(def_.sqlName) + " SET " + sets +
                                                 " WHERE rowid = ?" + std::to_string(n + 1));
  }
  const IndexDef* emptyKey = emptiedUniqueKey(stored, changed);
  WriteTransaction tx(*db_, (emptyKey || extra) && !bulk_);
  if (emptyKey && emptyKeyTaken(*emptyKey, rowid)) keyViolation(stored);
  auto& st = slot->reset();
  for (size_t i = 0; i < n; ++i)
    if (changed >> i & 1) st.bind(static_cast<int>(i) + 1, stored[i]);
  st.bindInt(static_cast<int>(n) + 1, rowid);
  int rc = st.stepCode();
  if (rc != SQLITE_DONE) writeFailed(st, rc, stored);
  st.reset();
  const bool written = db_->changes() > 0;
  // A record deleted meanwhile was not written: neither is the work that goes with it.
  if (!written) return false;
  if (extra) extra(*db_);
  tx.commit();
  return written;
}

void TableFile::beginBulk() {
  if (bulk_) return;
  // A large page cache keeps the secondary indexes in memory while they grow.
  db_->exec("PRAGMA cache_size=-262144");
  db_->exec("BEGIN IMMEDIATE");
  bulk_ = true;
}

void TableFile::commitBulk() {
  if (!bulk_) return;
  db_->exec("COMMIT");
  bulk_ = false;
  db_->exec("PRAGMA cache_size=-2000");
  // Moves the whole load into the table file and empties the log again.
  db_->exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

void TableFile::rollbackBulk() {
  if (!bulk_) return;
  bulk_ = false;
  db_->exec("ROLLBACK");
  db_->exec("PRAGMA cache_size=-2000");
}

void TableFile::requireWritable() const {
  if (readOnly_) throw Error("Table file '" + path_.string() + "' is open for reading only");
}

void TableFile::remove(std::int64_t rowid) {
  requireWritable();
  const auto extra = std::exchange(withNextWrite_, {});
  WriteTransaction tx(*db_, extra && !bulk_);
  auto& st = prepared(delete_, Fixed::Delete).bindInt(1, rowid);
  int rc = st.stepCode();
  if (rc != SQLITE_DONE) writeFailed(st, rc, {});
  st.reset();
  if (extra) extra(*db_);
  tx.commit();
}

}  // namespace corvanta
