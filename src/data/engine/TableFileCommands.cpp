// The command rows of a table file (see CommandRecord.h): two small tables beside the
// shop's table, made by the first plan or mark the file stores.
#include <algorithm>

#include "data/engine/TableFile.h"

namespace corvanta {

const char* TableFile::commandTablesSql() {
  return "CREATE TABLE IF NOT EXISTS corvanta_command"
         "(id INTEGER PRIMARY KEY, name TEXT, detail TEXT, plan TEXT);"
         "CREATE TABLE IF NOT EXISTS corvanta_step"
         "(command INTEGER, step INTEGER, PRIMARY KEY(command, step)) WITHOUT ROWID;";
}

namespace {

class SqliteCommandRows final : public CommandRows {
 public:
  explicit SqliteCommandRows(SqliteDb& db) : db_(db) { db_.exec(TableFile::commandTablesSql()); }
  void addPlan(std::int64_t command, const std::string& name, const std::string& detail,
               const std::string& plan) override {
    Statement st(db_, "INSERT INTO corvanta_command(id, name, detail, plan) VALUES (?, ?, ?, ?)");
    st.bindInt(1, command).bind(2, name).bind(3, detail).bind(4, plan).step();
  }
  void addMark(std::int64_t command, int step) override {
    Statement st(db_, "INSERT OR IGNORE INTO corvanta_step(command, step) VALUES (?, ?)");
    st.bindInt(1, command).bindInt(2, step).step();
  }
  void forget(std::int64_t command) override {
    Statement(db_, "DELETE FROM corvanta_command WHERE id = ?").bindInt(1, command).step();
    Statement(db_, "DELETE FROM corvanta_step WHERE command = ?").bindInt(1, command).step();
  }

 private:
  SqliteDb& db_;
};

}  // namespace

void TableFile::writeCommandRows(SqliteDb& db, const std::function<void(CommandRows&)>& work) {
  SqliteCommandRows rows(db);
  work(rows);
}

bool TableFile::holdsCommandRows() {
  Statement st(*db_, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'corvanta_step'");
  return st.step();
}

std::vector<StoredCommand> TableFile::interruptedCommands() {
  std::vector<StoredCommand> out;
  if (!holdsCommandRows()) return out;
  Statement st(*db_, "SELECT id, name, detail, plan FROM corvanta_command");
  while (st.step())
    out.push_back({st.columnInt(0), st.columnText(1), st.columnText(2), st.columnText(3)});
  return out;
}

std::vector<std::int64_t> TableFile::plannedCommands() {
  std::vector<std::int64_t> out;
  if (!holdsCommandRows()) return out;
  Statement st(*db_, "SELECT id FROM corvanta_command");
  while (st.step()) out.push_back(st.columnInt(0));
  return out;
}

bool TableFile::stepMarked(std::int64_t command, int step) {
  if (!holdsCommandRows()) return false;
  Statement st(*db_, "SELECT 1 FROM corvanta_step WHERE command = ? AND step = ?");
  st.bindInt(1, command).bindInt(2, step);
  return st.step();
}

void TableFile::forgetPlan(std::int64_t command) {
  requireWritable();
  if (!holdsCommandRows()) return;
  Statement(*db_, "DELETE FROM corvanta_command WHERE id = ?").bindInt(1, command).step();
}

void TableFile::forgetMarks(std::int64_t command) {
  requireWritable();
  if (!holdsCommandRows()) return;
  Statement(*db_, "DELETE FROM corvanta_step WHERE command = ?").bindInt(1, command).step();
}

void TableFile::forgetMarksWithoutPlan(const std::vector<std::int64_t>& known) {
  requireWritable();
  if (!holdsCommandRows()) return;
  std::vector<std::int64_t> orphans;
  {
    Statement st(*db_,
                 "SELECT DISTINCT command FROM corvanta_step WHERE command NOT IN "
                 "(SELECT id FROM corvanta_command)");
    while (st.step()) orphans.push_back(st.columnInt(0));
  }
  std::erase_if(orphans, [&](std::int64_t id) {
    return std::find(known.begin(), known.end(), id) != known.end();
  });
  if (orphans.empty()) return;
  // The marks of a day's commands: removed in one transaction, not one commit each.
  db_->exec("BEGIN IMMEDIATE");
  try {
    Statement del(*db_, "DELETE FROM corvanta_step WHERE command = ?");
    for (std::int64_t id : orphans) del.reset().bindInt(1, id).step();
    db_->exec("COMMIT");
  } catch (...) {
    db_->exec("ROLLBACK");
    throw;
  }
}

}  // namespace corvanta
