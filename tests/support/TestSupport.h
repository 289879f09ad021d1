#pragma once
// Helpers for tests: a fresh data directory per test, an engine on it, and platform fakes
// that answer prompts from queues and record what was shown.
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ScriptPlatform.h"
#include "app/CorvantaApp.h"
#include "data/engine/Engine.h"
#include "reports/ReportComponent.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

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

// Dialogs answering from queues; every box shown is recorded.  The scenario runner's rules
// hold: a prompt with no reply queued throws std::logic_error (the command stops there) and
// fails the test, and so does a queued reply that no box took by the end of the test.
class FakeDialogs : public Dialogs {
 public:
  FakeDialogs() = default;
  ~FakeDialogs() override;
  FakeDialogs(const FakeDialogs&) = delete;
  FakeDialogs& operator=(const FakeDialogs&) = delete;
  std::string unexpected;                              // the first box that found no reply
  std::vector<std::string> messages, errors, prompts;  // prompts as "caption | prompt"
  std::deque<std::optional<std::string>> answers;      // nullopt: Cancel
  std::deque<bool> confirmations;
  std::deque<std::optional<std::string>> files;

  void showMessage(const std::string& text) override { messages.push_back(text); }
  void showError(const std::string& text) override { errors.push_back(text); }
  bool confirm(const std::string& caption, const std::string& text) override;
  std::string inputBox(const std::string& caption, const std::string& prompt,
                       const std::string& defaultText) override;
  bool inputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
  std::optional<std::string> openFile(const OpenFileRequest& request) override;
};

// Help requests and report runs are recorded as the scenario runner records them.
using scenario::RecordingHelp;
using scenario::RecordingReports;

// The whole application, started the way the program starts it, on a fresh data directory.
struct TestShop {
  TempDir dir;
  Engine engine;
  FakeDialogs dialogs;
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
