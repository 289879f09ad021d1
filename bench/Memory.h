#pragma once
// Peak memory with all five tables open and in use: the engine against raw SQLite, each
// measured in a fresh process (getrusage's ru_maxrss) doing the same lookups and walks.
#include <iosfwd>

#include "BenchData.h"

namespace corvanta::bench {

// When argv asks for a probe ("--memory-probe engine|raw DIR KEYFILE"), runs it, prints
// "<rss at start kB> <peak rss kB> <private rss kB>" and returns true.
bool runMemoryProbe(int argc, char** argv, int& exitCode);

struct ProbeResult {
  long startKb = 0;  // ru_maxrss before any table is opened
  long peakKb = 0;   // ru_maxrss after the work, all tables still open
  long anonKb = 0;   // private memory at that point
};

struct MemoryFigures {
  ProbeResult engine, raw, rawMapped;  // rawMapped: raw SQLite with the files memory-mapped
};
MemoryFigures measureMemory(const DataSet& d);

}  // namespace corvanta::bench
