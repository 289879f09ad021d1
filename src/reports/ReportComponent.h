#pragma once
// Report components: a window's non-visual holder of a report definition name, a directory
// and print options.  Running one hands the run to the report runtime in force (the printing
// runtime in the program, a recorder in scenarios and tests).
#include <map>
#include <string>

namespace corvanta {

struct ReportRun {
  std::string component;   // "SalesReport"
  std::string reportName;  // "Sales.rpt", or the file chosen in an open-file dialog
  std::string directory;   // Windows-style, resolved by the runtime
  bool preview = false;    // shown on screen first
  int copies = 1;
  int firstPage = 1, lastPage = 9999;
  std::map<std::string, std::string> parameters;  // OrderNumber, CustNum, filter...
};

class ReportRuntime {
 public:
  virtual ~ReportRuntime() = default;
  // Runs (prints, previews or writes) a report; throws an Error whose text names the
  // definition file when it cannot.
  virtual void run(const ReportRun& run) = 0;
};

class ReportComponent {
 public:
  ReportComponent(ReportRuntime& runtime, std::string name, std::string reportName,
                  std::string directory, bool preview)
      : runtime_(runtime),
        name_(std::move(name)),
        ReportName(std::move(reportName)),
        ReportDir(std::move(directory)),
        Preview(preview) {}

  const std::string& name() const { return name_; }
  // Runs the component's report once, pages 1 to 9999, with the given parameters.
  void Run(std::map<std::string, std::string> parameters = {}) {
    ReportRun r;
    r.component = name_;
    r.reportName = ReportName;
    r.directory = ReportDir;
    r.preview = Preview;
    r.parameters = std::move(parameters);
    runtime_.run(r);
  }

 private:
  ReportRuntime& runtime_;
  std::string name_;

 public:
  std::string ReportName;
  std::string ReportDir;
  bool Preview;
};

// The shop's report folder: where the fixed report names live and where the dialogs that
// choose a report definition open.  The engine's path map says where it is on this machine.
inline constexpr const char* kReportDirectory = "C:\\Program Files\\DARROWMERE\\DataBase Files\\";

}  // namespace corvanta
