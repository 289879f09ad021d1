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
  void rollback() {
    if (!open_) return;
    open_ = false;
    db_.exec("ROLLBACK");
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

bool TableFile::emptyKeyTaken(const IndexDef& ix, std::int64_t rowid) {
  Statement& st = query(ix, Q::OtherNull).bindInt(2, rowid);
  const bool taken = st.step();
  st.reset();
  return taken;
}

std::int64_t TableFile::insert(const std::vector<Value>& values) {
  requireWritable();
  const std::vector<Value> stored = forWriting(values);
  const IndexDef* emptyKey = emptiedUniqueKey(stored, ~std::uint64_t{0});
  const auto extra = takeWithNextWrite();
  WriteTransaction tx(*db_, (emptyKey || extra) && !bulk_);
  if (emptyKey && emptyKeyTaken(*emptyKey, 0)) keyViolation(stored);
  auto& st = prepared(insert_, Fixed::Insert);
  for (size_t i = 0; i < stored.size(); ++i) st.bind(static_cast<int>(i) + 1, stored[i]);
  int rc = st.stepCode();
  if (rc != SQLITE_DONE) writeFailed(st, rc, stored);
  st.reset();
  const std::int64_t rowid = db_->lastInsertRowid();
  if (extra) writeCommandRows(*db_, extra);
  tx.commit();
  return rowid;
}

bool TableFile::update(std::int64_t rowid, const std::vector<Value>& values, std::uint64_t changed,
                       const std::vector<Value>* readBefore) {
  requireWritable();
  const std::vector<Value> stored = forWriting(values);
  const size_t n = def_.fields.size();
  if (n < 64) changed &= (std::uint64_t{1} << n) - 1;
  const auto extra = takeWithNextWrite();
  if (changed == 0) {
    const bool there = byRowid(rowid).has_value();
    if (there && extra) {
      WriteTransaction tx(*db_, !bulk_);
      writeCommandRows(*db_, extra);
      tx.commit();
    }
    return there;
  }
  std::vector<Value> before;
  if (readBefore) before = forWriting(*readBefore);
  // Running figures whose change is added to what is stored (see TableStore::update).
  std::uint64_t deltas = 0;
  if (readBefore && n <= 64)
    for (size_t i = 0; i < n; ++i)
      if ((changed >> i & 1) && def_.fields[i].accumulates &&
          std::holds_alternative<double>(before[i]) && std::holds_alternative<double>(stored[i]))
        deltas |= std::uint64_t{1} << i;
  // Parameters: ?i+1 the value of field i, ?n+1 the row id, ?n+2+i what field i held.
  auto& slot = updates_[{changed, deltas, readBefore != nullptr}];
  if (!slot) {
    std::string sets, checks;
    for (size_t i = 0; i < n; ++i) {
      if (!(changed >> i & 1)) continue;
      const std::string f = quoteIdent(def_.fields[i].name);
      const std::string p = "?" + std::to_string(i + 1);
      sets += (sets.empty() ? "" : ", ") + f +
              (deltas >> i & 1 ? " = coalesce(" + f + ", 0) + " + p : " = " + p);
      if (readBefore && !(deltas >> i & 1))
        checks += " AND " + f + " IS ?" + std::to_string(n + 2 + i);
    }
    slot =
        std::make_unique<Statement>(*db_, "UPDATE " + quoteIdent(def_.sqlName) + " SET " + sets +
                                              " WHERE rowid = ?" + std::to_string(n + 1) + checks);
  }
  const IndexDef* emptyKey = emptiedUniqueKey(stored, changed);
  WriteTransaction tx(*db_, (emptyKey || extra) && !bulk_);
  if (emptyKey && emptyKeyTaken(*emptyKey, rowid)) keyViolation(stored);
  auto& st = slot->reset();
  for (size_t i = 0; i < n; ++i) {
    if (!(changed >> i & 1)) continue;
    const int p = static_cast<int>(i) + 1;
    if (deltas >> i & 1)
      st.bind(p, std::get<double>(stored[i]) - std::get<double>(before[i]));
    else
      st.bind(p, stored[i]);
    if (readBefore && !(deltas >> i & 1)) st.bind(static_cast<int>(n + 2 + i), before[i]);
  }
  st.bindInt(static_cast<int>(n) + 1, rowid);
  int rc = st.stepCode();
  if (rc != SQLITE_DONE) writeFailed(st, rc, stored);
  st.reset();
  if (db_->changes() > 0) {
    if (extra) writeCommandRows(*db_, extra);
    tx.commit();
    return true;
  }
  // A record deleted or changed meanwhile was not written: neither is the work that goes
  // with it.
  tx.rollback();
  if (readBefore && byRowid(rowid)) throw ChangedElsewhere(changedElsewhereMessage());
  return false;
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
  const auto extra = takeWithNextWrite();
  WriteTransaction tx(*db_, extra && !bulk_);
  auto& st = prepared(delete_, Fixed::Delete).bindInt(1, rowid);
  int rc = st.stepCode();
  if (rc != SQLITE_DONE) writeFailed(st, rc, {});
  st.reset();
  if (extra) writeCommandRows(*db_, extra);
  tx.commit();
}

}  // namespace corvanta
