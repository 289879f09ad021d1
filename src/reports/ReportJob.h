#pragma once
// One run of one report definition: the definition read and checked against the tables, the
// tables opened read-only, and the pages painted onto any paged device (a printer, a PDF
// file, a print preview).
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/engine/Engine.h"
#include "data/numbers/Calendar.h"

namespace corvanta::reports {

class ReportJob {
 public:
  // Parameter names are matched without regard to case ("OrderNumber", "CustNum", "filter").
  using Parameters = std::map<std::string, std::string>;

  // Reads the definition, checks every table, index, field and parameter it names, and opens
  // its tables.  `displayName` is how messages name the file.  Throws Error naming the file
  // when it cannot be read, names something unknown, or needs a parameter the run lacks.
  // `calendar` gives the report's today and the format its date() reads.
  ReportJob(const Engine& engine, const std::filesystem::path& definition,
            const std::string& displayName, Parameters parameters, Calendar calendar = {});
  ~ReportJob();

  // The report's title for this run ("Items to Re-Order" under the reorder filter).
  const std::string& title() const;
  // Paper size and orientation; margins are the job's own business, so the layout has none.
  QPageLayout pageLayout() const;

  // Paints pages firstPage..lastPage onto the device, whose page layout must be
  // pageLayout().  Returns the number of pages laid out.  Throws Error when a table cannot
  // be read.  A job can paint more than once (a preview repaints).
  int paint(QPagedPaintDevice& device, int firstPage = 1, int lastPage = 9999);
  // Whether the last paint stopped at lastPage with more of the report to come.
  bool cutShort() const;
  // Labels of the last paint whose text did not fit even at the smallest readable size, as
  // "page 1, label 4" (labels counted across, then down); empty for other reports.
  const std::vector<std::string>& cutLabels() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace corvanta::reports
