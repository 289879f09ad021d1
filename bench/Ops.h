#pragma once
// The measured operations: each comes as the engine doing it and as raw SQLite doing the same
// work with the fewest prepared statements.
#include <benchmark/benchmark.h>

#include <functional>
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

// Every operation on one data set.
std::vector<Operation> operations(DataSet& d);

}  // namespace corvanta::bench
