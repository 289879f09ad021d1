#pragma once
// The whole application, started headless on a private copy of the large data set, with
// dialogs that answer from queues, and the bookkeeping of the window-command figures: every
// command's wall time, one sample per iteration.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CorvantaApp.h"
#include "data/controls/DBGrid.h"
#include "data/engine/Engine.h"
#include "data/engine/Table.h"
#include "reports/ReportComponent.h"
#include "ui/Application.h"
#include "ui/QueuedDialogs.h"

namespace corvanta::bench {

struct DataSet;

struct IgnoredHelp : HelpViewer {
  void showHelp(const std::string&, int, int) override {}
};

// Counts report runs instead of printing, so that only the command itself is timed.
struct CountingReports : ReportRuntime {
  int runs = 0;
  ReportRun last;
  void run(const ReportRun& r) override {
    ++runs;
    last = r;
  }
};

// The application on a copy of the set in a temporary directory (removed at the end).  The
// cached set itself is never opened for writing.
class WindowShop {
 public:
  explicit WindowShop(const DataSet& source);
  ~WindowShop();

  const DataSet& source;
  // The strict dialogs the tests and the scenario runner use: a box with no reply queued
  // stops the command, and quiet() skips the benchmark with whatever was left over.
  QueuedDialogs dialogs;
  IgnoredHelp help;
  CountingReports reports;
  Globals& g() { return app_->g; }
  const Engine& engine() const { return *engine_; }
  double startSeconds() const { return startSeconds_; }

  // False (and the benchmark skipped with its text) when a command left something behind: an
  // error or message box not taken, a box that found no reply, a reply no box took.
  bool quiet(benchmark::State& state);
  // A table's file in this run's copy (for raw SQLite baselines on the same data).
  std::filesystem::path file(const std::string& table) const;

 private:
  std::filesystem::path dir_;
  std::unique_ptr<Engine> engine_;
  std::unique_ptr<CorvantaApp> app_;
  double startSeconds_ = 0;
};

// The one shop all window benchmarks share (created by main before they run).
WindowShop& windowShop();
void openWindowShop(const DataSet& source);
void closeWindowShop();

// One figure: a command's wall time per iteration, kept for the summary.
struct Figure {
  std::string name;   // as registered: "Inventory/SearchPartNumberFound"
  std::string label;  // as the summary shows it
  std::vector<double> seconds;
};
Figure& figure(const std::string& name, const std::string& label);
const std::vector<std::unique_ptr<Figure>>& figures();

// Times one run of a command: the wall clock around `command` only, handed to Google
// Benchmark as the iteration's manual time and kept as a sample.
class CommandTimer {
 public:
  CommandTimer(benchmark::State& state, Figure& figure) : state_(state), figure_(figure) {
    figure_.seconds.clear();  // only the last run of the benchmark function counts
  }
  template <class F>
  void operator()(F&& command) {
    const auto t0 = std::chrono::steady_clock::now();
    command();
    const auto t1 = std::chrono::steady_clock::now();
    const double s = std::chrono::duration<double>(t1 - t0).count();
    state_.SetIterationTime(s);
    figure_.seconds.push_back(s);
  }

 private:
  benchmark::State& state_;
  Figure& figure_;
};

// The figure of raw SQLite running a command's statements on the same files ("NAME.raw",
// which the summary sets beside "NAME"), labelled with what the statements do (by default the
// command's own label).
Figure& rawFigure(const Figure& command, const std::string& statements = "");

// Times the raw statements run beside a command: their wall time into the raw figure, while
// the iteration's time stays the command's.
class RawTimer {
 public:
  explicit RawTimer(Figure& figure) : figure_(figure) { figure_.seconds.clear(); }
  template <class F>
  void operator()(F&& statements) {
    const auto t0 = std::chrono::steady_clock::now();
    statements();
    figure_.seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }

 private:
  Figure& figure_;
};

// A command and its raw statements timed back to back in alternating order, so that both
// meet the same cache and the same disk; the iteration's time is the command's.  (Where the
// raw statements must follow the command, putting back what it changed, time them with a
// CommandTimer and a RawTimer in that order instead.)
class PairTimer {
 public:
  PairTimer(benchmark::State& state, Figure& command, Figure& raw)
      : command_(state, command), raw_(raw) {}
  template <class C, class R>
  void operator()(C&& command, R&& statements) {
    if (turn_++ % 2) {
      raw_(statements);
      command_(command);
    } else {
      command_(command);
      raw_(statements);
    }
  }

 private:
  CommandTimer command_;
  RawTimer raw_;
  size_t turn_ = 0;
};

// Registers a window benchmark timed by the wall clock, `iterations` runs of the command
// (divided by `scale` for a quick look).
void registerCommand(const std::string& name, const std::string& label, int iterations,
                     void (*fn)(benchmark::State&, Figure&));
void setIterationScale(int divisor);

// Skips the benchmark with `what` unless `ok`; returns ok.
bool expect(benchmark::State& state, bool ok, const char* what);

// A window's grid and the table under it, for the two grid measurements every window shares.
struct GridUnderTest {
  const DBGrid& grid;
  Table& table;
  void (*home)();                          // back to where the window's benchmarks start
  std::function<void(size_t)> goToRecord;  // to the i-th record, spread over the table
};
// What a view needs for its first paint (count, 40 rows and their texts, the current row's
// position), in `index` order from a different record each run.
void timeGridFirstPaint(benchmark::State& state, Figure& fig, const GridUnderTest& g,
                        const char* index);
// The last 40 rows and their texts, in `index` order.
void timeGridScrollToEnd(benchmark::State& state, Figure& fig, const GridUnderTest& g,
                         const char* index);

void registerInventoryCommands();
void registerClientCommands();
void registerOrderCommands();
void registerBillingCommands();
void registerSalesCommands();

}  // namespace corvanta::bench
