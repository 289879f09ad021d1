#include "GuiHarness.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <stdexcept>

#include "data/engine/Table.h"

namespace corvanta::test {

void settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void typeInto(GuiShop& shop, const std::string& form, const std::string& control,
              const QString& text) {
  auto* edit = shop.widget<QLineEdit>(form, control);
  if (!edit) {
    ADD_FAILURE() << form << " has no edit " << control;
    return;
  }
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
  settle();
}

GuiShop::GuiShop(const Prepare& prepare)
    : engine_(EngineConfig::forDataDirectory(dir_.path())),
      program_(std::make_unique<GuiProgram>(engine_)),
      closer_(std::make_unique<QTimer>()) {
  if (prepare) prepare(engine_, dir_.path());
  // Reports written as PDF files (no printer here) go into the test's own directory.
  ::setenv("CORVANTA_REPORT_OUTPUT", (dir_.path() / "reports-output").c_str(), 1);
  // A modal box runs its own event loop; this timer fires inside it.
  closer_->setInterval(10);
  QObject::connect(closer_.get(), &QTimer::timeout, [this] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (onModal) {
      // The handler may wait, and this timer fires again meanwhile: one call at a time.
      static bool busy = false;
      if (busy) return;
      busy = true;
      const bool handled = onModal(modal);
      busy = false;
      if (handled) return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxes << box->windowTitle() + ": " + box->text();
      if (box->button(QMessageBox::Yes) && !replies.isEmpty()) {
        const bool yes = replies.takeFirst() == "Yes";
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        return;
      }
      box->accept();
    } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
      boxes << input->windowTitle() + ": " + input->labelText();
      if (answers.isEmpty()) {
        input->reject();
      } else {
        input->setTextValue(answers.takeFirst());
        input->accept();
      }
    } else {
      boxes << modal->windowTitle();
      modal->close();
    }
  });
  closer_->start();
  started_ = program_->start();
  if (!started_) return;
  program_->showMainWindow();
  settle();
}

GuiShop::~GuiShop() {
  program_.reset();
  closer_.reset();
}

FormWindow& GuiShop::window(const std::string& form) {
  FormWindow* w = program_->window(form);
  if (!w) throw std::runtime_error("no window " + form);
  return *w;
}

void GuiShop::press(const std::string& form, const std::string& button) {
  auto* b = widget<QPushButton>(form, button);
  if (!b) throw std::runtime_error("no button " + form + "." + button);
  QTest::mouseClick(b, Qt::LeftButton);
  settle();
}

}  // namespace corvanta::test
