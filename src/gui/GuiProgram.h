#pragma once
// The program on real windows: the Qt dialogs, the placeholder help and report services, the
// shop's application object and one real window per window model.
//
// start() is the program's start-up (the splash goes up and is painted before the tables
// open; each real window is built as its model is created); run() shows the main window and
// runs the event loop until the application is asked to end, then shuts it down.  The tests
// drive the same object without run().
#include <map>
#include <memory>
#include <string_view>

#include "app/CorvantaApp.h"

namespace corvanta {

class ActionRunner;
class Engine;
class FormWindow;
class HelpWindowViewer;
namespace reports {
class PrintingReportRuntime;
}
class QtDialogs;

class GuiProgram {
 public:
  // Requires a QApplication.  `calendar` is where every window and report takes today's date
  // and the short date format from.
  explicit GuiProgram(const Engine& engine, Calendar calendar = {});
  ~GuiProgram();
  GuiProgram(const GuiProgram&) = delete;
  GuiProgram& operator=(const GuiProgram&) = delete;

  // False when start-up failed: the error box was shown and the application has ended.
  bool start();
  // Makes sure the main window is up; the splash, covered by it, goes away.
  void showMainWindow();
  // The message loop, from showing the main window to the end; returns the exit status.
  int run();
  // Ends the application: pending records are discarded, the tables closed.  Idempotent.
  void shutdown();

  CorvantaApp& app() const { return *app_; }
  // The real window of a form by its global name (nullptr for forms that are never shown).
  FormWindow* window(std::string_view formName) const;

 private:
  void formCreated(Form& form);

  const Engine& engine_;
  std::unique_ptr<QtDialogs> dialogs_;
  std::unique_ptr<HelpWindowViewer> help_;
  std::unique_ptr<reports::PrintingReportRuntime> reports_;
  std::unique_ptr<CorvantaApp> app_;
  std::unique_ptr<ActionRunner> runner_;
  std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
  bool starting_ = false;
  bool looping_ = false;
};

}  // namespace corvanta
