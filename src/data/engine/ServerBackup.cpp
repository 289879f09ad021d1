#include "data/engine/ServerBackup.h"

#include <algorithm>
#include <utility>

#include "data/engine/PgTableStore.h"
#include "data/engine/Sqlite.h"
#include "data/engine/TableFile.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;

namespace {

// Records read per statement: the memory of one batch, whatever the table's size.
constexpr int kBatch = 5000;

struct CommandRowsCopy {
  std::vector<StoredCommand> plans;
  std::vector<std::pair<std::int64_t, std::int64_t>> marks;  // command, step
};

// The auto-increment field's name, or "rowid": the column whose sequence numbers records.
std::string numberingColumn(const TableDef& def) {
  for (const auto& f : def.fields)
    if (f.type == FieldType::AutoInc) return f.name;
  return "rowid";
}

bool hasAutoInc(const TableDef& def) {
  return std::any_of(def.fields.begin(), def.fields.end(),
                     [](const FieldDef& f) { return f.type == FieldType::AutoInc; });
}

// The columns a table is written or read with, on either side: the row id first where it is
// not the auto-increment field itself.  Only the quoting of names differs between a table
// file (quoteIdent) and a server's table (pgIdent).
template <typename Quote>
std::string columnList(const TableDef& def, Quote quote) {
  std::string cols = hasAutoInc(def) ? "" : "rowid";
  for (const auto& f : def.fields) cols += (cols.empty() ? "" : ", ") + quote(f.name);
  return cols;
}

// The last number the server's sequence gave (0 when none).
std::int64_t sequenceNow(PgConnection& db, const TableDef& def) {
  return db
      .exec("SELECT coalesce(pg_sequence_last_value(pg_get_serial_sequence($1, $2)::regclass), 0)",
            {pgIdent(def.sqlName), numberingColumn(def)})
      .integer(0, 0);
}

CommandRowsCopy serverCommandRows(PgConnection& db) {
  CommandRowsCopy rows;
  const PgResult plans = db.exec("SELECT id, name, detail, plan FROM corvanta_command ORDER BY id");
  for (int i = 0; i < plans.rows(); ++i)
    rows.plans.push_back(
        {plans.integer(i, 0), plans.text(i, 1), plans.text(i, 2), plans.text(i, 3)});
  const PgResult marks = db.exec("SELECT command, step FROM corvanta_step ORDER BY 1, 2");
  for (int i = 0; i < marks.rows(); ++i)
    rows.marks.emplace_back(marks.integer(i, 0), marks.integer(i, 1));
  return rows;
}

void writeCommandRows(SqliteDb& out, const std::vector<StoredCommand>& plans,
                      const std::vector<std::pair<std::int64_t, std::int64_t>>& marks) {
  if (plans.empty() && marks.empty()) return;
  out.exec(TableFile::commandTablesSql());
  Statement plan(out, "INSERT INTO corvanta_command(id, name, detail, plan) VALUES (?, ?, ?, ?)");
  for (const auto& c : plans)
    plan.reset().bindInt(1, c.id).bind(2, c.name).bind(3, c.detail).bind(4, c.plan).step();
  Statement mark(out, "INSERT OR IGNORE INTO corvanta_step(command, step) VALUES (?, ?)");
  for (const auto& [command, step] : marks)
    mark.reset().bindInt(1, command).bindInt(2, step).step();
}

// One table of the snapshot into a new table file.
void writeTableFile(PgConnection& db, const TableDef& def, const fs::path& file,
                    const std::vector<StoredCommand>& plans, const CommandRowsCopy& commandRows,
                    const std::atomic<bool>* cancel) {
  const std::string table = pgIdent(def.sqlName);
  if (db.exec("SELECT to_regclass($1) IS NOT NULL", {table}).text(0, 0) != "t")
    throw Error("Table '" + def.tableName + "' of database " + def.alias + " does not exist");
  const std::string rowid = PgTableStore::rowidColumn(def);
  std::string select = "SELECT " + rowid;
  for (const auto& f : def.fields) select += ", " + pgIdent(f.name);
  select += " FROM " + table + " WHERE " + rowid + " > $1::bigint ORDER BY " + rowid + " LIMIT " +
            std::to_string(kBatch);

  TableFile::create(def, file);
  SqliteDb out(file, SqliteDb::Mode::ReadWrite);
  // A backup file is one self-contained file, made durable as a whole when it is complete.
  out.exec("PRAGMA journal_mode=DELETE");
  out.exec("PRAGMA synchronous=OFF");
  out.exec("BEGIN");
  std::string marks;
  const size_t columns = def.fields.size() + (hasAutoInc(def) ? 0 : 1);
  for (size_t i = 0; i < columns; ++i) marks += (i ? ", ?" : "?") + std::to_string(i + 1);
  Statement insert(out, "INSERT INTO " + quoteIdent(def.sqlName) + " (" +
                            columnList(def, quoteIdent) + ") VALUES (" + marks + ")");
  std::int64_t last = 0;
  for (;;) {
    if (cancel && cancel->load()) throw Error("The backup was stopped");
    const auto rows = PgTableStore::decodeRows(def, db.exec(select, {last}));
    for (const Row& row : rows) {
      insert.reset();
      int n = 1;
      if (!hasAutoInc(def)) insert.bindInt(n++, row.rowid);
      for (const Value& v : row.values) insert.bind(n++, v);
      insert.step();
    }
    if (static_cast<int>(rows.size()) < kBatch) break;
    last = rows.back().rowid;
  }
  if (hasAutoInc(def)) {
    // Numbers the server has given (to records deleted since, too) are never given again.
    const std::int64_t given = sequenceNow(db, def);
    Statement raise(out, "UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = ?");
    raise.bindInt(1, given).bind(2, def.sqlName).step();
    if (out.changes() == 0 && given > 0)
      Statement(out, "INSERT INTO sqlite_sequence(name, seq) VALUES (?, ?)")
          .bind(1, def.sqlName)
          .bindInt(2, given)
          .step();
  }
  writeCommandRows(out, plans, commandRows.marks);
  out.exec("COMMIT");
}

// The command rows of a table file: its plans and step marks.
CommandRowsCopy fileCommandRows(const fs::path& file) {
  CommandRowsCopy rows;
  SqliteDb in(file, SqliteDb::Mode::ReadOnly);
  if (!Statement(in, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'corvanta_step'")
           .step())
    return rows;
  Statement plans(in, "SELECT id, name, detail, plan FROM corvanta_command");
  while (plans.step())
    rows.plans.push_back(
        {plans.columnInt(0), plans.columnText(1), plans.columnText(2), plans.columnText(3)});
  Statement marks(in, "SELECT command, step FROM corvanta_step");
  while (marks.step()) rows.marks.emplace_back(marks.columnInt(0), marks.columnInt(1));
  return rows;
}

std::int64_t fileCounter(const fs::path& file, const TableDef& def) {
  if (!hasAutoInc(def)) return 0;
  SqliteDb in(file, SqliteDb::Mode::ReadOnly);
  Statement st(in, "SELECT seq FROM sqlite_sequence WHERE name = ?");
  st.bind(1, def.sqlName);
  return st.step() ? st.columnInt(0) : 0;
}

void loadTable(PgConnection& db, const TableDef& def, const fs::path& file) {
  TableFile in(def, file, /*readOnly=*/true);
  const std::string table = pgIdent(def.sqlName);
  db.copyIn("COPY " + table + " (" + columnList(def, pgIdent) + ") FROM STDIN",
            [&](const PgConnection::RowWriter& put) {
              std::vector<Value> values;
              in.scan(def.indexes.front(), [&](const Row& row) {
                values.clear();
                if (!hasAutoInc(def)) values.emplace_back(row.rowid);
                values.insert(values.end(), row.values.begin(), row.values.end());
                put(values);
                return true;
              });
            });
  const std::int64_t expected = in.count();
  const std::int64_t stored = db.exec("SELECT count(*) FROM " + table).integer(0, 0);
  if (stored != expected)
    throw Error("Table '" + def.tableName + "' would hold " + std::to_string(stored) +
                " records, not the " + std::to_string(expected) + " of '" + file.string() + "'");
  // The sequence goes past every number stored, given by the backup's file, or given by the
  // server before: none is given twice.  (A sequence is not rolled back with the
  // transaction; raised in vain, it only leaves a gap.)
  const std::int64_t highest =
      db.exec("SELECT coalesce(max(" + PgTableStore::rowidColumn(def) + "), 0) FROM " + table)
          .integer(0, 0);
  const std::int64_t next = std::max({highest, fileCounter(file, def), sequenceNow(db, def)});
  if (next > 0)
    db.exec("SELECT setval(pg_get_serial_sequence($1, $2)::regclass, $3::bigint)",
            {table, numberingColumn(def), next});
}

}  // namespace

ServerBackup::ServerBackup(const std::string& conninfo, std::string name)
    : db_(conninfo, name), name_(std::move(name)) {}

bool ServerBackup::sameTables(const std::string& conninfo, const std::string& other) {
  PgConnection a(conninfo, "DatabaseFiles"), b(other, "DatabaseFilesQVX");
  const PgResult self = a.exec("SELECT pg_backend_pid(), coalesce(current_schema(), '')");
  // A server's process ids are its own: the session of `a` is seen from `b` only on the same
  // server, and then in the same database.
  return b.exec(
              "SELECT EXISTS (SELECT 1 FROM pg_stat_activity WHERE pid = $1::integer AND "
              "datname = current_database()) AND coalesce(current_schema(), '') = $2",
              {self.integer(0, 0), self.text(0, 1)})
             .text(0, 0) == "t";
}

void ServerBackup::lockOutWorkstations() {
  if (!db_.takeTablesExclusively())
    throw Error("The tables of " + name_ +
                " on the database server are open in the program on a workstation; close the "
                "program on every workstation first");
}

void ServerBackup::backup(const std::vector<const TableDef*>& tables, const FileOf& fileOf,
                          const std::atomic<bool>* cancel) {
  // One snapshot for every table: what any workstation committed before it began is in
  // the copy, nothing committed after, so a sale's line and its order's record agree.
  db_.begin("ISOLATION LEVEL REPEATABLE READ READ ONLY");
  try {
    const bool hasCommandRows =
        db_.exec("SELECT to_regclass('corvanta_step') IS NOT NULL").text(0, 0) == "t";
    const CommandRowsCopy commandRows = hasCommandRows ? serverCommandRows(db_) : CommandRowsCopy{};
    for (size_t i = 0; i < tables.size(); ++i) {
      const TableDef& def = *tables[i];
      try {
        // A plan is finished once at start: it is kept in one file only.
        writeTableFile(db_, def, fileOf(def),
                       i == 0 ? commandRows.plans : std::vector<StoredCommand>{}, commandRows,
                       cancel);
      } catch (const Error& e) {
        throw Error("Backup of " + def.tableName + " failed: " + e.what());
      }
    }
    db_.commit();
  } catch (...) {
    try {
      db_.rollback();
    } catch (const Error&) {
      // Ended with its connection.
    }
    throw;
  }
}

void ServerBackup::load(const std::vector<const TableDef*>& tables, const FileOf& fileOf) {
  db_.begin();
  try {
    std::string all;
    for (const TableDef* def : tables) all += (all.empty() ? "" : ", ") + pgIdent(def->sqlName);
    // The plans and marks of the tables replaced go with them; those of the backup come in.
    db_.command("TRUNCATE " + all + ", corvanta_command, corvanta_step");
    CommandRowsCopy commandRows;
    for (const TableDef* def : tables) {
      const fs::path file = fileOf(*def);
      try {
        loadTable(db_, *def, file);
      } catch (const Error& e) {
        throw Error("Restore of " + def->tableName +
                    " failed, nothing was changed on the database "
                    "server: " +
                    e.what());
      }
      CommandRowsCopy rows = fileCommandRows(file);
      std::move(rows.plans.begin(), rows.plans.end(), std::back_inserter(commandRows.plans));
      commandRows.marks.insert(commandRows.marks.end(), rows.marks.begin(), rows.marks.end());
    }
    // A plan restored belongs to no running workstation: the next start finishes it.
    for (const auto& c : commandRows.plans)
      db_.exec(
          "INSERT INTO corvanta_command(id, name, detail, plan, owner) "
          "VALUES ($1::bigint, $2, $3, $4, NULL) ON CONFLICT DO NOTHING",
          {c.id, c.name, c.detail, c.plan});
    for (const auto& [command, step] : commandRows.marks)
      db_.exec(
          "INSERT INTO corvanta_step(command, step) VALUES ($1::bigint, $2::integer) "
          "ON CONFLICT DO NOTHING",
          {command, step});
  } catch (...) {
    try {
      db_.rollback();
    } catch (const Error&) {
      // Ended with its connection.
    }
    throw;
  }
}

void ServerBackup::commit() {
  db_.commit();
}

}  // namespace corvanta
