// The command rows of a database server's tables (see CommandRecord.h).  Every table of a
// database shares the two tables of plans and marks.
//
// Several workstations use them at once, so a plan names its owner: a number of the
// workstation's own, on which each of its connections that stored a plan holds a shared
// session lock.  A workstation ends, crashes or loses its connection: the server drops the
// locks with the sessions.  A plan is finished by another workstation only when it can take
// that lock exclusively, which it then holds until its store closes, so that no third one
// finishes the same command at the same time and no plan in flight is taken from a
// workstation that still runs.
#include <random>

#include "data/engine/PgTableStore.h"

namespace corvanta {

namespace {

std::int64_t ownerKey() {
  static const std::int64_t key = [] {
    std::mt19937_64 random{std::random_device{}()};
    return static_cast<std::int64_t>(random() >> 2) + 1;
  }();
  return key;
}

class PgCommandRows final : public CommandRows {
 public:
  PgCommandRows(PgConnection& db, std::uint64_t& ownerLockSession)
      : db_(db), ownerLockSession_(ownerLockSession) {}
  void addPlan(std::int64_t command, const std::string& name, const std::string& detail,
               const std::string& plan) override {
    if (ownerLockSession_ != db_.session()) {
      // Session locks outlive the transaction they were taken in, rolled back or not.
      db_.exec("SELECT pg_advisory_lock_shared($1::bigint)", {ownerKey()});
      ownerLockSession_ = db_.session();
    }
    db_.exec(
        "INSERT INTO corvanta_command(id, name, detail, plan, owner) "
        "VALUES ($1::bigint, $2, $3, $4, $5::bigint)",
        {command, name, detail, plan, ownerKey()});
  }
  void addMark(std::int64_t command, int step) override {
    db_.exec(
        "INSERT INTO corvanta_step(command, step) VALUES ($1::bigint, $2::integer) "
        "ON CONFLICT DO NOTHING",
        {command, std::int64_t{step}});
  }
  void forget(std::int64_t command) override {
    db_.exec("DELETE FROM corvanta_command WHERE id = $1::bigint", {command});
    db_.exec("DELETE FROM corvanta_step WHERE command = $1::bigint", {command});
  }

 private:
  PgConnection& db_;
  std::uint64_t& ownerLockSession_;
};

}  // namespace

std::string PgTableStore::commandTablesSql() {
  return "CREATE TABLE IF NOT EXISTS corvanta_command (id bigint PRIMARY KEY, name text, "
         "detail text, plan text, owner bigint);"
         "CREATE TABLE IF NOT EXISTS corvanta_step (command bigint, step integer, "
         "PRIMARY KEY (command, step));";
}

void PgTableStore::writeCommandRows(const std::function<void(CommandRows&)>& work) {
  PgCommandRows rows(db_, ownerLockSession_);
  work(rows);
}

std::vector<StoredCommand> PgTableStore::interruptedCommands() {
  requireWritable();
  const PgResult r = db_.exec(
      "SELECT id, name, detail, plan FROM corvanta_command "
      "WHERE owner IS NULL OR pg_try_advisory_lock(owner) ORDER BY id");
  std::vector<StoredCommand> out;
  for (int i = 0; i < r.rows(); ++i)
    out.push_back({r.integer(i, 0), r.text(i, 1), r.text(i, 2), r.text(i, 3)});
  return out;
}

std::vector<std::int64_t> PgTableStore::plannedCommands() {
  const PgResult r = db_.exec("SELECT id FROM corvanta_command");
  std::vector<std::int64_t> out;
  for (int i = 0; i < r.rows(); ++i) out.push_back(r.integer(i, 0));
  return out;
}

bool PgTableStore::stepMarked(std::int64_t command, int step) {
  return db_.exec("SELECT 1 FROM corvanta_step WHERE command = $1::bigint AND step = $2::integer",
                  {command, std::int64_t{step}})
             .rows() > 0;
}

void PgTableStore::forgetPlan(std::int64_t command) {
  requireWritable();
  db_.exec("DELETE FROM corvanta_command WHERE id = $1::bigint", {command});
}

void PgTableStore::forgetMarks(std::int64_t command) {
  requireWritable();
  db_.exec("DELETE FROM corvanta_step WHERE command = $1::bigint", {command});
}

void PgTableStore::forgetMarksWithoutPlan(const std::vector<std::int64_t>& known) {
  requireWritable();
  std::string ids = "{";
  for (size_t i = 0; i < known.size(); ++i) ids += (i ? "," : "") + std::to_string(known[i]);
  ids += "}";
  // One statement: a mark that it sees was committed after its plan, which it sees too
  // unless the command is over.
  db_.exec(
      "DELETE FROM corvanta_step s WHERE NOT (s.command = ANY($1::bigint[])) AND NOT EXISTS "
      "(SELECT 1 FROM corvanta_command c WHERE c.id = s.command)",
      {ids});
}

}  // namespace corvanta
