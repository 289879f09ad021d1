#pragma once
// Fills the shop's tables with realistic random data, fast: one transaction per table.
// Used by `corvanta-db generate`, the benchmarks and the GUI team's big-table tests.
//
// Shape of the data: stock items with category-prefixed part numbers and descriptions drawn
// from a small vocabulary (many equal keys on "byDescription"); clients with common last names
// (many equal keys on "byLastName"), client 1 being the walk-in customer; orders of one to a
// dozen lines, numbered from 1001, dated over the years before 1999; about a quarter of all
// sales lines belong to the walk-in customer (a long run of equal keys on "byCustNum"); one
// billing record per order whose totals match its lines; the tax rate 8.25.
#include <cstdint>
#include <functional>
#include <string>

#include "data/engine/Engine.h"

namespace corvanta {

struct GenerateOptions {
  std::int64_t stock = 0, clients = 0, sales = 0, billing = 0;
  std::uint32_t seed = 1;
  int walkInPercent = 25;  // share of sales lines of customer 1
};

// Fills the tables of the engine's aliases (created when missing).  Tables asked to receive
// rows must be empty; throws an Error naming the table otherwise.  Progress lines go to
// `progress` when given.
void generateTables(const Engine& engine, const GenerateOptions& options,
                    const std::function<void(const std::string&)>& progress = {});

}  // namespace corvanta
