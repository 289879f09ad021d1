// corvanta: the shop's back-office program on real windows.
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <exception>
#include <string>

#include "data/engine/AutomaticBackup.h"
#include "data/engine/Engine.h"
#include "data/engine/EngineConfig.h"
#include "data/numbers/Calendar.h"
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

// The system's short date format in the letters dates are written with (d, dd, M, MM, yy,
// yyyy); a format using anything else (month names, weekdays) keeps the shop's M/d/yy.
std::string systemShortDateFormat() {
  const QLocale locale = QLocale::system();
  if (locale.name() == "C") return "M/d/yy";
  const std::string qt = locale.dateFormat(QLocale::ShortFormat).toStdString();
  std::string out;
  for (size_t i = 0; i < qt.size();) {
    const char c = qt[i];
    size_t run = 1;
    while (i + run < qt.size() && qt[i + run] == c) ++run;
    const bool ok =
        (c == 'd' && run <= 2) || (c == 'M' && run <= 2) || (c == 'y' && (run == 2 || run == 4));
    if (std::isalpha(static_cast<unsigned char>(c)) && !ok) return "M/d/yy";
    if (c == '\'') return "M/d/yy";  // quoted literal text
    out += qt.substr(i, run);
    i += run;
  }
  return out.empty() ? "M/d/yy" : out;
}

}  // namespace

int main(int argc, char** argv) {
  GuardedApplication qapp(argc, argv);
  QApplication::setApplicationName("Corvanta");
  QApplication::setApplicationVersion("1.2");
  // The machine's clock, in the system's short date format unless the shop asks for another.
  corvanta::Calendar calendar;
  const char* format = std::getenv("CORVANTA_SHORT_DATE_FORMAT");
  calendar.shortDateFormat = format && *format ? format : systemShortDateFormat();
  try {
    corvanta::Engine engine(corvanta::EngineConfig::fromEnvironment());
    corvanta::GuiProgram program(engine, std::move(calendar));
    if (!program.start()) return 1;  // the error box was shown
    // Today's backup, if not taken yet, runs on its own thread while the shop works; its
    // failure is shown once, when it happens.  Leaving the program stops it between tables.
    corvanta::AutomaticBackup backup(engine);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (!backup.finished()) return;
      watch.stop();
      if (auto failure = backup.takeFailure())
        QMessageBox::warning(nullptr, "Backup", QString::fromStdString(*failure));
    });
    if (backup.started()) watch.start(1000);
    return program.run();
  } catch (const std::exception& e) {
    // The configuration file that cannot be read or written ends up here.
    QMessageBox::critical(nullptr, "Error", QString::fromStdString(e.what()));
    return 1;
  }
}
