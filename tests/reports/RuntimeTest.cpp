// The runtime around the job: where definitions are found, where the pages go, previews,
// page ranges and page breaks.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QPrinter>
#include <cstdlib>
#include <fstream>

#include "ReportTestShop.h"
#include "data/engine/EngineConfig.h"
#include "reports/ReportFileDialog.h"
#include "ui/Error.h"

namespace corvanta::test {
namespace {

namespace fs = std::filesystem;

ReportRun runOf(std::string name, std::string dir = kReportDirectory) {
  ReportRun r;
  r.component = "Test";
  r.reportName = std::move(name);
  r.directory = std::move(dir);
  return r;
}

TEST(Runtime, FindsTheShopsDefinitionsWhateverTheSpellingOfTheirFolder) {
  ReportTestShop shop(0);
  const fs::path sales = fs::canonical(EngineConfig::shareDirectory() / "reports" / "Sales.rpt");
  EXPECT_EQ(fs::canonical(shop.runtime.locate(runOf("Sales.rpt"))), sales);
  EXPECT_EQ(fs::canonical(shop.runtime.locate(
                runOf("SALES.RPT", "c:\\program files\\darrowmere\\database files"))),
            sales);
  EXPECT_EQ(fs::canonical(shop.runtime.locate(
                runOf("C:/Program Files/DARROWMERE/Database Files/sales.rpt", ""))),
            sales);
  EXPECT_EQ(shop.runtime.locate(runOf("Client", "c:\\Program Files\\DARROWMERE\\Database Files"))
                .filename(),
            "client");
  EXPECT_EQ(shop.runtime.locate(runOf("stock")).filename(), "stock.rpt")
      << "the .rpt ending may be left off";
  EXPECT_EQ(shop.runtime.locate(runOf("Sales.rpt", "")).filename(), "Sales.rpt")
      << "a bare name: the report folder";
}

TEST(Runtime, RunsADefinitionChosenAnywhereInAFileDialog) {
  ReportTestShop shop(0);
  const fs::path mine = shop.dir.path() / "my reports";
  fs::create_directories(mine);
  fs::copy_file(EngineConfig::shareDirectory() / "reports" / "stock.rpt", mine / "Shelf List.rpt");
  fs::copy_file(EngineConfig::shareDirectory() / "reports" / "shop.ini", mine / "shop.ini");
  const fs::path pdf = shop.run("Shelf List.rpt", {}, mine.string() + "/");
  EXPECT_NE(pdfText(pdf).find("D400"), std::string::npos);
  EXPECT_NE(pdfText(shop.run((mine / "Shelf List.rpt").string(), {}, "")).find("Harbor Lane"),
            std::string::npos);
}

TEST(Runtime, WithoutAPrinterWritesAPdfAndSaysWhere) {
  ReportTestShop shop(0);
  const fs::path pdf = shop.run("invoice.rpt", {{"OrderNumber", "1001"}, {"CustNum", "1"}});
  EXPECT_EQ(pdf.parent_path(), shop.dir.path() / "out");
  EXPECT_EQ(pdf.filename().string().rfind("invoice-1001-", 0), 0u) << pdf;
  EXPECT_EQ(shop.told, "The report \"Invoice\" was saved as a PDF file:\n" + pdf.string());
  const fs::path again = shop.run("invoice.rpt", {{"OrderNumber", "1001"}, {"CustNum", "1"}});
  EXPECT_NE(again, pdf) << "a second copy never overwrites the first";
  EXPECT_TRUE(fs::exists(pdf));
  // Invoices carry names and addresses: for the shop's user alone, whatever the umask.
  auto mode = [](const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
  };
  EXPECT_EQ(mode(shop.dir.path() / "out"), 0700);
  EXPECT_EQ(mode(pdf), 0600);
  EXPECT_EQ(mode(again), 0600);
}

TEST(Runtime, OutputFolderFollowsTheEnvironment) {
  TempDir dir;
  Engine engine(EngineConfig::forDataDirectory(dir.path()));
  StrictDialogs dialogs;
  reports::PrintingReportRuntime runtime(engine, dialogs);
  const char* old = std::getenv("CORVANTA_REPORT_OUTPUT");
  const std::string saved = old ? old : "";
  ::unsetenv("CORVANTA_REPORT_OUTPUT");
  ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
  EXPECT_EQ(runtime.outputDirectory(), dir.path() / "corvanta" / "reports-output");
  ::setenv("CORVANTA_REPORT_OUTPUT", "/srv/shop/pdf", 1);
  EXPECT_EQ(runtime.outputDirectory(), fs::path("/srv/shop/pdf"));
  if (old)
    ::setenv("CORVANTA_REPORT_OUTPUT", saved.c_str(), 1);
  else
    ::unsetenv("CORVANTA_REPORT_OUTPUT");
}

TEST(Runtime, PreviewShowsThePagesThroughTheHook) {
  ReportTestShop shop(0);
  std::string title;
  const fs::path file = shop.dir.path() / "preview.pdf";
  shop.runtime.setPreviewHook([&](const reports::PreviewRequest& r) {
    title = r.title;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file.string()));
    r.setUp(printer);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    r.paint(printer);
  });
  ReportRun run = runOf("stock.rpt");
  run.preview = true;
  shop.runtime.run(run);
  EXPECT_EQ(title, "Stock Report");
  EXPECT_NE(pdfText(file).find("A100"), std::string::npos);
  EXPECT_FALSE(shop.dialogs.hasUnread()) << "a preview writes no file of its own";

