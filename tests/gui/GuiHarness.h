#pragma once
// The real program on a fresh data directory, with helpers to act as a person would:
// press a window's button, find a control's widget, and answer the modal boxes that come up.
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "data/engine/Engine.h"
#include "gui/FormWindow.h"
#include "gui/GuiProgram.h"
#include "support/TestSupport.h"

class QTimer;
class QWidget;

namespace corvanta {
class Table;
}

namespace corvanta::test {

class GuiShop {
 public:
  using Prepare = std::function<void(const Engine&, const std::filesystem::path& dataDir)>;
  // Starts the program as main() does (start(), then the main window) on a temp directory,
  // after prepare (if given) had its say about the data directory.
  explicit GuiShop(const Prepare& prepare = {});
  ~GuiShop();

  // False when start-up failed (its error box is in boxes).
  bool started() const { return started_; }

  GuiProgram& program() { return *program_; }
  CorvantaApp& app() { return program_->app(); }
  FormWindow& window(const std::string& form);
  template <class W>
  W* widget(const std::string& form, const std::string& control) {
    return qobject_cast<W*>(window(form).controlWidget(control));
  }
  // Clicks a button with the mouse and lets the event loop settle.
  void press(const std::string& form, const std::string& button);

  // Every modal box that came up is closed (Enter, i.e. its default answer) and its text
  // kept here, oldest first.
  QStringList boxes;
  // Texts typed, oldest first, into the input boxes that come up (then OK); with none left an
  // input box is cancelled.
  QStringList answers;
  // Replies, oldest first, to the Yes/No questions that come up ("Yes" or "No"); with none
  // left a question gets Enter as the other boxes do.
  QStringList replies;
  // Called first with each modal window that comes up (a file dialog, a print preview);
  // true: it dealt with the window, which is then neither recorded nor closed.
  std::function<bool(QWidget*)> onModal;

 private:
  TempDir dir_;
  Engine engine_;
  std::unique_ptr<GuiProgram> program_;
  std::unique_ptr<QTimer> closer_;
  bool started_ = false;
};

// Lets posted events (deferred grid refreshes, activation) run.
void settle();

// Puts the focus in a window's edit, selects what it shows and types text over it, key by
// key, as a person would; the test fails when the window has no such edit.
void typeInto(GuiShop& shop, const std::string& form, const std::string& control,
              const QString& text);

}  // namespace corvanta::test
