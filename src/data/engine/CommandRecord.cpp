#include "data/engine/CommandRecord.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <utility>
#include <variant>

#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// Commands closed by this process whose rows are still stored: removed by the next recorded
// write to the same store.
std::mutex closedMutex;
std::map<std::string, std::set<std::int64_t>> closedByStore;

void forgetClosed(CommandRows& rows, const std::string& store) {
  std::set<std::int64_t> ids;
  {
    std::lock_guard<std::mutex> lock(closedMutex);
    ids = std::move(closedByStore[store]);
    closedByStore[store].clear();
  }
  for (std::int64_t id : ids) rows.forget(id);
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

// Drawn afresh from the system's entropy each time: a generator seeded once would hand a
// forked process the same ids as its parent, and two workstations' plans share one table on
// a database server.
std::int64_t newCommandId() {
  std::random_device entropy;
  const std::uint64_t high = entropy(), low = entropy();
  return static_cast<std::int64_t>(((high << 32) | low) >> 2) + 1;
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
  // Only the store of the plan forgets the command during the run: its marks in other stores
  // stay until the next start sweeps them.  A mark removed while its plan is still stored
  // would have the next start carry out that step again, with values that may be stale by
  // then (a stock quantity set back).
  if (stores_.empty()) return;
  std::lock_guard<std::mutex> lock(closedMutex);
  closedByStore[stores_.front()].insert(id_);
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
    json from = json::array();
    for (const auto& [name, v] : s.from) from.push_back({name, toJson(v)});
    plan.push_back({{"table", s.table},
                    {"rowid", s.rowid},
                    {"fields", fields},
                    {"what", s.what},
                    {"remove", s.remove},
                    {"insert", s.insert},
                    {"from", from}});
  }
  const std::string store = table.storedWhere();
  stores_.push_back(store);
  table.commitWithNextWrite(
      [id = id_, name = name_, detail = detail_, text = plan.dump(), store](CommandRows& rows) {
        forgetClosed(rows, store);
        rows.addPlan(id, name, detail, text);
      });
}

void CommandRecord::markWithPost(Table& table, int n) {
  if (!recording) return;
  const std::string store = table.storedWhere();
  stores_.push_back(store);
  table.commitWithNextWrite([id = id_, n, store](CommandRows& rows) {
    forgetClosed(rows, store);
    rows.addMark(id, n);
  });
}

std::vector<std::string> finishInterruptedCommands(const Engine& engine) {
  struct Found {
    StoredCommand stored;
    json plan;
    TableStore* store;  // where the plan is
  };
  // Every table that exists, open for the whole run: a shared database's plans stay locked
  // against other workstations until they are finished.
  std::map<std::string, std::unique_ptr<TableStore>> stores;  // by table name
  for (const auto& def : shopTables()) {
    const bool onServer = engine.config().connection(def.alias).has_value();
    auto dir = engine.config().alias(def.alias);
    std::error_code ec;
    if (!onServer && !(dir && fs::exists(*dir / def.fileName, ec))) continue;
    try {
      stores[def.tableName] = engine.openTable(def.alias, def);
    } catch (const Error&) {
      // A file that is no table, or a server out of reach, is left to the opening of its
      // table, which names it.
    }
  }
  std::vector<Found> found;
  std::set<std::int64_t> seen;  // tables of one database share their plans
  for (auto& [table, store] : stores)
    for (auto& c : store->interruptedCommands())
      if (seen.insert(c.id).second)
        found.push_back({c, json::parse(c.plan, nullptr, false), store.get()});

  std::vector<std::string> messages;
  for (const Found& f : found) {
    const StoredCommand& c = f.stored;
    std::vector<std::string> done, failed;
    if (!f.plan.is_array()) continue;  // a plan that cannot be read cannot be carried out
    int n = 0;
    for (const auto& step : f.plan) {
      ++n;
      const TableDef* def = findTableDef(step.value("table", ""));
      if (!def || !stores.count(def->tableName)) continue;
      TableStore& target = *stores[def->tableName];
      if (target.stepMarked(c.id, n)) continue;
      const std::int64_t rowid = step.value("rowid", std::int64_t{0});
      const std::string what = step.value("what", "");
      auto row = target.byRowid(rowid);
      // The record as read, with the running figures as they were when the step was worked
      // out: the store adds their change to what it holds now.
      std::vector<Value> before;
      bool moves = false;
      if (row) {
        before = row->values;
        for (const auto& field : step.value("from", json::array())) {
          const int i = def->fieldIndex(field.at(0).get<std::string>());
          if (i < 0 || !def->fields[static_cast<size_t>(i)].accumulates) continue;
          const auto at = static_cast<size_t>(i);
          Value was = fromJson(field.at(1));
          // An empty figure has no difference to add: the target is then set as planned.
          if (!std::holds_alternative<double>(was) || !std::holds_alternative<double>(before[at]))
            continue;
          before[at] = std::move(was);
          moves = true;
        }
      }
      std::uint64_t changed = 0;
      if (row)
        for (const auto& field : step.at("fields")) {
          const int i = def->fieldIndex(field.at(0).get<std::string>());
          if (i < 0) continue;
          row->values[static_cast<size_t>(i)] = fromJson(field.at(1));
          changed |= std::uint64_t{1} << i;
        }
      target.commitWithNextWrite([id = c.id, n](CommandRows& rows) { rows.addMark(id, n); });
      if (step.value("insert", false)) {
        std::vector<Value> values(def->fields.size());
        for (const auto& field : step.at("fields")) {
          const int i = def->fieldIndex(field.at(0).get<std::string>());
          if (i >= 0) values[static_cast<size_t>(i)] = fromJson(field.at(1));
        }
        try {
          target.insert(values);
          done.push_back(what);
        } catch (const KeyViolation&) {
          // A record with its key is stored already (written some other way meanwhile):
          // a second one would be refused anyway, and nothing is stored twice.
        }
      } else if (step.value("remove", false)) {
        // Gone already is what the step wanted.
        if (row) target.remove(rowid);
        done.push_back(what);
      } else if (row && target.update(rowid, row->values, changed, moves ? &before : nullptr)) {
        done.push_back(what);
      } else {
        failed.push_back(what);
      }
    }
    // Finished (or as far as it can go): the record goes first, then its marks, so that a
    // crash in between never leaves a plan whose done steps look undone.
    f.store->forgetPlan(c.id);
    for (auto& [table, store] : stores) store->forgetMarks(c.id);
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
  std::vector<std::int64_t> live;
  for (auto& [table, store] : stores)
    for (std::int64_t id : store->plannedCommands()) live.push_back(id);
  for (auto& [table, store] : stores) store->forgetMarksWithoutPlan(live);
  return messages;
}

}  // namespace corvanta
