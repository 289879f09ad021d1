#include "BenchData.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "data/engine/TableSchema.h"
#include "data/numbers/Numbers.h"

#ifndef CORVANTA_BENCH_DATA_DIR
#define CORVANTA_BENCH_DATA_DIR "bench-data"
#endif

namespace corvanta::bench {

namespace fs = std::filesystem;

fs::path benchDataRoot() {
  if (const char* v = std::getenv("CORVANTA_BENCH_DATA"); v && *v) return v;
  return CORVANTA_BENCH_DATA_DIR;
}

std::string describeCounts(const GenerateOptions& o) {
  std::ostringstream s;
  s << "stock=" << o.stock << " clients=" << o.clients << " sales=" << o.sales
    << " billing=" << o.billing << " seed=" << o.seed << " walkin=" << o.walkInPercent
    << " format=1\n";
  return s.str();
}

namespace {

// Generates the set unless a complete one with the same counts is there already.
void ensureGenerated(const fs::path& dir, const GenerateOptions& o) {
  const fs::path marker = dir / "complete";
  std::ifstream in(marker);
  std::stringstream have;
  have << in.rdbuf();
  if (in && have.str() == describeCounts(o)) return;
  std::fprintf(stderr, "Generating benchmark tables in %s (once; reused afterwards)...\n",
               dir.c_str());
  fs::remove_all(dir);
  fs::create_directories(dir);
  Engine engine(EngineConfig::forDataDirectory(dir));
  generateTables(engine, o,
                 [](const std::string& line) { std::fprintf(stderr, "  %s\n", line.c_str()); });
  std::ofstream(marker) << describeCounts(o);
}

// Keys of `n` random records of a table on one index's key field.
Keys sampleKeys(const DataSet& d, const TableDef& def, const IndexDef& ix, int n,
                std::mt19937& rng) {
  Keys k;
  sqlite3* db = nullptr;
  sqlite3_open_v2(d.file(def.tableName).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  const std::string t = "\"" + def.sqlName + "\"";
  const std::string col = ix.field.empty() ? "rowid" : "\"" + ix.field + "\"";
  sqlite3_stmt* maxSt = nullptr;
  sqlite3_prepare_v2(db, ("SELECT max(rowid) FROM " + t).c_str(), -1, &maxSt, nullptr);
  sqlite3_step(maxSt);
  const std::int64_t maxRowid = sqlite3_column_int64(maxSt, 0);
  sqlite3_finalize(maxSt);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(
      db, ("SELECT " + col + " FROM " + t + " WHERE rowid >= ?1 ORDER BY rowid LIMIT 1").c_str(),
      -1, &st, nullptr);
  std::uniform_int_distribution<std::int64_t> pick(1, std::max<std::int64_t>(1, maxRowid));
  const FieldDef* f = ix.field.empty() ? nullptr : &def.fields[def.fieldIndex(ix.field)];
  while (static_cast<int>(k.size()) < n && maxRowid > 0) {
    sqlite3_reset(st);
    sqlite3_bind_int64(st, 1, pick(rng));
    if (sqlite3_step(st) != SQLITE_ROW || sqlite3_column_type(st, 0) == SQLITE_NULL) continue;
    if (!f || f->type == FieldType::AutoInc) {
      const std::int64_t v = sqlite3_column_int64(st, 0);
      k.text.push_back(std::to_string(v));
      k.typed.emplace_back(v);
    } else if (f->type == FieldType::Float) {
      const double v = sqlite3_column_double(st, 0);
      k.text.push_back(formatGeneral15(v));
      k.typed.emplace_back(v);
    } else {
      const std::string v = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
      k.text.push_back(v);
      k.typed.emplace_back(v);
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return k;
}

Keys prefixes(const Keys& from, size_t length) {
  Keys k;
  for (const auto& t : from.text) {
    k.text.push_back(t.substr(0, std::min(length, t.size())));
    k.typed.emplace_back(k.text.back());
  }
  return k;
}

std::int64_t countWalkIn(const DataSet& d) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(d.file("NewSales").c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT count(*) FROM NewSales WHERE CustNum = 1", -1, &st, nullptr);
  sqlite3_step(st);
  const std::int64_t n = sqlite3_column_int64(st, 0);
  sqlite3_finalize(st);
  sqlite3_close(db);
  return n;
}

std::unique_ptr<DataSet> load(const std::string& label, const GenerateOptions& o) {
  auto d = std::make_unique<DataSet>();
  d->label = label;
  d->counts = o;
  d->dir = benchDataRoot() / label;
  ensureGenerated(d->dir, o);
  d->engine = std::make_unique<Engine>(EngineConfig::forDataDirectory(d->dir));
  std::mt19937 rng(4711);
  for (const char* name : {"stock.db", "clients.DB", "NewSales", "BillingShipping"}) {
    const TableDef& def = *findTableDef(name);
    for (const auto& ix : def.indexes)
      d->keys[def.tableName + "/" + ix.name] = sampleKeys(*d, def, ix, 4096, rng);
  }
  d->descriptionPrefixes = prefixes(d->keysOf("stock.db", "byDescription"), 9);
  d->lastNamePrefixes = prefixes(d->keysOf("clients.DB", "byLastName"), 3);
  d->walkInLines = countWalkIn(*d);
  return d;
}

}  // namespace

fs::path DataSet::file(const std::string& table) const {
  const TableDef& def = *findTableDef(table);
  return dir / def.alias / def.fileName;
}

DataSet& smallData() {
  static std::unique_ptr<DataSet> d = load("10k", {10000, 10000, 10000, 10000, 1, 25});
  return *d;
}

DataSet& largeData() {
  static std::unique_ptr<DataSet> d = load("2M", {100000, 50000, 2000000, 500000, 1, 25});
  return *d;
}

}  // namespace corvanta::bench
