#include "gui/GuiProgram.h"

#include <QApplication>
#include <QEventLoop>

#include "data/engine/Engine.h"
#include "gui/ActionRunner.h"
#include "gui/FormWindow.h"
#include "gui/HelpWindow.h"
#include "gui/QtDialogs.h"
#include "gui/ReportPreview.h"
#include "reports/PrintingReportRuntime.h"
#include "ui/Form.h"

namespace corvanta {

namespace {

// The windows were laid out for a narrow sans-serif face; the wide default faces of many
// desktops would cut their captions.
void useShopFont() {
  QFont f = QApplication::font();
  f.setFamilies({"Arial", "Liberation Sans", "Nimbus Sans", "Helvetica"});
  QApplication::setFont(f);
}

}  // namespace

GuiProgram::GuiProgram(const Engine& engine, Calendar calendar)
    : engine_(engine),
      dialogs_(std::make_unique<QtDialogs>(engine.config())),
      help_(std::make_unique<HelpWindowViewer>(engine.config())),
      reports_(std::make_unique<reports::PrintingReportRuntime>(
          engine, *dialogs_,
          reports::PrintingReportRuntime::Options{
              reports::PrintingReportRuntime::Destination::Automatic, {}, calendar})) {
  installReportPreview(*reports_);
  app_ = std::make_unique<CorvantaApp>(
      engine_, Platform{*dialogs_, *help_, *reports_, [this](Form& f) { formCreated(f); },
                        std::move(calendar)});
  dialogs_->setTitle(app_->title());
  runner_ = std::make_unique<ActionRunner>(*app_);
  // Only a running loop is told: exit() without one would make every later loop (a message
  // box's) return at once.
  runner_->setTerminatedHook([this] {
    if (looping_) QCoreApplication::exit(0);
  });
  useShopFont();
  // Windows are hidden and shown by the models; only Exit ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
}

GuiProgram::~GuiProgram() {
  shutdown();
  // Windows first: their views unsubscribe from controls that the application still owns.
  windows_.clear();
  app_.reset();
}

void GuiProgram::formCreated(Form& form) {
  if (!form.neverShown) windows_[&form] = std::make_unique<FormWindow>(form, *runner_);
  // Keeps the splash painted while the windows are built and the tables open.
  if (starting_) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool GuiProgram::start() {
  starting_ = true;
  bool ok = false;
  runner_->run([&] { ok = app_->start(); });
  starting_ = false;
  return ok;
}

void GuiProgram::showMainWindow() {
  runner_->run([&] {
    // Start-up ends with the main window shown; shown again only if it is not up.
    if (Form* main = app_->mainForm(); main && !main->visible()) main->show();
    // The splash has done its work once the main window is up.
    if (Form* splash = app_->splash()) splash->close();
  });
}

int GuiProgram::run() {
  showMainWindow();
  if (!app_->terminated()) {
    looping_ = true;
    QApplication::exec();
    looping_ = false;
  }
  shutdown();
  return 0;
}

void GuiProgram::shutdown() {
  if (!app_) return;
  try {
    app_->shutdown();
  } catch (const std::exception& e) {
    qWarning("corvanta: shutting down: %s", e.what());
  }
  for (auto& [form, window] : windows_) window->hide();
}

FormWindow* GuiProgram::window(std::string_view formName) const {
  for (const auto& [form, window] : windows_)
    if (form->name() == formName) return window.get();
  return nullptr;
}

}  // namespace corvanta
