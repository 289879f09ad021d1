// engine_bench: the table engine against raw SQLite on generated tables of 10k and 2M records,
// and with --server the same tables on a database server against raw libpq.  After Google
// Benchmark's own output it prints the summaries: each operation's cost as a ratio to the raw
// baseline, the cost at 2M records against 10k, and peak memory.
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
  bool server = false;
};

class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  // Colours only on a terminal (a reporter of our own does not follow --benchmark_color).
  CollectingReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  std::map<std::string, double> nsPerOp;        // benchmark name as registered -> ns per iteration
  std::map<std::string, double> cpuNs, wallNs;  // both clocks, whichever nsPerOp counts
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
      auto keepLowest = [&name](std::map<std::string, double>& m, double v) {
        auto [it, fresh] = m.emplace(name, v);
        if (!fresh) it->second = std::min(it->second, v);
      };
      keepLowest(nsPerOp, ns);
      keepLowest(cpuNs, r.cpu_accumulated_time / static_cast<double>(r.iterations) * 1e9);
      keepLowest(wallNs, r.real_accumulated_time / static_cast<double>(r.iterations) * 1e9);
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

// op -> size -> kind -> ns
using Figures = std::map<std::string, std::map<std::string, std::map<std::string, double>>>;

// The figures of one backend by one clock (nsPerOp, cpuNs or wallNs), in registration order.
Figures collect(const std::vector<Registered>& regs, const CollectingReporter& rep,
                const std::map<std::string, double>& ns, bool server,
                std::vector<std::string>& order) {
  Figures t;
  for (const auto& r : regs) {
    if (r.server != server) continue;
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
  return t;
}

// The engine against the database server's raw libpq: wall time counts for the ratio (the
// server's share of the work runs in its own process, which the client's CPU time leaves
// out), CPU time of the client is shown beside it.
int printServerSummary(const std::vector<Registered>& regs, const CollectingReporter& rep) {
  std::vector<std::string> order, unused;
  Figures wall = collect(regs, rep, rep.wallNs, true, order);
  Figures cpu = collect(regs, rep, rep.cpuNs, true, unused);
  if (order.empty()) return 0;
  int misses = 0;
  std::printf(
      "\n== Engine against raw libpq on the database server (target: wall ratio <= 2.0) ==\n");
  std::printf("%-42s %-4s %11s %11s %6s   %11s %11s %6s\n", "operation", "rows", "engine wall",
              "raw wall", "ratio", "engine CPU", "raw CPU", "ratio");
  for (const auto& op : order)
    for (const char* size : {"10k", "2M"}) {
      auto s = wall[op].find(size);
      if (s == wall[op].end() || !s->second.count("Engine") || !s->second.count("Raw")) continue;
      const double e = s->second.at("Engine"), r = s->second.at("Raw");
      const bool paired = op.rfind("Post", 0) == 0;  // medians of paired posts: wall only
      const double ec = paired ? 0 : cpu[op][size]["Engine"],
                   rc = paired ? 0 : cpu[op][size]["Raw"];
      if (e / r > 2.0) ++misses;
      std::printf("%-42s %-4s %11s %11s %6.2f   %11s %11s %6s%s\n", op.c_str(), size,
                  fmtNs(e).c_str(), fmtNs(r).c_str(), e / r, paired ? "-" : fmtNs(ec).c_str(),
                  paired ? "-" : fmtNs(rc).c_str(),
                  paired || rc <= 0 ? "-" : std::to_string(ec / rc).substr(0, 4).c_str(),
                  e / r > 2.0 ? "  MISSED" : "");
    }
  std::printf("\n== On the server: cost at 2M records against 10k (wall time) ==\n");
  std::printf("%-42s %11s %11s %6s   %11s %11s %6s\n", "operation", "engine 10k", "engine 2M",
              "ratio", "raw 10k", "raw 2M", "ratio");
  for (const auto& op : order) {
    auto& m = wall[op];
    if (!m.count("10k") || !m.count("2M") || !m["10k"].count("Engine") || !m["2M"].count("Engine"))
      continue;
    const double a = m["10k"]["Engine"], b = m["2M"]["Engine"];
    const double ra = m["10k"]["Raw"], rb = m["2M"]["Raw"];
    std::printf("%-42s %11s %11s %6.2f   %11s %11s %6.2f\n", op.c_str(), fmtNs(a).c_str(),
                fmtNs(b).c_str(), b / a, fmtNs(ra).c_str(), fmtNs(rb).c_str(),
                ra > 0 ? rb / ra : 0);
  }
  return misses;
}

void printSummaries(const std::vector<Registered>& regs, const CollectingReporter& rep,
                    bool memory) {
  std::vector<std::string> order;
  Figures t = collect(regs, rep, rep.nsPerOp, false, order);
  int misses = 0;
  if (!order.empty()) {
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
      if (!m.count("10k") || !m.count("2M") || !m["10k"].count("Engine") ||
          !m["2M"].count("Engine"))
        continue;
      const double a = m["10k"]["Engine"], b = m["2M"]["Engine"];
      const double ra = m["10k"].count("Raw") ? m["10k"]["Raw"] : 0,
                   rb = m["2M"].count("Raw") ? m["2M"]["Raw"] : 0;
      if (b / a > 1.5) ++misses;
      std::printf("%-42s %11s %11s %6.2f   %11s %11s %6.2f%s\n", op.c_str(), fmtNs(a).c_str(),
                  fmtNs(b).c_str(), b / a, fmtNs(ra).c_str(), fmtNs(rb).c_str(),
                  ra > 0 ? rb / ra : 0, b / a > 1.5 ? "  MISSED" : "");
    }
    std::printf("\n== Row-value comparison against the two statements the engine uses ==\n");
    for (const auto& op : order)
      for (const char* size : {"10k", "2M"}) {
        auto s = t[op].find(size);
        if (s == t[op].end() || !s->second.count("RawRowValue") || !s->second.count("Raw"))
          continue;
        std::printf("%-42s %-4s two statements %11s  union %11s  row value %11s  (%.0fx)\n",
                    op.c_str(), size, fmtNs(s->second.at("Raw")).c_str(),
                    s->second.count("RawUnion") ? fmtNs(s->second.at("RawUnion")).c_str() : "-",
                    fmtNs(s->second.at("RawRowValue")).c_str(),
                    s->second.at("RawRowValue") / s->second.at("Raw"));
      }
  }
  misses += printServerSummary(regs, rep);
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
  bool memory = true, large = true, local = true, server = false;
  // Defaults, which flags given on the command line override: every benchmark three times,
  // the fastest repetition counting (see CollectingReporter).
  std::string minTime = "--benchmark_min_time=0.3", repetitions = "--benchmark_repetitions=3";
  std::vector<char*> args = {argv[0], minTime.data(), repetitions.data()};
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--no-memory"))
      memory = false;
    else if (!std::strcmp(argv[i], "--small-only"))
      large = memory = false;
    else if (!std::strcmp(argv[i], "--server"))
      server = true;
    else if (!std::strcmp(argv[i], "--server-only"))
      server = true, local = memory = false;
    else
      args.push_back(argv[i]);
  }
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  if (benchmark::ReportUnrecognizedArguments(n, args.data())) return 1;

  std::vector<Registered> regs;
  std::vector<DataSet*> sets;
  std::vector<DataSet*> files = {&smallData()};
  if (large) files.push_back(&largeData());
  if (local) sets = files;
  try {
    if (server)
      for (DataSet* f : files) sets.push_back(&serverData(*f));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  // Both sizes of one operation run next to each other, engine and raw forms in turn.
  std::vector<std::vector<Operation>> perSet;
  for (DataSet* d : sets) perSet.push_back(operations(*d));
  for (size_t i = 0; i < perSet[0].size(); ++i)
    for (size_t s = 0; s < sets.size(); ++s) {
      const Operation& op = perSet[s][i];
      const bool onServer = !sets[s]->server.empty();
      for (const auto& v : op.variants) {
        const std::string name =
            (onServer ? "Server/" : "") + op.name + "/" + sets[s]->label + "/" + v.kind;
        auto* b = benchmark::RegisterBenchmark(name.c_str(), v.fn);
        if (op.write) b->Iterations(200)->UseManualTime();
        // On a server a read's cost is mostly the round trip and the server's own work,
        // which the client's CPU time leaves out: the wall clock decides iterations there.
        else if (onServer)
          b->UseRealTime();
        b->ComputeStatistics("min", [](const std::vector<double>& v) {
          return *std::min_element(v.begin(), v.end());
        });
        const char* clock = op.write ? "/manual_time" : onServer ? "/real_time" : "";
        regs.push_back({name + clock, op.name, sets[s]->label, v.kind, onServer});
      }
    }
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printSummaries(regs, reporter, memory);
  benchmark::Shutdown();
  return 0;
}
