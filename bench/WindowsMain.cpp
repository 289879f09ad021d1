// windows_bench: the inventory, clients, order correction, billing and shipping windows'
// commands, given through the window models as a person gives them, on a copy of the large
// generated data set (100k stock items, 50k clients, 2M sales lines, 500k billing records).
// After Google Benchmark's own table (mean wall time per command) it prints each command's
// median, 90th percentile and slowest run.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchData.h"
#include "WindowShop.h"

namespace corvanta::bench {
namespace {

std::string fmtSeconds(double s) {
  char b[32];
  if (s >= 1e-3)
    std::snprintf(b, sizeof b, "%.2f ms", s * 1e3);
  else
    std::snprintf(b, sizeof b, "%.1f us", s * 1e6);
  return b;
}

double quantile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  const size_t at = std::min(v.size() - 1, static_cast<size_t>(q * (v.size() - 1) + 0.5));
  return v[at];
}

void printSummary() {
  std::printf("\nWall time per command, every run of the command timed on its own\n\n");
  std::printf(
      "| window | command | runs | median | 90th percentile | slowest |\n"
      "|---|---|---|---|---|---|\n");
  std::vector<std::string> slow;
  for (const auto& f : figures()) {
    if (f->seconds.empty()) continue;
    const double median = quantile(f->seconds, 0.5);
    const double p90 = quantile(f->seconds, 0.9);
    const double worst = *std::max_element(f->seconds.begin(), f->seconds.end());
    const std::string window = f->name.substr(0, f->name.find('/'));
    std::printf("| %s | %s | %zu | %s | %s | %s |\n", window.c_str(), f->label.c_str(),
                f->seconds.size(), fmtSeconds(median).c_str(), fmtSeconds(p90).c_str(),
                fmtSeconds(worst).c_str());
    if (p90 > 0.05) slow.push_back(window + ": " + f->label);
  }
  std::printf("\nSlower than 50 ms (90th percentile): %s\n", slow.empty() ? "none" : "");
  for (const auto& s : slow) std::printf("  %s\n", s.c_str());

  // Commands measured side by side with raw SQLite ("NAME.raw" beside "NAME").
  bool header = false;
  for (const auto& raw : figures()) {
    const std::string suffix = ".raw";
    if (raw->seconds.empty() || raw->name.size() <= suffix.size() ||
        raw->name.compare(raw->name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    const std::string name = raw->name.substr(0, raw->name.size() - suffix.size());
    for (const auto& f : figures()) {
      if (f->name != name || f->seconds.empty()) continue;
      if (!header) {
        std::printf(
            "\nAgainst raw SQLite running the same statements (medians)\n\n"
            "| command | command | raw SQLite | ratio |\n|---|---|---|---|\n");
        header = true;
      }
      const double cmd = quantile(f->seconds, 0.5), base = quantile(raw->seconds, 0.5);
      std::printf("| %s | %s | %s | %.2f |\n", f->label.c_str(), fmtSeconds(cmd).c_str(),
                  fmtSeconds(base).c_str(), cmd / base);
    }
  }

  // What commands pay for being kept whole across a crash ("NAME.unrecorded" beside "NAME").
  for (const auto& plain : figures()) {
    const std::string suffix = ".unrecorded";
    if (plain->seconds.empty() || plain->name.size() <= suffix.size() ||
        plain->name.compare(plain->name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    const std::string name = plain->name.substr(0, plain->name.size() - suffix.size());
    for (const auto& f : figures()) {
      if (f->name != name || f->seconds.empty()) continue;
      std::printf(
          "\nWith and without the command record\n\n"
          "| command | median | 90th | without, median | without, 90th | ratio of medians |\n"
          "|---|---|---|---|---|---|\n");
      const double with = quantile(f->seconds, 0.5), without = quantile(plain->seconds, 0.5);
      std::printf("| %s | %s | %s | %s | %s | %.2f |\n", f->label.c_str(), fmtSeconds(with).c_str(),
                  fmtSeconds(quantile(f->seconds, 0.9)).c_str(), fmtSeconds(without).c_str(),
                  fmtSeconds(quantile(plain->seconds, 0.9)).c_str(), with / without);
    }
  }
}

}  // namespace
}  // namespace corvanta::bench

int main(int argc, char** argv) {
  using namespace corvanta::bench;
  std::vector<char*> args = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--quick"))
      setIterationScale(10);
    else
      args.push_back(argv[i]);
  }
  // The program's report runtime paints with Qt: the printing benchmarks need a GUI
  // application object, without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int guiArgc = 1;
  QGuiApplication gui(guiArgc, argv);
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  if (benchmark::ReportUnrecognizedArguments(n, args.data())) return 1;

  DataSet& data = largeData();
  std::fprintf(stderr, "Copying the %s set and starting the application...\n", data.label.c_str());
  openWindowShop(data);
  std::printf("Application started on a copy of the %s set in %s (30 globals, five tables).\n",
              data.label.c_str(), fmtSeconds(windowShop().startSeconds()).c_str());

  registerInventoryCommands();
  registerClientCommands();
  registerOrderCommands();
  registerBillingCommands();
  registerSalesCommands();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  printSummary();
  closeWindowShop();
  return 0;
}
