// engine_bench: the table engine against raw SQLite on generated tables of 10k and 2M records.
// After Google Benchmark's own output it prints three summaries: each operation's cost as a
// ratio to raw SQLite, the cost at 2M records against 10k, and peak memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "BenchData.h"
#include "Memory.h"
#include "Ops.h"

namespace corvanta::bench {
namespace {

struct Registered {
  std::string name, op, size, kind;
};

class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal (a reporter of our own does not follow --benchmark_color).
  CollectingReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  std::map<std::string, double> nsPerOp;  // benchmark name as registered -> ns per iteration
  std::map<std::string, std::map<std::string, double>> counters;  // the lowest of repetitions

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) {
      if (r.run_type != Run::RT_Iteration || r.error_occurred || r.iterations == 0) continue;
      std::string name = r.benchmark_name();
      if (auto p = name.find("/iterations:"); p != std::string::npos)
        name.erase(p, name.find('/', p + 1) - p);
      // Repetitions: the fastest counts, the one least disturbed by other work on the machine.
      // Reads count CPU time (user and system), which other processes on a busy machine
      // disturb far less than the wall clock; posts count wall time, since they wait for the disk.
      const bool wall = name.find("/real_time") != std::string::npos ||
                        name.find("/manual_time") != std::string::npos;
      const double ns = (wall ? r.real_accumulated_time : r.cpu_accumulated_time) /
                        static_cast<double>(r.iterations) * 1e9;
      auto [it, fresh] = nsPerOp.emplace(name, ns);
      if (!fresh) it->second = std::min(it->second, ns);
      for (const auto& [k, c] : r.counters) {
        auto [ci, cfresh] = counters[name].emplace(k, c.value);
        if (!cfresh) ci->second = std::min(ci->second, c.value);
      }
    }
    // With repetitions, the console shows each benchmark's fastest repetition only.
    std::vector<Run> shown;
    for (const auto& r : runs)
      if (r.repetitions <= 1 || (r.run_type == Run::RT_Aggregate && r.aggregate_name == "min"))
        shown.push_back(r);
    if (shown.empty()) return;
    ConsoleReporter::ReportRuns(shown);
  }
};

std::string fmtNs(double ns) {
  char b[32];
  if (ns >= 1e6)
    std::snprintf(b, sizeof b, "%.2f ms", ns / 1e6);
  else if (ns >= 1e3)
    std::snprintf(b, sizeof b, "%.2f us", ns / 1e3);
  else
    std::snprintf(b, sizeof b, "%.0f ns", ns);
  return b;
}

