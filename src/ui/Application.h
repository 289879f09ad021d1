#pragma once
// The application object: the windows and data modules in their creation order, the help
// file name, the one command dispatcher, and ending.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Dialogs.h"

namespace corvanta {

class Form;

// A non-visual container of tables (defined by the data layer); the application only needs
// to know its name and how to close it.
class DataModuleBase {
 public:
  explicit DataModuleBase(std::string name) : name_(std::move(name)) {}
  virtual ~DataModuleBase() = default;
  const std::string& name() const { return name_; }
  // Discards a pending edit or insert and closes the tables.
  virtual void shutdown() = 0;

 private:
  std::string name_;
};

// Where help requests go: the GUI's help window, or the scenario runner's record.
class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // command 3 with data 0: show the file's contents page.
  virtual void showHelp(const std::string& helpFile, int command, int data) = 0;
};

class Application {
 public:
  Application(Dialogs& dialogs, HelpViewer& help);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Dialogs& dialogs() const { return dialogs_; }
  const std::string& title() const { return title_; }

  // Creation, in order.  The first form added is the main window.  Adding a data module binds
  // the data-aware controls of every window created so far that name it.
  template <class T, class... A>
  T& createForm(A&&... args) {
    auto f = std::make_unique<T>(*this, std::forward<A>(args)...);
    T& ref = *f;
    adoptForm(std::move(f));
    return ref;
  }
  template <class T, class... A>
  T& createDataModule(A&&... args) {
    auto m = std::make_unique<T>(std::forward<A>(args)...);
    T& ref = *m;
    adoptDataModule(std::move(m));
    return ref;
  }
  void adoptForm(std::unique_ptr<Form> form);
  void adoptDataModule(std::unique_ptr<DataModuleBase> module);

  Form* mainForm() const;
  void setMainForm(Form* form) { mainForm_ = form; }
  Form* form(std::string_view name) const;
  DataModuleBase* dataModule(std::string_view name) const;
  const std::vector<Form*>& forms() const { return formOrder_; }
  // Global names in creation order (windows and data modules together).
  const std::vector<std::string>& creationOrder() const { return creationOrder_; }

  // Help.
  const std::string& helpFile() const { return helpFile_; }
  void setHelpFile(std::string file) { helpFile_ = std::move(file); }
  void helpCommand(int command, int data);

  // Runs one person's action: an Error (or any exception) is shown in the error box with its
  // text and the action stops there.  Returns false when an error was shown.
  bool dispatch(const std::function<void()>& action);

  // Ending: asks the application to end; shutdown() then discards pending records and closes
  // every table.  Both are idempotent.
  void terminate() { terminated_ = true; }
  bool terminated() const { return terminated_; }
  void shutdown();

 private:
  Dialogs& dialogs_;
  HelpViewer& help_;
  std::string title_ = "Corvanta";
  std::string helpFile_;
  std::vector<std::unique_ptr<Form>> forms_;
  std::vector<Form*> formOrder_;
  std::vector<std::unique_ptr<DataModuleBase>> modules_;
  std::vector<std::string> creationOrder_;
  bool terminated_ = false;
  bool shutDown_ = false;
  Form* mainForm_ = nullptr;
  int dispatchDepth_ = 0;
};

}  // namespace corvanta
