#include "Memory.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "Raw.h"
#include "data/engine/Table.h"
#include "data/engine/TableSchema.h"

namespace corvanta::bench {

namespace {

long maxRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Private (anonymous) memory now, from /proc/self/status: what the process holds of its own,
// as opposed to file pages it maps and shares with the system's file cache.
long anonymousRssKb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("RssAnon:", 0) == 0) return std::atol(line.c_str() + 8);
  return 0;
}

struct ProbeKeys {
  std::string table, index;
  std::vector<std::string> text;
};

std::vector<ProbeKeys> readKeys(const std::string& file) {
  std::vector<ProbeKeys> out;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    auto a = line.find('\t'), b = line.find('\t', a + 1);
    std::string table = line.substr(0, a), index = line.substr(a + 1, b - a - 1);
    if (out.empty() || out.back().table != table || out.back().index != index)
      out.push_back({table, index, {}});
    out.back().text.push_back(line.substr(b + 1));
  }
  return out;
}

Value typed(const TableDef& def, const IndexDef& ix, const std::string& text) {
  if (ix.field.empty()) return static_cast<std::int64_t>(std::stoll(text));
  const FieldDef& f = def.fields[def.fieldIndex(ix.field)];
  if (f.type == FieldType::AutoInc) return static_cast<std::int64_t>(std::stoll(text));
  if (f.type == FieldType::Float) return std::stod(text);
  return text;
}

constexpr int kWalkSteps = 20000;

void engineWork(const std::string& dir, const std::vector<ProbeKeys>& keys) {
  Engine engine(EngineConfig::forDataDirectory(dir));
  std::map<std::string, std::unique_ptr<Table>> tables;
  for (const auto& def : shopTables()) {
    auto t = std::make_unique<Table>(engine, "Probe", def.alias, def.tableName);
    t->open();
    tables[def.tableName] = std::move(t);
  }
  for (const auto& k : keys) {
    Table& t = *tables.at(k.table);
    t.selectIndex(k.index);
    for (const auto& text : k.text) t.findKey(text);
  }
  for (auto [table, index] : {std::pair{"NewSales", "byCustNum"}, std::pair{"stock.db", ""}}) {
    Table& t = *tables.at(table);
    t.selectIndex(index);
    t.first();
    for (int i = 0; i < kWalkSteps && !t.eof(); ++i) t.next();
  }
}

void rawWork(const std::string& dir, const std::vector<ProbeKeys>& keys, bool mapped) {
  std::map<std::string, std::unique_ptr<RawDb>> dbs;
  std::vector<std::unique_ptr<RawStmt>> statements;
  for (const auto& def : shopTables())
    dbs[def.tableName] =
        std::make_unique<RawDb>(std::filesystem::path(dir) / def.alias / def.fileName, mapped);
  std::vector<Value> row;
  for (const auto& k : keys) {
    const TableDef& def = *findTableDef(k.table);
    const IndexDef& ix = *def.findIndex(k.index);
    const std::string key = ix.field.empty() ? "rowid" : "\"" + ix.field + "\"";
    statements.push_back(std::make_unique<RawStmt>(
        *dbs.at(k.table),
        selectAll(k.table) + "WHERE " + key + " = ?1 ORDER BY " + key + ", rowid LIMIT 1"));
    for (const auto& text : k.text) {
      const Value v = typed(def, ix, text);
      statements.back()->bind(1, v).fetch(row);
    }
  }
  // Walks: equal keys through two statements, a unique key through one.
  {
    RawDb& db = *dbs.at("NewSales");
    RawStmt first(db, selectAll("NewSales") + "ORDER BY CustNum, rowid LIMIT 1");
    RawStmt eq(db, selectAll("NewSales") +
                       "WHERE CustNum = ?1 AND rowid > ?2 ORDER BY CustNum, rowid LIMIT 1");
    RawStmt gt(db, selectAll("NewSales") + "WHERE CustNum > ?1 ORDER BY CustNum, rowid LIMIT 1");
    const int custColumn = findTableDef("NewSales")->fieldIndex("CustNum") + 1;
    if (first.fetch(row)) {
      for (int i = 0; i < kWalkSteps; ++i) {
        const Value key = row[static_cast<size_t>(custColumn)];
        const std::int64_t rowid = std::get<std::int64_t>(row[0]);
        if (!eq.bind(1, key).bind(2, rowid).fetch(row) && !gt.bind(1, key).fetch(row)) break;
      }
    }
  }
  {
    RawDb& db = *dbs.at("stock.db");
    RawStmt first(db, selectAll("stock.db") + "ORDER BY PartNumber LIMIT 1");
    RawStmt gt(db, selectAll("stock.db") + "WHERE PartNumber > ?1 ORDER BY PartNumber LIMIT 1");
    if (first.fetch(row)) {
      for (int i = 0; i < kWalkSteps; ++i) {
        const Value key = row[1];
        if (!gt.bind(1, key).fetch(row)) break;
      }
    }
  }
}

std::string selfPath() {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : "engine_bench";
}

ProbeResult probe(const std::string& kind, const DataSet& d, const std::string& keyFile) {
  const std::string cmd =
      "'" + selfPath() + "' --memory-probe " + kind + " '" + d.dir.string() + "' '" + keyFile + "'";
  FILE* p = ::popen(cmd.c_str(), "r");
  ProbeResult r;
  if (p) {
    if (std::fscanf(p, "%ld %ld %ld", &r.startKb, &r.peakKb, &r.anonKb) != 3) r = {};
    ::pclose(p);
  }
  return r;
}

}  // namespace

bool runMemoryProbe(int argc, char** argv, int& exitCode) {
  if (argc != 5 || std::string(argv[1]) != "--memory-probe") return false;
  const auto keys = readKeys(argv[4]);
  const long start = maxRssKb();
  const std::string kind = argv[2];
  if (kind == "engine")
    engineWork(argv[3], keys);
  else
    rawWork(argv[3], keys, kind == "raw-mapped");
  std::printf("%ld %ld %ld\n", start, maxRssKb(), anonymousRssKb());
  exitCode = 0;
  return true;
}

MemoryFigures measureMemory(const DataSet& d) {
  const std::string keyFile = (d.dir / "probe-keys.tsv").string();
  {
    std::ofstream out(keyFile);
    for (const auto& [name, keys] : d.keys) {
      const auto slash = name.find('/');
      for (const auto& t : keys.text)
        out << name.substr(0, slash) << '\t' << name.substr(slash + 1) << '\t' << t << '\n';
    }
  }
  // Three runs of each, alternating; the median peak counts.
  std::vector<ProbeResult> runs[3];
  const char* kinds[3] = {"engine", "raw", "raw-mapped"};
  for (int i = 0; i < 3; ++i)
    for (int k = 0; k < 3; ++k) runs[k].push_back(probe(kinds[k], d, keyFile));
  MemoryFigures m;
  for (int k = 0; k < 3; ++k) {
    std::sort(runs[k].begin(), runs[k].end(),
              [](const ProbeResult& a, const ProbeResult& b) { return a.peakKb < b.peakKb; });
  }
  m.engine = runs[0][1];
  m.raw = runs[1][1];
  m.rawMapped = runs[2][1];
  return m;
}

}  // namespace corvanta::bench
