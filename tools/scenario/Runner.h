#pragma once
// Runs one scenario script against the application started headless, exactly as the
// program starts it, on a data directory of its own.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Script.h"
#include "ScriptPlatform.h"
#include "app/CorvantaApp.h"
#include "data/engine/Engine.h"
#include "data/engine/Table.h"
#include "data/numbers/Calendar.h"
#include "ui/Form.h"
#include "ui/QueuedDialogs.h"

namespace corvanta::scenario {

struct Failure {
  int line;
  std::string message;  // "<what was expected>, got <what happened>"
};

class Runner {
 public:
  Runner(std::filesystem::path dataDir, std::vector<Line> lines);
  ~Runner();
  // Runs to the first failure; nullopt when every line held.
  std::optional<Failure> run();

 private:
  void step(const Line& l);
  void setup(const Line& l);
  void ensureStarted(const Line& l);
  void startApp();
  void stopApp();
  void action(const Line& l);
  void expectation(const Line& l);
  void afterAction();
  void checkNoUnexpectedMessages();

  Form& formNamed(const std::string& name);
  Control& controlNamed(const std::string& ref);
  Table& sharedTable(const std::string& name);
  const TableDef& tableDef(const std::string& name);

  std::filesystem::path dataDir_;
  std::vector<Line> lines_;
  Engine engine_;
  QueuedDialogs dialogs_;
  RecordingHelp help_;
  RecordingReports reports_;
  Calendar calendar_;
  std::unique_ptr<CorvantaApp> app_;
  bool started_ = false;
  bool ended_ = false;
};

// What failed: thrown inside a step and turned into a Failure of that line.
struct LineFailed {
  std::string message;
};

}  // namespace corvanta::scenario
