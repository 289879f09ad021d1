#include "gui/ReportPreview.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace corvanta {

void showReportPreview(const reports::PreviewRequest& request, QWidget* parent) {
  QPrinter printer(QPrinter::HighResolution);
  request.setUp(printer);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setWindowTitle(
      QStringLiteral("Print Preview - %1").arg(QString::fromStdString(request.title)));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                   [&request](QPrinter* target) { request.paint(*target); });
  dialog.resize(900, 1000);
  dialog.exec();
}

}  // namespace corvanta
