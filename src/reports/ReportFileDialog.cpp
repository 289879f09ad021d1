#include "reports/ReportFileDialog.h"

#include <optional>

namespace corvanta {

OpenFileRequest reportFileDialog(std::string title, std::string fileName) {
  OpenFileRequest r;
  r.title = std::move(title);
  r.initialDirectory = kReportDirectory;
  r.fileName = std::move(fileName);
  r.filter = "Report files (*.rpt)|*.rpt|All files (*.*)|*.*";
  return r;
}

ReportLocation splitReportPath(std::string_view chosen, std::string_view initialDirectory) {
  const auto cut = chosen.find_last_of("\\/");
  if (cut == std::string_view::npos) {
    std::string dir(initialDirectory);
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '\\';
    return {dir, std::string(chosen)};
  }
  return {std::string(chosen.substr(0, cut + 1)), std::string(chosen.substr(cut + 1))};
}

bool runChosenReport(Dialogs& dialogs, const OpenFileRequest& dialog, ReportComponent& report,
                     std::map<std::string, std::string> parameters) {
  const std::optional<std::string> chosen = dialogs.openFile(dialog);
  if (!chosen || chosen->empty()) return false;
  const ReportLocation where = splitReportPath(*chosen, dialog.initialDirectory);
  report.ReportDir = where.directory;
  report.ReportName = where.name;
  report.Run(std::move(parameters));
  return true;
}

}  // namespace corvanta
