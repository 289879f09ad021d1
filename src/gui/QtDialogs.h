#pragma once
// The modal boxes of the window models, as Qt message boxes, input dialogs and file dialogs.
// Each box is owned by the window that is active when it appears, so it comes up over it.
#include <string>

#include "ui/Dialogs.h"

namespace corvanta {

class EngineConfig;

class QtDialogs : public Dialogs {
 public:
  // The configuration resolves the Windows-style directories that file dialogs start in.
  explicit QtDialogs(const EngineConfig& config) : config_(config) {}

  // The caption of information boxes (the application's title).
  void setTitle(std::string title) { title_ = std::move(title); }

  void showMessage(const std::string& text) override;
  void showError(const std::string& text) override;
  bool confirm(const std::string& caption, const std::string& text) override;
  std::string inputBox(const std::string& caption, const std::string& prompt,
                       const std::string& defaultText) override;
  bool inputQuery(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
  std::optional<std::string> openFile(const OpenFileRequest& request) override;

 private:
  const EngineConfig& config_;
  std::string title_ = "Corvanta";
};

// "Report files (*.rpt)|*.rpt|All files (*.*)|*.*" -> "Report files (*.rpt);;All files (*)".
std::string qtFileFilter(const std::string& filter);

}  // namespace corvanta
