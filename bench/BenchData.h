#pragma once
// The generated tables the benchmarks run on, kept in a cache directory between runs, and the
// sample keys every benchmark draws from.
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Generate.h"
#include "data/engine/Engine.h"
#include "data/engine/Value.h"

namespace corvanta::bench {

// Keys of one index, sampled from random records: as text (what callers of the engine pass)
// and as typed values (what raw SQLite binds).
struct Keys {
  std::vector<std::string> text;
  std::vector<Value> typed;
  size_t size() const { return text.size(); }
};

struct DataSet {
  std::string label;  // "10k", "2M"
  // The local files; for a set on a database server, those it was loaded from (the sampled
  // keys and row ids are the same on both).
  std::filesystem::path dir;
  // The connection string of the set's tables on a database server; empty for local files.
  std::string server;
  GenerateOptions counts;
  std::unique_ptr<Engine> engine;
  std::map<std::string, Keys> keys;  // "stock.db/" (primary), "stock.db/byDescription", ...
  Keys descriptionPrefixes, lastNamePrefixes;  // for find nearest
  std::int64_t walkInLines = 0;                // sales lines of customer 1

  std::filesystem::path file(const std::string& table) const;
  const Keys& keysOf(const std::string& table, const std::string& index) const {
    return keys.at(table + "/" + index);
  }
};

// Where the generated sets are kept: $CORVANTA_BENCH_DATA, else the build tree's bench-data.
std::filesystem::path benchDataRoot();
// What a generated set holds, as its marker records it (a set whose marker differs is made
// again).
std::string describeCounts(const GenerateOptions& o);

// The small (10k records a table) and the large (100k stock, 50k clients, 2M sales lines,
// 500k billing records) data sets, generated into $CORVANTA_BENCH_DATA (default: the build
// tree's bench-data) on first use and reused afterwards.
DataSet& smallData();
DataSet& largeData();

// The same set on a database server: $CORVANTA_BENCH_SERVER (a libpq connection string), else
// a cluster of the benchmark's own kept under the bench-data folder, started for the run and
// stopped at its end.  Each set lives in a schema of its own, loaded (with COPY) on first use
// and reused while its counts match.
DataSet& serverData(DataSet& local);

}  // namespace corvanta::bench
