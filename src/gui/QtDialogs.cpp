#include "gui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QTreeView>
#include <filesystem>

#include "data/engine/EngineConfig.h"
#include "gui/ScreenFit.h"

namespace corvanta {

namespace {

QString q(const std::string& s) {
  return QString::fromStdString(s);
}

// A box's text as a person can read it whole: a control character (a NUL from a damaged
// file's name, say) would end or garble the label, so each one but the line breaks and tabs
// shows as its picture.
QString shown(const std::string& s) {
  QString text = q(s);
  for (QChar& c : text) {
    const char16_t u = c.unicode();
    if (u < 0x20 && u != '\n' && u != '\t')
      c = QChar(char16_t(0x2400 + u));
    else if (u == 0x7f)
      c = QChar(char16_t(0x2421));
  }
  return text;
}

// The window a box belongs to: the active one, else whichever modal box is up.
QWidget* owner() {
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  return QApplication::activeWindow();
}

// A box is a plain dialog: a title and a close box, nothing to minimize or maximize.
void makePlain(QWidget* box) {
  box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void makePlain(QMessageBox* box) {
  // The text is ours or the engine's, quoting what a person typed: never read as markup.
  box->setTextFormat(Qt::PlainText);
  makePlain(static_cast<QWidget*>(box));
}

// An input dialog that opens with a text has it selected, so that typing replaces it.
bool runInput(QInputDialog& dialog) {
  makePlain(&dialog);
  dialog.setInputMode(QInputDialog::TextInput);
  QTimer::singleShot(0, &dialog, [&dialog] {
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
      edit->setFocus(Qt::TabFocusReason);
      edit->selectAll();
    }
  });
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

void QtDialogs::showMessage(const std::string& text) {
  QMessageBox box(QMessageBox::Information, q(title_), shown(text), QMessageBox::Ok, owner());
  makePlain(&box);
  box.exec();
}

void QtDialogs::showError(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, "Error", shown(text), QMessageBox::Ok, owner());
  makePlain(&box);
  box.exec();
}

bool QtDialogs::confirm(const std::string& caption, const std::string& text) {
  QMessageBox box(QMessageBox::Question, q(caption), shown(text),
                  QMessageBox::Yes | QMessageBox::No, owner());
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  makePlain(&box);
  return box.exec() == QMessageBox::Yes;
}

std::string QtDialogs::inputBox(const std::string& caption, const std::string& prompt,
                                const std::string& defaultText) {
  QInputDialog dialog(owner());
  dialog.setWindowTitle(q(caption));
  dialog.setLabelText(q(prompt));
  dialog.setTextValue(q(defaultText));
  return runInput(dialog) ? dialog.textValue().toStdString() : std::string();
}

bool QtDialogs::inputQuery(const std::string& caption, const std::string& prompt,
                           std::string& value) {
  QInputDialog dialog(owner());
  dialog.setWindowTitle(q(caption));
  dialog.setLabelText(q(prompt));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextValue(q(value));
  if (auto* edit = dialog.findChild<QLineEdit*>()) edit->setMaxLength(255);
  if (!runInput(dialog)) return false;
  value = dialog.textValue().left(255).toStdString();
  return true;
}

std::optional<std::string> QtDialogs::openFile(const OpenFileRequest& request) {
  std::filesystem::path start;
  if (!request.initialDirectory.empty()) start = config_.resolve(request.initialDirectory);
  if (!request.fileName.empty()) start /= config_.resolve(request.fileName).filename();
  const QString title = request.title.empty() ? QString("Open") : q(request.title);
  QFileDialog dialog(owner(), title, q(start.string()), q(qtFileFilter(request.filter)));
  makePlain(&dialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!request.fileName.empty()) dialog.selectFile(q(start.filename().string()));
  // Wide enough that the names, sizes and dates of its list can be read, and the room shared
  // so that they are: the size, type and date columns as wide as their texts, the name
  // column the rest (left alone, the three get a fixed narrow width and are cut to "8 Dec ...").
  dialog.resize(fitToScreen(QSize(860, 520)));
  if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = list->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

std::string qtFileFilter(const std::string& filter) {
  if (filter.empty()) return {};
  const QStringList parts = q(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i].trimmed();
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      p = p.trimmed();
      if (p == "*.*") p = "*";  // a Windows "every file": here files need not have a dot
    }
    // Qt filters by the parenthesised list at the end of the name; the names the windows give
    // usually show the pattern already, which must not count as the list.
    const int paren = name.lastIndexOf('(');
    if (paren > 0 && name.endsWith(')')) name = name.left(paren).trimmed();
    out << name + " (" + patterns.join(' ') + ")";
  }
  if (parts.size() == 1) out << parts[0];
  return out.join(";;").toStdString();
}

}  // namespace corvanta
