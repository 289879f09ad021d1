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
//
// Each connection is a session of its own, and a connection that is dropped and made again
// silently between two statements is a new one.  So every session that writes a step of its
// own workstation's command takes the shared lock too, before its first step, and only while
// the plan is still stored and no other workstation holds the lock (it is finishing the
// command): otherwise the step would be carried out twice, once here and once there.  A step
// marked already is refused with its write, never skipped, for the same reason.
#include <unistd.h>

#include <map>
#include <mutex>
#include <random>

#include "data/engine/PgTableStore.h"
#include "ui/Error.h"

namespace corvanta {

namespace {

// A number of this workstation's own, drawn afresh in a forked process: another process is
// another workstation, and two that shared a number would keep each other's plans locked.
std::int64_t ownerKey() {
  static pid_t drawnIn = 0;
  static std::int64_t key = 0;
  if (drawnIn != ::getpid()) {
    std::random_device entropy;
    key = static_cast<std::int64_t>((std::uint64_t{entropy()} << 32 | entropy()) >> 2) + 1;
    drawnIn = ::getpid();
  }
  return key;
}

// The commands this workstation has planned and not yet forgotten, with the database that
// holds each plan.  A step of one of them is guarded below; a step of another workstation's
// command is written only by a start finishing it, under that workstation's lock.
std::mutex ownPlansMutex;
std::map<std::int64_t, std::string> ownPlans;

class PgCommandRows final : public CommandRows {
 public:
  PgCommandRows(PgConnection& db, const std::string& database, std::uint64_t& ownerLockSession)
      : db_(db), database_(database), ownerLockSession_(ownerLockSession) {}
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
    std::lock_guard<std::mutex> lock(ownPlansMutex);
    ownPlans[command] = database_;
  }
  void addMark(std::int64_t command, int step) override {
    if (ownerLockSession_ != db_.session() && planHere(command)) holdOwnerLockFor(command);
    if (db_.exec("INSERT INTO corvanta_step(command, step) VALUES ($1::bigint, $2::integer) "
                 "ON CONFLICT DO NOTHING",
                 {command, std::int64_t{step}})
            .affected() == 0)
      finishedElsewhere();
  }
  void forget(std::int64_t command) override {
    // One statement for the plan and its marks: this runs inside a post, for every command
    // closed since this store's last one, and a server's round trip costs more than the work.
    db_.exec(
        "WITH plan AS (DELETE FROM corvanta_command WHERE id = $1::bigint) "
        "DELETE FROM corvanta_step WHERE command = $1::bigint",
        {command});
    std::lock_guard<std::mutex> lock(ownPlansMutex);
    ownPlans.erase(command);
  }

 private:
  // Whether the command is this workstation's own and its plan is in this database (a plan in
  // a local table file or in another database has no lock here to hold).
  bool planHere(std::int64_t command) const {
    std::lock_guard<std::mutex> lock(ownPlansMutex);
    const auto it = ownPlans.find(command);
    return it != ownPlans.end() && it->second == database_;
  }
  // Before the first step this session writes: no start elsewhere may be finishing the
  // command now, and the plan must still be stored (not finished by one meanwhile).  The lock
  // is taken first: once this session holds it no start elsewhere can begin, so the plan
  // found is not taken away before the step commits.
  void holdOwnerLockFor(std::int64_t command) {
    if (db_.exec("SELECT pg_try_advisory_lock_shared($1::bigint)", {ownerKey()}).text(0, 0) != "t")
      finishedElsewhere();
    ownerLockSession_ = db_.session();
    if (db_.exec("SELECT 1 FROM corvanta_command WHERE id = $1::bigint", {command}).rows() == 0)
      finishedElsewhere();
  }
  // The write's transaction is rolled back with it: nothing of this step is stored.
  [[noreturn]] void finishedElsewhere() const {
    throw Error("Another workstation finished this command while the connection to the database " +
                db_.name() + " was lost; this step has not been stored a second time.");
  }

  PgConnection& db_;
  const std::string& database_;
  std::uint64_t& ownerLockSession_;
};

}  // namespace

std::string PgTableStore::commandTablesSql() {
  return "CREATE TABLE IF NOT EXISTS corvanta_command (id bigint PRIMARY KEY, name text, "
         "detail text, plan text, owner bigint);"
         "CREATE TABLE IF NOT EXISTS corvanta_step (command bigint, step integer, "
         "PRIMARY KEY (command, step));"
         "CREATE TABLE IF NOT EXISTS corvanta_number (series text PRIMARY KEY, last bigint);";
}

std::int64_t PgTableStore::reserveNumber(const std::string& series, std::int64_t atLeast) {
  requireWritable();
  // One statement: the row of the series is locked from the read of the last number given
  // to the write of this one, so two workstations at the same moment take turns.
  return db_
      .exec(
          "INSERT INTO corvanta_number AS n (series, last) VALUES ($1, $2::bigint) "
          "ON CONFLICT (series) DO UPDATE SET last = greatest(n.last + 1, EXCLUDED.last) "
          "RETURNING last",
          {series, atLeast})
      .integer(0, 0);
}

void PgTableStore::writeCommandRows(const std::function<void(CommandRows&)>& work) {
  PgCommandRows rows(db_, conninfo_, ownerLockSession_);
  work(rows);
}

std::vector<StoredCommand> PgTableStore::interruptedCommands() {
  requireWritable();
  const PgResult r = db_.exec(
      "SELECT id, name, detail, plan FROM corvanta_command "
      "WHERE owner IS NULL OR pg_try_advisory_lock(owner) ORDER BY id");
  std::vector<StoredCommand> out;
  std::lock_guard<std::mutex> lock(ownPlansMutex);
  for (int i = 0; i < r.rows(); ++i) {
    out.push_back({r.integer(i, 0), r.text(i, 1), r.text(i, 2), r.text(i, 3)});
    // Being finished here now, under its owner's lock: no longer a command in flight.
    ownPlans.erase(out.back().id);
  }
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
