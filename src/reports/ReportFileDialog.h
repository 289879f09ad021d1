#pragma once
// The open-file dialog a window offers for choosing a report definition to print: it starts in
// the shop's report folder on the definition the window suggests, and the file picked there is
// handed to one of the window's report components.
#include <map>
#include <string>
#include <string_view>

#include "reports/ReportComponent.h"
#include "ui/Dialogs.h"

namespace corvanta {

// A report-definition dialog with this title, in the shop's report folder, on `fileName`.
OpenFileRequest reportFileDialog(std::string title, std::string fileName);

// A report definition chosen in an open-file dialog, as a report component takes it: the
// directory (with its closing separator) and the file name.  A bare file name lives in the
// dialog's initial directory.  Both Windows ("\") and local ("/") separators are understood.
struct ReportLocation {
  std::string directory;
  std::string name;
};
ReportLocation splitReportPath(std::string_view chosen, std::string_view initialDirectory);

// Shows `dialog`; when the person picks a file, points `report` at it and runs it with
// `parameters`.  Cancel (or an empty name) runs nothing and leaves the component as it was.
// Returns whether the report ran; the runtime's Error (a definition that cannot be found or
// run) goes to the caller.
bool runChosenReport(Dialogs& dialogs, const OpenFileRequest& dialog, ReportComponent& report,
                     std::map<std::string, std::string> parameters = {});

}  // namespace corvanta
