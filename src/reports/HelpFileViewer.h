#pragma once
// The program's help viewer, less its window: it finds the help file a window names and
// hands the local file to whatever shows it (the GUI's help window).  A help file that cannot
// be found is an Error naming it, shown by the command dispatcher; nothing else changes.
#include <filesystem>
#include <functional>
#include <string>

#include "reports/ReportFiles.h"
#include "ui/Application.h"

namespace corvanta::reports {

class HelpFileViewer : public HelpViewer {
 public:
  // Shows a located help file on its contents page.  `name` is the name the window used.
  using Show = std::function<void(const std::filesystem::path& file, const std::string& name)>;

  HelpFileViewer(const EngineConfig& config, Show show,
                 std::vector<std::filesystem::path> searchPath = {})
      : files_(config, std::move(searchPath)), show_(std::move(show)) {}

  // Every command opens the file on its contents page (the windows only ask for contents).
  void showHelp(const std::string& helpFile, int /*command*/, int /*data*/) override {
    const std::filesystem::path file = files_.locate(helpFile);
    if (show_) show_(file, helpFile);
  }

  const HelpFiles& files() const { return files_; }

 private:
  HelpFiles files_;
  Show show_;
};

}  // namespace corvanta::reports
