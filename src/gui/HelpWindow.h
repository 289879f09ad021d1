#pragma once
// The help window: one for the whole program, showing a help file (HTML) from its contents
// page, with Back, Forward and Contents.  Asking for help again brings it to the front.
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "reports/HelpFileViewer.h"

class QTextBrowser;

namespace corvanta {

class HelpWindow : public QWidget {
 public:
  HelpWindow();
  // Loads the file on its contents page (the top), shows the window and raises it.
  void showFile(const std::filesystem::path& file);
  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
  QUrl home_;
};

// The program's help viewer: the help file is found as reports::HelpFileViewer finds it
// (a missing one is an Error for the dispatcher to show) and shown in the help window, which
// is made on first use.
class HelpWindowViewer : public HelpViewer {
 public:
  explicit HelpWindowViewer(const EngineConfig& config);
  ~HelpWindowViewer() override;
  void showHelp(const std::string& helpFile, int command, int data) override;
  HelpWindow* window() const { return window_.get(); }

 private:
  reports::HelpFileViewer viewer_;
  std::unique_ptr<HelpWindow> window_;
};

}  // namespace corvanta
