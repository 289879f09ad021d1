#include "data/engine/CommandRecord.h"

#include <atomic>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <random>
#include <set>

#include "data/engine/Sqlite.h"
#include "data/engine/TableFile.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr const char* kTables =
    "CREATE TABLE IF NOT EXISTS corvanta_command"
    "(id INTEGER PRIMARY KEY, name TEXT, detail TEXT, plan TEXT);"
    "CREATE TABLE IF NOT EXISTS corvanta_step"
    "(command INTEGER, step INTEGER, PRIMARY KEY(command, step)) WITHOUT ROWID;";

// Commands closed by this process whose rows are still in a file: removed by the next
// recorded write to that file.
std::mutex closedMutex;
std::map<std::string, std::set<std::int64_t>> closedByFile;

void forgetClosed(SqliteDb& db, const std::string& file) {
  std::set<std::int64_t> ids;
  {
    std::lock_guard<std::mutex> lock(closedMutex);
    ids = std::move(closedByFile[file]);
    closedByFile[file].clear();
  }
  if (ids.empty()) return;
  Statement cmd(db, "DELETE FROM corvanta_command WHERE id = ?");
  Statement step(db, "DELETE FROM corvanta_step WHERE command = ?");
  for (std::int64_t id : ids) {
    cmd.reset().bindInt(1, id).step();
    step.reset().bindInt(1, id).step();
  }
}

json toJson(const Value& v) {
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* i = std::get_if<std::int64_t>(&v)) return *i;
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  return nullptr;
}

Value fromJson(const json& j) {
  if (j.is_number_integer()) return j.get<std::int64_t>();
  if (j.is_number()) return j.get<double>();
  if (j.is_string()) return j.get<std::string>();
  return Value{};
}

std::atomic<bool> recording{true};

std::int64_t newCommandId() {
  static std::mt19937_64 random{std::random_device{}()};
  static std::mutex m;
  std::lock_guard<std::mutex> lock(m);
  return static_cast<std::int64_t>(random() >> 2) + 1;
}

bool hasTable(SqliteDb& db, const char* name) {
  Statement st(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
  st.bind(1, std::string(name));
  return st.step();
}

}  // namespace

Value floatOfText(std::string_view text) {
  if (text.empty()) return Value{};
  double d = 0;
  if (!parseFloatStrict(text, d)) return Value{};
  return d;
}

CommandRecord::CommandRecord(std::string name, std::string detail)
    : id_(newCommandId()), name_(std::move(name)), detail_(std::move(detail)) {}

CommandRecord::~CommandRecord() {
  // Only the file of the plan forgets the command during the run: its marks in other files
  // stay until the next start sweeps them.  A mark removed while its plan is still stored
  // would have the next start carry out that step again, with values that may be stale by
  // then (a stock quantity set back).
  if (files_.empty()) return;
  std::lock_guard<std::mutex> lock(closedMutex);
  closedByFile[files_.front()].insert(id_);
}

int CommandRecord::plan(PlannedUpdate step) {
  steps_.push_back(std::move(step));
  return static_cast<int>(steps_.size());
}

void CommandRecord::setRecording(bool on) {
  recording = on;
}

void CommandRecord::recordWithFirstPost(Table& table) {
  if (!recording) return;
  json plan = json::array();
  for (const auto& s : steps_) {
    json fields = json::array();
    for (const auto& [name, v] : s.fields) fields.push_back({name, toJson(v)});
    plan.push_back({{"table", s.table},
                    {"rowid", s.rowid},
                    {"fields", fields},
                    {"what", s.what},
                    {"remove", s.remove},
                    {"insert", s.insert}});
  }
  const std::string file = table.filePath().string();
  files_.push_back(file);
  table.commitWithNextWrite([id = id_, name = name_, detail = detail_, text = plan.dump(),
                             file](SqliteDb& db) {
    db.exec(kTables);
    forgetClosed(db, file);
    Statement st(db, "INSERT INTO corvanta_command(id, name, detail, plan) VALUES (?, ?, ?, ?)");
    st.bindInt(1, id).bind(2, name).bind(3, detail).bind(4, text).step();
  });
}

void CommandRecord::markWithPost(Table& table, int n) {
  if (!recording) return;
  const std::string file = table.filePath().string();
  files_.push_back(file);
  table.commitWithNextWrite([id = id_, n, file](SqliteDb& db) {
    db.exec(kTables);
    forgetClosed(db, file);
    Statement st(db, "INSERT OR IGNORE INTO corvanta_step(command, step) VALUES (?, ?)");
    st.bindInt(1, id).bindInt(2, n).step();
  });
}

