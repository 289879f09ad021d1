#pragma once
// The runner's platform besides its dialogs (ui/QueuedDialogs.h): help requests and report
// runs recorded instead of shown or printed.
#include <deque>
#include <string>

#include "reports/ReportComponent.h"
#include "ui/Application.h"

namespace corvanta::scenario {

struct RecordingHelp : HelpViewer {
  std::deque<std::string> files;
  void showHelp(const std::string& file, int, int) override { files.push_back(file); }
};

struct RecordingReports : ReportRuntime {
  std::deque<ReportRun> runs;
  void run(const ReportRun& r) override { runs.push_back(r); }
};

}  // namespace corvanta::scenario
