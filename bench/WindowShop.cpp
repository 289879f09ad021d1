#include "WindowShop.h"

#include <unistd.h>

#include <algorithm>
#include <random>
#include <stdexcept>

#include "BenchData.h"

namespace corvanta::bench {

namespace fs = std::filesystem;

namespace {

// A fresh directory next to the system's other temporary files (the same disk as the cached
// set here, so that posts wait for the same kind of storage).
fs::path makeRunDirectory() {
  std::random_device rd;
  for (int i = 0; i < 100; ++i) {
    fs::path p =
        fs::temp_directory_path() /
        ("corvanta-windows-bench-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
    std::error_code ec;
    if (fs::create_directory(p, ec)) return p;
  }
  throw std::runtime_error("cannot make a temporary directory");
}

}  // namespace

WindowShop::WindowShop(const DataSet& set) : source(set), dir_(makeRunDirectory()) {
  // Both alias directories with their table files and any write-ahead log, so the copy is the
  // same database as the cached one.  The shared-memory index is left behind: it belongs to
  // the connections of the cached files, and SQLite rebuilds it from the log.
  for (const auto& alias : fs::directory_iterator(set.dir)) {
    if (!alias.is_directory()) continue;
    fs::create_directory(dir_ / alias.path().filename());
    for (const auto& file : fs::directory_iterator(alias.path()))
      if (file.is_regular_file() && !file.path().string().ends_with("-shm"))
        fs::copy_file(file.path(), dir_ / alias.path().filename() / file.path().filename());
  }
  engine_ = std::make_unique<Engine>(EngineConfig::forDataDirectory(dir_));
  app_ = std::make_unique<CorvantaApp>(*engine_, Platform{dialogs, help, reports, {}, {}});
  const auto t0 = std::chrono::steady_clock::now();
  const bool started = app_->start();
  startSeconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  if (!started)
    throw std::runtime_error("start-up failed: " + (dialogs.unreadErrors().empty()
                                                        ? std::string("?")
                                                        : dialogs.takeError()));
}

WindowShop::~WindowShop() {
  if (app_) app_->shutdown();
  app_.reset();
  engine_.reset();
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

std::filesystem::path WindowShop::file(const std::string& table) const {
  return dir_ / source.file(table).lexically_relative(source.dir);
}

bool WindowShop::quiet(benchmark::State& state) {
  const std::string left = dialogs.leftOver();
  if (left.empty()) return true;
  state.SkipWithError(left.c_str());
  dialogs.clear();
  return false;
}

namespace {
std::unique_ptr<WindowShop> theShop;
std::vector<std::unique_ptr<Figure>> theFigures;
int iterationDivisor = 1;
}  // namespace

WindowShop& windowShop() {
  return *theShop;
}
void openWindowShop(const DataSet& source) {
  theShop = std::make_unique<WindowShop>(source);
}
void closeWindowShop() {
  theShop.reset();
}

Figure& figure(const std::string& name, const std::string& label) {
  for (auto& f : theFigures)
    if (f->name == name) return *f;
  theFigures.push_back(std::make_unique<Figure>(Figure{name, label, {}}));
  return *theFigures.back();
}

const std::vector<std::unique_ptr<Figure>>& figures() {
  return theFigures;
}

Figure& rawFigure(const Figure& command, const std::string& statements) {
  return figure(command.name + ".raw",
                "raw SQLite: " + (statements.empty() ? command.label : statements));
}

void setIterationScale(int divisor) {
  iterationDivisor = std::max(1, divisor);
}

void registerCommand(const std::string& name, const std::string& label, int iterations,
                     void (*fn)(benchmark::State&, Figure&)) {
  Figure& f = figure(name, label);
  benchmark::RegisterBenchmark(name.c_str(), [fn, &f](benchmark::State& s) { fn(s, f); })
      ->Iterations(std::max(3, iterations / iterationDivisor))
      ->UseManualTime()
      ->Unit(benchmark::kMicrosecond);
}

bool expect(benchmark::State& state, bool ok, const char* what) {
  if (!ok) state.SkipWithError(what);
  return ok;
}

namespace {
size_t paintRows(const DBGrid& grid, std::int64_t offset, int rows) {
  size_t cells = 0;
  for (const Row& r : grid.rows(offset, rows)) cells += grid.cells(r).size();
  return cells;
}
}  // namespace

void timeGridFirstPaint(benchmark::State& state, Figure& fig, const GridUnderTest& g,
                        const char* index) {
  WindowShop& w = windowShop();
  g.home();
  CommandTimer time(state, fig);
  size_t i = 0;
  for (auto _ : state) {
    g.table.selectIndex("");
    g.goToRecord(i++ * 17);
    g.table.selectIndex(index);
    std::int64_t count = 0, position = 0;
    size_t cells = 0;
    time([&] {
      count = g.grid.rowCount();
      cells = paintRows(g.grid, 0, 40);
      position = g.grid.currentPosition();
    });
    if (!w.quiet(state) || !expect(state, count > 40 && cells > 0 && position >= 0, "empty grid"))
      break;
  }
  g.home();
}

void timeGridScrollToEnd(benchmark::State& state, Figure& fig, const GridUnderTest& g,
                         const char* index) {
  WindowShop& w = windowShop();
  g.home();
  g.table.selectIndex(index);
  CommandTimer time(state, fig);
  const std::int64_t count = g.grid.rowCount();  // known since the first paint
  for (auto _ : state) {
    size_t cells = 0;
    time([&] { cells = paintRows(g.grid, count - 40, 40); });
    if (!w.quiet(state) || !expect(state, cells > 0, "no rows at the end")) break;
  }
  g.home();
}

}  // namespace corvanta::bench
