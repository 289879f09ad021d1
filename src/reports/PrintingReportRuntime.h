#pragma once
// The program's report runtime: finds a component's definition file through the engine's
// path map, runs it against the tables (read-only), and prints it on the system's default
// printer, or, where there is none, writes a PDF file and tells the person where it is.
// A component that asks for a preview is shown in the preview window first (a hook the GUI
// sets; without one the report goes straight to paper or PDF).
#include <filesystem>
#include <functional>
#include <string>

#include "data/engine/Engine.h"
#include "data/numbers/Calendar.h"
#include "reports/ReportComponent.h"
#include "ui/Dialogs.h"

// Qt's print support stands on Widgets, so only this library's sources include it.
class QPrinter;

namespace corvanta::reports {

class ReportJob;

// What the preview window gets: a title, how to set up its printer (paper and orientation),
// how to paint the pages onto it, and how to print them the way every report is printed (the
// printer, else a PDF file in the report folder, the person told).  `paint` never throws; a
// failure is reported by the runtime once the preview closes.  `print` never throws either:
// it shows its failure in the error box and returns false.
struct PreviewRequest {
  std::string title;
  std::function<void(QPrinter&)> setUp;
  std::function<void(QPrinter&)> paint;
  std::function<bool()> print;
};
using PreviewHook = std::function<void(const PreviewRequest&)>;

class PrintingReportRuntime : public ReportRuntime {
 public:
  enum class Destination {
    Automatic,  // the default printer if there is one, else a PDF file
    PdfFile,    // always a PDF file (tests, or a shop without paper)
  };
  struct Options {
    Destination destination = Destination::Automatic;
    // Where PDF files go; empty: $CORVANTA_REPORT_OUTPUT, else
    // $XDG_DATA_HOME/corvanta/reports-output (~/.local/share/... without XDG_DATA_HOME).
    std::filesystem::path outputDirectory;
    // The reports' today and short date format.
    Calendar calendar;
  };

  PrintingReportRuntime(const Engine& engine, Dialogs& dialogs, Options options);
  PrintingReportRuntime(const Engine& engine, Dialogs& dialogs)
      : PrintingReportRuntime(engine, dialogs, Options{}) {}

  void setPreviewHook(PreviewHook hook) { preview_ = std::move(hook); }

  // Throws Error naming the definition file when it is missing or cannot be run; nothing is
  // printed or written then.
  void run(const ReportRun& run) override;

  // The local file a run's definition is read from (exists), or Error naming it.
  std::filesystem::path locate(const ReportRun& run) const;
  // The PDF file of the last run written as one (empty before).
  const std::filesystem::path& lastPdf() const { return lastPdf_; }
  std::filesystem::path outputDirectory() const;

 private:
  // To the printer, or without one to a PDF file; the person told what needs telling.
  void output(ReportJob& job, const ReportRun& run, const std::filesystem::path& definition);
  std::filesystem::path writePdf(ReportJob& job, const ReportRun& run,
                                 const std::filesystem::path& definition);

  const Engine& engine_;
  Dialogs& dialogs_;
  Options options_;
  PreviewHook preview_;
  std::filesystem::path lastPdf_;
};

}  // namespace corvanta::reports