std::vector<std::string> finishInterruptedCommands(const Engine& engine) {
  struct Found {
    std::int64_t id;
    std::string name, detail;
    json plan;
    fs::path file;
  };
  std::map<std::string, fs::path> files;  // table name -> file, for the tables that exist
  for (const auto& def : shopTables()) {
    auto dir = engine.config().alias(def.alias);
    std::error_code ec;
    if (dir && fs::exists(*dir / def.fileName, ec)) files[def.tableName] = *dir / def.fileName;
  }
  std::vector<Found> found;
  for (auto it = files.begin(); it != files.end();) {
    try {
      SqliteDb db(it->second, SqliteDb::Mode::ReadWrite);
      if (hasTable(db, "corvanta_command")) {
        Statement st(db, "SELECT id, name, detail, plan FROM corvanta_command");
        while (st.step())
          found.push_back({st.columnInt(0), st.columnText(1), st.columnText(2),
                           json::parse(st.columnText(3), nullptr, false), it->second});
      }
      ++it;
    } catch (const Error&) {
      // A file that is no table is left to the opening of its table, which names it.
      it = files.erase(it);
    }
  }

  std::vector<std::string> messages;
  const auto marked = [](const fs::path& file, std::int64_t id, int n) {
    SqliteDb db(file, SqliteDb::Mode::ReadWrite);
    if (!hasTable(db, "corvanta_step")) return false;
    Statement st(db, "SELECT 1 FROM corvanta_step WHERE command = ? AND step = ?");
    st.bindInt(1, id).bindInt(2, n);
    return st.step();
  };
  for (const Found& c : found) {
    std::vector<std::string> done, failed;
    if (!c.plan.is_array()) continue;  // a plan that cannot be read cannot be carried out
    int n = 0;
    for (const auto& step : c.plan) {
      ++n;
      const TableDef* def = findTableDef(step.value("table", ""));
      if (!def || !files.count(def->tableName)) continue;
      const fs::path& target = files[def->tableName];
      if (marked(target, c.id, n)) continue;
      TableFile tf(*def, target);
      const std::int64_t rowid = step.value("rowid", std::int64_t{0});
      const std::string what = step.value("what", "");
      auto row = tf.byRowid(rowid);
      std::uint64_t changed = 0;
      if (row)
        for (const auto& f : step.at("fields")) {
          const int i = def->fieldIndex(f.at(0).get<std::string>());
          if (i < 0) continue;
          row->values[static_cast<size_t>(i)] = fromJson(f.at(1));
          changed |= std::uint64_t{1} << i;
        }
      const std::string file = target.string();
      tf.commitWithNextWrite([id = c.id, n, file](SqliteDb& db) {
        db.exec(kTables);
        Statement st(db, "INSERT OR IGNORE INTO corvanta_step(command, step) VALUES (?, ?)");
        st.bindInt(1, id).bindInt(2, n).step();
      });
      if (step.value("insert", false)) {
        std::vector<Value> values(def->fields.size());
        for (const auto& f : step.at("fields")) {
          const int i = def->fieldIndex(f.at(0).get<std::string>());
          if (i >= 0) values[static_cast<size_t>(i)] = fromJson(f.at(1));
        }
        try {
          tf.insert(values);
          done.push_back(what);
        } catch (const KeyViolation&) {
          // A record with its key is stored already (written some other way meanwhile):
          // a second one would be refused anyway, and nothing is stored twice.
        }
      } else if (step.value("remove", false)) {
        // Gone already is what the step wanted.
        if (row) tf.remove(rowid);
        done.push_back(what);
      } else if (row && tf.update(rowid, row->values, changed)) {
        done.push_back(what);
      } else {
        failed.push_back(what);
      }
    }
    // Finished (or as far as it can go): the record goes first, then its marks, so that a
    // crash in between never leaves a plan whose done steps look undone.
    {
      SqliteDb db(c.file, SqliteDb::Mode::ReadWrite);
      Statement st(db, "DELETE FROM corvanta_command WHERE id = ?");
      st.bindInt(1, c.id).step();
    }
    for (const auto& [table, file] : files) {
      SqliteDb db(file, SqliteDb::Mode::ReadWrite);
      if (hasTable(db, "corvanta_step")) {
        Statement st(db, "DELETE FROM corvanta_step WHERE command = ?");
        st.bindInt(1, c.id).step();
      }
    }
    if (done.empty() && failed.empty()) continue;  // it had completed; only its rows were left
    std::string text = "The command \"" + c.name + "\" (" + c.detail +
                       ") was cut short when the program last stopped.";
    if (!done.empty()) {
      text += " It has been finished now: ";
      for (size_t i = 0; i < done.size(); ++i) text += (i ? "; " : "") + done[i];
      text += ".";
    }
    if (!failed.empty()) {
      text += " What could not be finished, because the record is gone: ";
      for (size_t i = 0; i < failed.size(); ++i) text += (i ? "; " : "") + failed[i];
      text += ".";
    }
    messages.push_back(text);
  }
  // Marks whose command is gone (removed before its marks were) are dropped too.
  std::set<std::int64_t> live;
  for (const auto& [table, file] : files) {
    SqliteDb db(file, SqliteDb::Mode::ReadWrite);
    if (!hasTable(db, "corvanta_command")) continue;
    Statement st(db, "SELECT id FROM corvanta_command");
    while (st.step()) live.insert(st.columnInt(0));
  }
  for (const auto& [table, file] : files) {
    SqliteDb db(file, SqliteDb::Mode::ReadWrite);
    if (!hasTable(db, "corvanta_step")) continue;
    std::vector<std::int64_t> orphans;
    {
      Statement st(db, "SELECT DISTINCT command FROM corvanta_step");
      while (st.step())
        if (!live.count(st.columnInt(0))) orphans.push_back(st.columnInt(0));
    }
    if (orphans.empty()) continue;
    // The marks of a day's commands: removed in one transaction, not one commit each.
    db.exec("BEGIN IMMEDIATE");
    Statement del(db, "DELETE FROM corvanta_step WHERE command = ?");
    for (std::int64_t id : orphans) del.reset().bindInt(1, id).step();
    db.exec("COMMIT");
  }
  return messages;
}

}  // namespace corvanta
