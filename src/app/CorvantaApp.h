#pragma once
// The shop's application object: the engine session, the platform services (dialogs, help,
// report runtime) and the globals of every window and data module.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/Globals.h"
#include "data/engine/Engine.h"
#include "data/numbers/Calendar.h"
#include "reports/ReportComponent.h"
#include "ui/Application.h"

namespace corvanta {

// What the program or the scenario runner provides for a run.
struct Platform {
  Dialogs& dialogs;
  HelpViewer& help;
  ReportRuntime& reports;
  // Called for every window as soon as it is created (the GUI builds its real window then,
  // so that the splash shows while the tables open).
  std::function<void(Form&)> formCreated;
  // Today's date and the short date format every window writes dates with.
  Calendar calendar;
};

class CorvantaApp : public Application {
 public:
  CorvantaApp(const Engine& engine, Platform platform);

  const Engine& engine() const { return engine_; }
  ReportRuntime& reports() const { return platform_.reports; }
  const Calendar& calendar() const { return platform_.calendar; }
  // Today in the short date format, as a window writes it into a date field.
  std::string writeDate() const { return platform_.calendar.writeDate(); }
  Globals g;
  // Program variables a window keeps between commands (running totals...), by name, as the
  // text a scenario compares: windows register a reader for each.
  std::map<std::string, std::function<std::string()>> variables;

  // Start-up, step by step: the splash, the help file, the 30 globals in order (each data
  // module opening its table), then the main window shown.  A failure shows the error box and
  // ends the application; start() then returns false.
  bool start();

  Form* splash() const { return splash_; }

 private:
  template <class T>
  T* make();
  template <class T>
  T* makeModule();
  void createGlobals();

  const Engine& engine_;
  Platform platform_;
  Form* splash_ = nullptr;
};

inline CorvantaApp& shop(Application& app) {
  return static_cast<CorvantaApp&>(app);
}

}  // namespace corvanta
