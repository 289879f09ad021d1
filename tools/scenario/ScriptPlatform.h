#pragma once
// The runner's platform: modal boxes answered from the script's queued replies, and help
// requests and report runs recorded instead of shown or printed.
#include <deque>
#include <optional>
#include <string>

#include "reports/ReportComponent.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"

namespace corvanta::scenario {

struct Reply {
  std::optional<std::string> text;  // nullopt: Cancel (or No)
  int queuedAfterAction = 0;        // how many action lines had run when it was queued
};

class ScriptDialogs : public Dialogs {
 public:
  std::deque<std::string> messages, errors;                 // not yet expected
  std::deque<std::pair<std::string, std::string>> prompts;  // caption, prompt
  std::deque<Reply> answers, files, confirmations;
  std::string unexpected;  // the first box that found no reply during the current line

  void showMessage(const std::string& text) override { messages.push_back(text); }
  void showError(const std::string& text) override { errors.push_back(text); }
  bool confirm(const std::string& caption, const std::string& text) override;
  std::string inputBox(const std::string& caption, const std::string& prompt,
                       const std::string& defaultText) override;
  bool inputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
  std::optional<std::string> openFile(const OpenFileRequest& request) override;

 private:
  void noReply(const std::string& what);
};

struct RecordingHelp : HelpViewer {
  std::deque<std::string> files;
  void showHelp(const std::string& file, int, int) override { files.push_back(file); }
};

struct RecordingReports : ReportRuntime {
  std::deque<ReportRun> runs;
  void run(const ReportRun& r) override { runs.push_back(r); }
};

}  // namespace corvanta::scenario
