#include "reports/PrintingReportRuntime.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "reports/ReportFiles.h"
#include "reports/ReportJob.h"
#include "ui/Error.h"

namespace corvanta::reports {

namespace fs = std::filesystem;

namespace {

// Reports carry customers' names and addresses: every level of the output folder that is
// missing is made for its owner alone.  A folder that exists is left as its owner set it.
void makePrivateFolder(const fs::path& dir) {
  std::error_code ec;
  if (fs::is_directory(dir, ec)) return;
  if (dir.has_parent_path() && dir.parent_path() != dir) makePrivateFolder(dir.parent_path());
  if (::mkdir(dir.c_str(), 0700) == 0) {
    ::chmod(dir.c_str(), 0700);  // whatever the umask
    return;
  }
  if (errno == EEXIST && fs::is_directory(dir, ec)) return;
  throw Error("Cannot make the folder " + dir.string() +
              " for report files: " + std::strerror(errno));
}

// A report longer than the pages a run asks for must not look complete.
std::string cutShortNote(const ReportJob& job, const ReportRun& run) {
  return "\nThe report \"" + job.title() + "\" was printed only up to page " +
         std::to_string(run.lastPage) + "; it has more pages.";
}

// An address cut on a label must not go out unnoticed.
std::string cutLabelsNote(const ReportJob& job) {
  if (job.cutLabels().empty()) return "";
  std::string text = "\nThese labels were too small for their text, which was cut: ";
  for (std::size_t i = 0; i < job.cutLabels().size(); ++i)
    text += (i ? "; " : "") + job.cutLabels()[i];
  return text + ".";
}

}  // namespace

PrintingReportRuntime::PrintingReportRuntime(const Engine& engine, Dialogs& dialogs,
                                             Options options)
    : engine_(engine), dialogs_(dialogs), options_(std::move(options)) {}

fs::path PrintingReportRuntime::outputDirectory() const {
  if (!options_.outputDirectory.empty()) return options_.outputDirectory;
  if (const char* v = std::getenv("CORVANTA_REPORT_OUTPUT"); v && *v) return v;
  if (const char* v = std::getenv("XDG_DATA_HOME"); v && *v)
    return fs::path(v) / "corvanta" / "reports-output";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / ".local/share/corvanta/reports-output";
}

fs::path PrintingReportRuntime::locate(const ReportRun& run) const {
  if (run.reportName.empty())
    throw Error("No report definition file is chosen for " + run.component);
  const std::string shown = shownName(run.directory, run.reportName);
  const fs::path wanted = definitionPath(engine_.config(), run.directory, run.reportName);
  if (auto found = findFileNoCase(wanted, ".rpt")) return *found;
  throw Error("Cannot find the report definition \"" + shown + "\" (looked for " + wanted.string() +
              ")");
}

void PrintingReportRuntime::run(const ReportRun& run) {
  const fs::path definition = locate(run);
  ReportJob job(engine_, definition, definition.filename().string(), run.parameters,
                options_.calendar);
  auto setUp = [&](QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(job.pageLayout());
    printer.setDocName(QString::fromStdString(job.title()));
    printer.setCopyCount(run.copies);
  };

  if (run.preview && preview_) {
    std::string failure;
    PreviewRequest request;
    request.title = job.title();
    request.setUp = setUp;
    request.paint = [&](QPrinter& printer) {
      // The preview paints from inside its own event loop: no exception may cross it.
      try {
        job.paint(printer, run.firstPage, run.lastPage);
      } catch (const std::exception& e) {
        if (failure.empty()) failure = errorText(e);
      }
    };
    request.print = [&] {
      try {
        output(job, run, definition);
        return true;
      } catch (const std::exception& e) {
        dialogs_.showError(errorText(e));
        return false;
      }
    };
    preview_(request);
    if (!failure.empty()) throw Error(failure);
    return;
  }
  output(job, run, definition);
}

void PrintingReportRuntime::output(ReportJob& job, const ReportRun& run,
                                   const fs::path& definition) {
  auto setUp = [&](QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(job.pageLayout());
    printer.setDocName(QString::fromStdString(job.title()));
    printer.setCopyCount(run.copies);
  };
  if (options_.destination == Destination::Automatic) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) {
      QPrinter printer(info, QPrinter::HighResolution);
      setUp(printer);
      job.paint(printer, run.firstPage, run.lastPage);
      if (printer.printerState() == QPrinter::Error)
        throw Error("The printer " + info.printerName().toStdString() + " could not print \"" +
                    job.title() + "\"");
      const std::string notes = (job.cutShort() ? cutShortNote(job, run) : "") + cutLabelsNote(job);
      if (!notes.empty()) dialogs_.showMessage(notes.substr(1));
      return;
    }
  }

  lastPdf_ = writePdf(job, run, definition);
  const std::string why = options_.destination == Destination::Automatic
                              ? "No printer is set up on this computer, so the report \""
                              : "The report \"";
  dialogs_.showMessage(why + job.title() + "\" was saved as a PDF file:\n" + lastPdf_.string() +
                       (job.cutShort() ? cutShortNote(job, run) : "") + cutLabelsNote(job));
}

fs::path PrintingReportRuntime::writePdf(ReportJob& job, const ReportRun& run,
                                         const fs::path& definition) {
  const fs::path dir = outputDirectory();
  std::error_code ec;
  makePrivateFolder(dir);

  std::string stem = definition.stem().string();
  for (const char* key : {"OrderNumber", "CustNum"}) {
    auto it = run.parameters.find(key);
    if (it == run.parameters.end()) continue;
    std::string safe;
    for (unsigned char c : it->second)
      if (std::isalnum(c) || c == '.') safe += static_cast<char>(c);
    if (!safe.empty()) stem += "-" + safe;
    break;
  }
  stem +=
      "-" + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
  // The file is made here, for its owner alone and never over another one; the writer then
  // fills it and keeps its mode.
  fs::path file = dir / (stem + ".pdf");
  for (int n = 2;; ++n) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::fchmod(fd, 0600);  // whatever the umask
      ::close(fd);
      break;
    }
    if (errno != EEXIST)
      throw Error("Cannot write the PDF file " + file.string() + ": " + std::strerror(errno));
    file = dir / (stem + "-" + std::to_string(n) + ".pdf");
  }

  try {
    QPdfWriter writer(QString::fromStdString(file.string()));
    writer.setResolution(600);
    writer.setPageLayout(job.pageLayout());
    writer.setTitle(QString::fromStdString(job.title()));
    writer.setCreator(QStringLiteral("Corvanta"));
    job.paint(writer, run.firstPage, run.lastPage);
  } catch (...) {
    fs::remove(file, ec);  // half a report is worse than none
    throw;
  }
  if (!fs::exists(file, ec) || fs::file_size(file, ec) == 0) {
    fs::remove(file, ec);
    throw Error("Cannot write the PDF file " + file.string());
  }
  return file;
}

}  // namespace corvanta::reports
