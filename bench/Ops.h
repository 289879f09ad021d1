#pragma once
// The measured operations: each comes as the engine doing it and as raw SQLite doing the same
// work with the fewest prepared statements.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchData.h"

namespace corvanta::bench {

using BenchFn = std::function<void(benchmark::State&)>;

struct Variant {
  std::string kind;  // "Engine", "Raw", or a named raw alternative ("RawRowValue", ...)
  BenchFn fn;
};

struct Operation {
  std::string name;  // "FindKey/stock.db/byDescription"
  std::vector<Variant> variants;
  bool write = false;  // fsync-bound: fewer, longer iterations
};

// Every operation on one data set: against raw SQLite for local files, against raw libpq
// for a set on a database server.
std::vector<Operation> operations(DataSet& d);

// A walk of next (or prior) that starts over at the first (last) record, or, among the lines
// of the walk-in customer, at the middle of them.
struct Walk {
  std::string table, index;
  bool forward = true;
  bool walkIn = false;  // stay among the lines of customer 1
};
// The row id of the middle line of the walk-in customer (the same in both places).
std::int64_t middleOfWalkIn(const DataSet& d);

// The raw libpq side of the reads on a database server (ServerOps.cpp).
Variant serverFindKey(DataSet& d, const std::string& table, const std::string& index);
Variant serverFindNearest(DataSet& d, const std::string& table, const std::string& index,
                          const Keys& prefixes);
Variant serverWalk(DataSet& d, const Walk& w);
Variant serverLast(DataSet& d);
Variant serverRefresh(DataSet& d);
Variant serverOpenAll(DataSet& d);

// The raw side of the posts, on local files or on a server.
class RawPosts {
 public:
  virtual ~RawPosts() = default;
  virtual void setQuantity(double q) = 0;  // of a stock item other than the engine's
  // A sales line: PartNumber, QuantitySold, Price, CustNum, OrderNumber, Date, TypeOfSale,
  // Tax, Total, PickUpShip.
  virtual void insertLine(const std::vector<Value>& values) = 0;
  virtual void removeLine() = 0;  // the line inserted last
};
std::unique_ptr<RawPosts> serverPosts(DataSet& d);

// Times `engine` and `raw` in each iteration, in turns, and reports each side's median
// (counters engine_ns and raw_ns); `untimed` runs after both, outside the timing.
void paired(benchmark::State& st, const std::function<void()>& engine,
            const std::function<void()>& raw, const std::function<void()>& untimed);

}  // namespace corvanta::bench