void printSummaries(const std::vector<Registered>& regs, const CollectingReporter& rep,
                    bool memory) {
  const auto& ns = rep.nsPerOp;
  // op -> size -> kind -> ns
  std::map<std::string, std::map<std::string, std::map<std::string, double>>> t;
  std::vector<std::string> order;
  for (const auto& r : regs) {
    auto it = ns.find(r.name);
    if (it == ns.end()) continue;
    if (!t.count(r.op)) order.push_back(r.op);
    if (r.kind == "Paired") {  // both sides timed in one benchmark
      auto c = rep.counters.find(r.name);
      if (c == rep.counters.end() || !c->second.count("engine_ns")) continue;
      t[r.op][r.size]["Engine"] = c->second.at("engine_ns");
      t[r.op][r.size]["Raw"] = c->second.at("raw_ns");
      continue;
    }
    t[r.op][r.size][r.kind] = it->second;
  }
  int misses = 0;
  std::printf("\n== Engine against raw SQLite, same run (target: ratio <= 2.0) ==\n");
  std::printf("%-42s %-4s %11s %11s %-12s %6s\n", "operation", "rows", "engine", "raw",
              "(raw form)", "ratio");
  for (const auto& op : order)
    for (const char* size : {"10k", "2M"}) {
      auto s = t[op].find(size);
      if (s == t[op].end() || !s->second.count("Engine")) continue;
      const double e = s->second.at("Engine");
      std::string bestKind;
      double best = 0;
      for (const auto& [kind, v] : s->second)
        if (kind != "Engine" && (bestKind.empty() || v < best)) bestKind = kind, best = v;
      if (bestKind.empty()) continue;
      const double ratio = e / best;
      if (ratio > 2.0) ++misses;
      std::printf("%-42s %-4s %11s %11s %-12s %6.2f%s\n", op.c_str(), size, fmtNs(e).c_str(),
                  fmtNs(best).c_str(), ("(" + bestKind + ")").c_str(), ratio,
                  ratio > 2.0 ? "  MISSED" : "");
    }
  std::printf("\n== Cost at 2M records against 10k (target: engine ratio <= 1.5) ==\n");
  std::printf("%-42s %11s %11s %6s   %11s %11s %6s\n", "operation", "engine 10k", "engine 2M",
              "ratio", "raw 10k", "raw 2M", "ratio");
  for (const auto& op : order) {
    auto& m = t[op];
    if (!m.count("10k") || !m.count("2M") || !m["10k"].count("Engine") || !m["2M"].count("Engine"))
      continue;
    const double a = m["10k"]["Engine"], b = m["2M"]["Engine"];
    const double ra = m["10k"].count("Raw") ? m["10k"]["Raw"] : 0,
                 rb = m["2M"].count("Raw") ? m["2M"]["Raw"] : 0;
    if (b / a > 1.5) ++misses;
    std::printf("%-42s %11s %11s %6.2f   %11s %11s %6.2f%s\n", op.c_str(), fmtNs(a).c_str(),
                fmtNs(b).c_str(), b / a, fmtNs(ra).c_str(), fmtNs(rb).c_str(), ra > 0 ? rb / ra : 0,
                b / a > 1.5 ? "  MISSED" : "");
  }
  std::printf("\n== Row-value comparison against the two statements the engine uses ==\n");
  for (const auto& op : order)
    for (const char* size : {"10k", "2M"}) {
      auto s = t[op].find(size);
      if (s == t[op].end() || !s->second.count("RawRowValue") || !s->second.count("Raw")) continue;
      std::printf("%-42s %-4s two statements %11s  union %11s  row value %11s  (%.0fx)\n",
                  op.c_str(), size, fmtNs(s->second.at("Raw")).c_str(),
                  s->second.count("RawUnion") ? fmtNs(s->second.at("RawUnion")).c_str() : "-",
                  fmtNs(s->second.at("RawRowValue")).c_str(),
                  s->second.at("RawRowValue") / s->second.at("Raw"));
    }
  if (memory) {
    const MemoryFigures m = measureMemory(largeData());
    const double ratio = static_cast<double>(m.engine.peakKb) / static_cast<double>(m.raw.peakKb);
    std::printf(
        "\n== Peak memory, all five tables open and in use, 2M records (target: <= 2.0) ==\n");
    std::printf("%-34s %12s %14s %14s\n", "", "peak RSS", "above start", "private RSS");
    auto line = [](const char* what, const ProbeResult& r) {
      std::printf("%-34s %9ld kB %11ld kB %11ld kB\n", what, r.peakKb, r.peakKb - r.startKb,
                  r.anonKb);
    };
    line("engine", m.engine);
    line("raw SQLite", m.raw);
    line("raw SQLite, files memory-mapped", m.rawMapped);
    std::printf(
        "ratio engine / raw: %.2f of the peaks, %.2f of the growth, %.2f of private memory%s\n",
        ratio,
        static_cast<double>(m.engine.peakKb - m.engine.startKb) /
            static_cast<double>(std::max(1L, m.raw.peakKb - m.raw.startKb)),
        static_cast<double>(m.engine.anonKb) / static_cast<double>(std::max(1L, m.raw.anonKb)),
        ratio > 2.0 ? "  MISSED" : "");
    if (ratio > 2.0) ++misses;
  }
  std::printf("\n%s\n",
              misses ? (std::to_string(misses) + " target(s) missed").c_str() : "every target met");
}

}  // namespace
}  // namespace corvanta::bench

int main(int argc, char** argv) {
  using namespace corvanta::bench;
  int exitCode = 0;
  if (runMemoryProbe(argc, argv, exitCode)) return exitCode;
  bool memory = true, large = true;
  // Defaults, which flags given on the command line override: every benchmark three times,
  // the fastest repetition counting (see CollectingReporter).
  std::string minTime = "--benchmark_min_time=0.3", repetitions = "--benchmark_repetitions=3";
  std::vector<char*> args = {argv[0], minTime.data(), repetitions.data()};
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--no-memory"))
      memory = false;
    else if (!std::strcmp(argv[i], "--small-only"))
      large = memory = false;
    else
      args.push_back(argv[i]);
  }
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  if (benchmark::ReportUnrecognizedArguments(n, args.data())) return 1;

  std::vector<Registered> regs;
  std::vector<DataSet*> sets = {&smallData()};
  if (large) sets.push_back(&largeData());
  // Both sizes of one operation run next to each other, engine and raw forms in turn.
  std::vector<std::vector<Operation>> perSet;
  for (DataSet* d : sets) perSet.push_back(operations(*d));
  for (size_t i = 0; i < perSet[0].size(); ++i)
    for (size_t s = 0; s < sets.size(); ++s) {
      const Operation& op = perSet[s][i];
      for (const auto& v : op.variants) {
        const std::string name = op.name + "/" + sets[s]->label + "/" + v.kind;
        auto* b = benchmark::RegisterBenchmark(name.c_str(), v.fn);
        if (op.write) b->Iterations(200)->UseManualTime();
        b->ComputeStatistics("min", [](const std::vector<double>& v) {
          return *std::min_element(v.begin(), v.end());
        });
        regs.push_back({name + (op.write ? "/manual_time" : ""), op.name, sets[s]->label, v.kind});
      }
    }
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printSummaries(regs, reporter, memory);
  benchmark::Shutdown();
  return 0;
}
