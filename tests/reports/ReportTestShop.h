#pragma once
// A small shop for report tests: its own data directory with every table, seeded with two
// orders, a handful of stock items and enough clients for more than one sheet of labels;
// a runtime that always writes PDF files into the test's folder; and the PDF's text.
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "data/engine/Engine.h"
#include "data/engine/TableFile.h"
#include "data/engine/Value.h"
#include "reports/PrintingReportRuntime.h"
#include "support/PdfText.h"
#include "support/TestSupport.h"

namespace corvanta::test {

class ReportTestShop {
 public:
  // `clients`: how many clients besides the two that placed orders.
  explicit ReportTestShop(int extraClients = 35);

  // Stores one record straight into a table file (fields by name).
  void seed(const std::string& table, const std::map<std::string, Value>& fields);

  // Runs a shipped definition (share/reports) as the windows do; returns the PDF written.
  // The message telling where it went is read here (it must name the file) and kept in told.
  std::filesystem::path run(const std::string& reportName,
                            std::map<std::string, std::string> parameters = {},
                            const std::string& directory = kReportDirectory);

  TempDir dir;
  Engine engine;
  StrictDialogs dialogs;
  reports::PrintingReportRuntime runtime;
  std::string told;  // the message of the last run()

 private:
  std::map<std::string, std::unique_ptr<TableFile>> files_;
};

int occurrences(const std::string& text, const std::string& what);
int matches(const std::string& text, const std::string& regex);

}  // namespace corvanta::test
