#pragma once
// Helpers for tests: a fresh data directory per test, an engine on it, and platform fakes
// that answer prompts from queues and record what was shown.
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "ScriptPlatform.h"
#include "app/CorvantaApp.h"
#include "data/engine/Engine.h"
#include "data/engine/Table.h"
#include "reports/ReportComponent.h"
#include "ui/Application.h"
#include "ui/QueuedDialogs.h"

namespace corvanta::test {

// A directory under the system's temp directory, removed when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The shared strict dialogs (ui/QueuedDialogs.h), held to them at the end of the test: a box
// that found no reply, a queued reply no box took, or a message or error box the test did not
// read fails it.
class StrictDialogs : public QueuedDialogs {
 public:
  StrictDialogs() = default;
  ~StrictDialogs() override;
  StrictDialogs(const StrictDialogs&) = delete;
  StrictDialogs& operator=(const StrictDialogs&) = delete;
};

// Help requests and report runs are recorded as the scenario runner records them.
using scenario::RecordingHelp;
using scenario::RecordingReports;

// One run of the application on a data directory that outlives it: tests that stop or kill
// the program and start it again on the same tables make one per start (on the test database
// server when the tests run there, see TestDatabase.h).  Not started: the test calls
// app.start() (and looks at what start-up said).
struct ShopRun {
  explicit ShopRun(const std::filesystem::path& dir);
  ~ShopRun();  // shuts the application down
  Engine engine;
  StrictDialogs dialogs;
  RecordingHelp help;
  RecordingReports reports;
  CorvantaApp app;
};

// Stores a record straight into a table (field name, typed text), for a test's starting
// data.
void fill(Table& table, std::initializer_list<std::pair<const char*, const char*>> values);

// Every record of every shop table on `cfg`, in primary index order, as text: one line a
// record, its fields' display texts joined by "|", led by the row id when `withRowIds` (which
// a cut-short command's plan names).  Two shops with equal texts hold the same records.
std::string shopContents(const EngineConfig& cfg, bool withRowIds = false);

// Starts an order the way a clerk does: Continue on the pre-sales window, then the customer
// found by number through the find-customer dialog.  Queues that number on `dialogs`.
void startOrderFor(Globals& g, QueuedDialogs& dialogs, const std::string& customerNumber);

// The whole application, started the way the program starts it, on a fresh data directory.
struct TestShop {
  TempDir dir;
  Engine engine;
  StrictDialogs dialogs;
  RecordingHelp help;
  RecordingReports reports;
  // Every test shop lives on the same day, whatever the machine's clock says.
  Calendar calendar = Calendar::fixed({2024, 3, 7});
  std::unique_ptr<CorvantaApp> app;

  TestShop();
  ~TestShop();
  Globals& g() { return app->g; }
};

}  // namespace corvanta::test
