#pragma once
// The print preview window of report runs that ask to be shown first: the pages in a Qt print
// preview, from which the person prints them or closes the window.
#include "reports/PrintingReportRuntime.h"

class QWidget;

namespace corvanta {

// Shows the preview, modal, until the person closes it.  Paints through the request, so the
// pages are laid out again for the printer the person picks.
void showReportPreview(const reports::PreviewRequest& request, QWidget* parent = nullptr);

// Makes the runtime preview through showReportPreview.
inline void installReportPreview(reports::PrintingReportRuntime& runtime) {
  runtime.setPreviewHook([](const reports::PreviewRequest& r) { showReportPreview(r); });
}

}  // namespace corvanta