  run.preview = false;  // the same component without preview goes straight to paper
  shop.runtime.run(run);
  EXPECT_NE(shop.dialogs.takeMessage().find("was saved as a PDF file"), std::string::npos);
}

TEST(Runtime, KeepsToThePagesAskedFor) {
  ReportTestShop shop(40);  // 42 clients: two sheets of labels
  ReportRun run = runOf("clientlbs5160");
  run.lastPage = 1;
  shop.runtime.run(run);
  EXPECT_EQ(pdfPages(shop.runtime.lastPdf()), 1);
  EXPECT_EQ(matches(pdfText(shop.runtime.lastPdf()), R"([A-Z]{2} \d{5})"), 30);
  const std::string told = shop.dialogs.takeMessage();
  EXPECT_NE(told.find("was printed only up to page 1; it has more pages."), std::string::npos)
      << told;
  run.lastPage = 2;
  shop.runtime.run(run);
  EXPECT_EQ(shop.dialogs.takeMessage().find("only up to"), std::string::npos)
      << "two sheets hold all";
}

TEST(Runtime, LongListsBreakIntoPagesWithTheirHeadings) {
  ReportTestShop shop(0);
  for (int i = 0; i < 150; ++i)
    shop.seed("stock.db", {{"PartNumber", "P" + std::to_string(1000 + i)},
                           {"Description", "Part number " + std::to_string(i)},
                           {"Price", 1.0 + i},
                           {"Quantity", 5.0},
                           {"MinimumQuantity", 1.0}});
  const fs::path pdf = shop.run("stock.rpt");
  const int pages = pdfPages(pdf);
  ASSERT_GE(pages, 3);
  const std::string all = pdfText(pdf);
  for (int i = 0; i < 150; ++i) EXPECT_EQ(occurrences(all, "P" + std::to_string(1000 + i)), 1) << i;
  for (int p = 2; p <= pages; ++p) {
    const std::string page = pdfText(pdf, p, p);
    EXPECT_NE(page.find("Part Number"), std::string::npos) << "headings on page " << p;
    EXPECT_NE(page.find("Page " + std::to_string(p)), std::string::npos);
  }
  EXPECT_NE(pdfText(pdf, pages, pages).find("154 item(s)"), std::string::npos);
}

TEST(Runtime, AnOrderRunningOverAPageRepeatsItsHeadingThere) {
  ReportTestShop shop(0);
  for (int i = 0; i < 90; ++i)
    shop.seed("NewSales", {{"PartNumber", "A100"},
                           {"QuantitySold", 1.0},
                           {"Price", 1.0},
                           {"Total", 1.0},
                           {"Tax", 0.0},
                           {"CustNum", 2.0},
                           {"OrderNumber", 2000.0},
                           {"Date", "3/9/24"}});
  const fs::path pdf = shop.run("Sales.rpt");
  ASSERT_GE(pdfPages(pdf), 2);
  const std::string second = pdfText(pdf, 2, 2);
  EXPECT_NE(second.find("Order 2000"), std::string::npos) << second;
  EXPECT_NE(pdfText(pdf).find("Order 2000: 90 line(s)"), std::string::npos)
      << "the group total counts every line";
}

TEST(Runtime, AnEmptyTablePrintsItsEmptyNotice) {
  ReportTestShop shop(0);
  const TableDef* stock = findTableDef("stock.db");
  fs::remove(shop.engine.tableFile(stock->alias, *stock));
  TableFile::create(*stock, shop.engine.tableFile(stock->alias, *stock));
  const std::string text = pdfText(shop.run("stock.rpt", {{"filter", "reorder"}}));
  EXPECT_NE(text.find("No items to list."), std::string::npos) << text;
  EXPECT_NE(text.find("0 item(s)"), std::string::npos) << text;
}

TEST(ReportFileDialog, TakesDirectoryAndNameOfEitherKindOfPath) {
  auto w = splitReportPath("c:\\Shop\\Database Files\\stock.rpt", "x");
  EXPECT_EQ(w.directory + "|" + w.name, "c:\\Shop\\Database Files\\|stock.rpt");
  auto p = splitReportPath("/home/shop/reorder.rpt", "x");
  EXPECT_EQ(p.directory + "|" + p.name, "/home/shop/|reorder.rpt");
  auto bare = splitReportPath("stock.rpt", "c:\\Reports");
  EXPECT_EQ(bare.directory + "|" + bare.name, "c:\\Reports\\|stock.rpt");
  auto inFolder = splitReportPath("stock.rpt", reportFileDialog("Print", "x").initialDirectory);
  EXPECT_EQ(inFolder.directory, kReportDirectory);
}

}  // namespace
}  // namespace corvanta::test
