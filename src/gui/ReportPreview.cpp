#include "gui/ReportPreview.h"

#include <QAction>
#include <QDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/ScreenFit.h"

namespace corvanta {

namespace {

QAction* addButton(QToolBar* bar, const QString& text, const QKeySequence& keys,
                   const QString& hint) {
  QAction* a = bar->addAction(text);
  a->setShortcut(keys);
  a->setToolTip(keys.isEmpty() ? hint
                               : hint + " (" + keys.toString(QKeySequence::NativeText) + ")");
  return a;
}

}  // namespace

void showReportPreview(const reports::PreviewRequest& request, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  request.setUp(printer);
  QDialog dialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                             Qt::WindowCloseButtonHint);
  dialog.setObjectName("ReportPreview");
  dialog.setWindowTitle(
      QStringLiteral("Print Preview - %1").arg(QString::fromStdString(request.title)));
  auto* pages = new QPrintPreviewWidget(&printer, &dialog);
  pages->setObjectName("pages");
  QObject::connect(pages, &QPrintPreviewWidget::paintRequested,
                   [&request](QPrinter* target) { request.paint(*target); });

  auto* bar = new QToolBar(&dialog);
  bar->setObjectName("tools");
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  // Print goes the way every report goes (printer, or a PDF file and the message saying
  // where): a preview is a look before printing, not a second way to print.
  QAction* print = addButton(bar, QStringLiteral("&Print"), QKeySequence::Print,
                             QStringLiteral("Print the report"));
  print->setObjectName("print");
  QObject::connect(print, &QAction::triggered, &dialog, [&] {
    if (request.print && request.print()) dialog.accept();
  });
  bar->addSeparator();
  QObject::connect(addButton(bar, QStringLiteral("Previous"), QKeySequence(Qt::Key_PageUp),
                             QStringLiteral("Previous page")),
                   &QAction::triggered, pages,
                   [pages] { pages->setCurrentPage(pages->currentPage() - 1); });
  QObject::connect(addButton(bar, QStringLiteral("Next"), QKeySequence(Qt::Key_PageDown),
                             QStringLiteral("Next page")),
                   &QAction::triggered, pages,
                   [pages] { pages->setCurrentPage(pages->currentPage() + 1); });
  bar->addSeparator();
  QObject::connect(
      addButton(bar, QStringLiteral("Zoom In"), QKeySequence::ZoomIn, QStringLiteral("Larger")),
      &QAction::triggered, pages, [pages] { pages->zoomIn(); });
  QObject::connect(
      addButton(bar, QStringLiteral("Zoom Out"), QKeySequence::ZoomOut, QStringLiteral("Smaller")),
      &QAction::triggered, pages, [pages] { pages->zoomOut(); });
  QObject::connect(addButton(bar, QStringLiteral("Fit Width"), QKeySequence(),
                             QStringLiteral("The page as wide as the window")),
                   &QAction::triggered, pages, [pages] { pages->fitToWidth(); });
  QObject::connect(addButton(bar, QStringLiteral("Whole Page"), QKeySequence(),
                             QStringLiteral("The whole page in the window")),
                   &QAction::triggered, pages, [pages] { pages->fitInView(); });
  bar->addSeparator();
  QObject::connect(addButton(bar, QStringLiteral("&Close"), QKeySequence(),
                             QStringLiteral("Close the preview (Esc)")),
                   &QAction::triggered, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(pages);
  placeCentred(&dialog, QSize(900, 1000));
  pages->setFocus();
  dialog.exec();
}

}  // namespace corvanta
