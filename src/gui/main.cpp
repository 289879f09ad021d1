// corvanta: the shop's back-office program on real windows.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "data/engine/Engine.h"
#include "data/engine/EngineConfig.h"
#include "gui/GuiProgram.h"

namespace {

// Every action already runs behind the command dispatcher and the GUI's own guard; this is
// the last line, so that nothing thrown in an event handler ever unwinds through Qt.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      qCritical("corvanta: unhandled error in an event handler: %s", e.what());
    } catch (...) {
      qCritical("corvanta: unhandled error in an event handler");
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  GuardedApplication qapp(argc, argv);
  QApplication::setApplicationName("Corvanta");
  QApplication::setApplicationVersion("1.2");
  try {
    corvanta::Engine engine(corvanta::EngineConfig::fromEnvironment());
    corvanta::GuiProgram program(engine);
    if (!program.start()) return 1;  // the error box was shown
    return program.run();
  } catch (const std::exception& e) {
    // The configuration file that cannot be read or written ends up here.
    QMessageBox::critical(nullptr, "Error", QString::fromStdString(e.what()));
    return 1;
  }
}
