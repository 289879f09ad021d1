// Every definition the shop gets renders against the seeded shop, and its paper says what it
// must: the order's lines and totals, only what the report is about, masked card numbers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ReportTestShop.h"

namespace corvanta::test {
namespace {

namespace fs = std::filesystem;

// With CORVANTA_REPORT_SAMPLES set, the PDFs are kept there (to look at them).
fs::path keep(const fs::path& pdf, const std::string& name) {
  if (const char* dir = std::getenv("CORVANTA_REPORT_SAMPLES"); dir && *dir)
    fs::copy_file(pdf, fs::path(dir) / (name + ".pdf"), fs::copy_options::overwrite_existing);
  return pdf;
}

TEST(ShippedReports, InvoiceShowsTheOrdersLinesTotalsAndCustomer) {
  ReportTestShop shop;
  const auto pdf =
      keep(shop.run("invoice.rpt", {{"OrderNumber", "1001"}, {"CustNum", "1"}}), "invoice");
  const std::string text = pdfText(pdf);
  for (const char* want :
       {"INVOICE", "Harbor Lane Hardware", "1001", "Jane Doe", "PO Box 77", "12 Elm Street", "A100",
        "Claw hammer, 16 oz", "37.50", "B200", "10.00", "47.50", "3.33", "$50.83", "PAID"})
    EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
  EXPECT_EQ(text.find("C300"), std::string::npos) << "a line of another order";
}

TEST(ShippedReports, InvoiceOfACardOrderMasksTheCardAndAddsShipping) {
  ReportTestShop shop;
  const std::string text = pdfText(
      keep(shop.run("invoice.rpt", {{"OrderNumber", "1002"}, {"CustNum", "2"}}), "invoice-card"));
  EXPECT_NE(text.find("**** **** **** 1234"), std::string::npos) << text;
  EXPECT_EQ(text.find("4111"), std::string::npos) << text;
  EXPECT_NE(text.find("7.50"), std::string::npos);
  EXPECT_NE(text.find("$29.14"), std::string::npos) << text;
  EXPECT_NE(text.find("BALANCE DUE"), std::string::npos) << "no payment recorded yet";
}

TEST(ShippedReports, ReceiptOfOneOrder) {
  ReportTestShop shop;
  const auto pdf =
      keep(shop.run("Reciept.rpt", {{"OrderNumber", "1002"}, {"CustNum", "2"}}), "receipt");
  const std::string text = pdfText(pdf);
  for (const char* want : {"RECEIPT", "John Smith", "C300", "Tape measure", "19.99", "1.65", "7.50",
                           "29.14", "**** **** **** 1234"})
    EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
  EXPECT_EQ(text.find("4111"), std::string::npos);
  EXPECT_EQ(text.find("A100"), std::string::npos);
}

TEST(ShippedReports, PackingSlipHasAddressAndQuantitiesButNoPrices) {
  ReportTestShop shop;
  const auto pdf = keep(shop.run("PackagingSlip.rpt", {{"OrderNumber", "1002"}, {"CustNum", "2"}}),
                        "packing-slip");
  const std::string text = pdfText(pdf);
  for (const char* want : {"PACKING SLIP", "John Smith", "48 Harbor Road", "Portland, OR 97201",
                           "C300", "Tape measure", "UPS Ground", "Sam"})
    EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
  for (const char* price : {"19.99", "29.14", "$"})
    EXPECT_EQ(text.find(price), std::string::npos) << price << "\n" << text;
}

TEST(ShippedReports, SalesReportListsEveryOrderWithTotals) {
  ReportTestShop shop;
  const auto pdf = keep(shop.run("Sales.rpt"), "sales");
  const std::string text = pdfText(pdf);
  for (const char* want :
       {"Sales Report", "1001", "1002", "Doe, Jane", "Smith, John", "A100", "B200", "C300", "47.50",
        "3.33", "50.83", "19.99", "1.65", "21.64", "67.49", "4.97", "72.46"})
    EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
}

TEST(ShippedReports, SalesReportKeepsToADateRange) {
  ReportTestShop shop;
  const std::string text =
      pdfText(shop.run("Sales.rpt", {{"FromDate", "3/5/24"}, {"ToDate", "3/31/24"}}));
  EXPECT_NE(text.find("1002"), std::string::npos) << text;
  EXPECT_EQ(text.find("A100"), std::string::npos) << text;
}

TEST(ShippedReports, StockReportListsEveryItemAndTheReorderListOnlyThoseAtOrBelowMinimum) {
  ReportTestShop shop;
  const std::string all = pdfText(keep(shop.run("stock.rpt"), "stock"));
  for (const char* part : {"A100", "B200", "C300", "D400"})
    EXPECT_NE(all.find(part), std::string::npos) << part;
  EXPECT_NE(all.find("printed 3/7/24"), std::string::npos) << "the run's calendar\n" << all;

  const auto pdf = keep(shop.run("stock.rpt", {{"filter", "reorder"}}), "reorder");
  const std::string reorder = pdfText(pdf);
  EXPECT_NE(reorder.find("Items to Re-Order"), std::string::npos) << reorder;
  EXPECT_EQ(reorder.find("A100"), std::string::npos) << "40 in stock, minimum 10";
  for (const char* part : {"B200", "C300", "D400"})
    EXPECT_NE(reorder.find(part), std::string::npos) << part;
}

TEST(ShippedReports, ClientListInNameOrder) {
  ReportTestShop shop;
  const std::string text = pdfText(
      keep(shop.run("client", {}, "c:\\Program Files\\DARROWMERE\\Database Files\\"), "client"));
  for (const char* want : {"Doe, Jane", "Smith, John", "(217) 555-0100", "Springfield, IL 62701"})
    EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
  EXPECT_LT(text.find("Abbott 1"), text.find("Doe, Jane"));
  EXPECT_LT(text.find("Doe, Jane"), text.find("Smith, John"));
}

TEST(ShippedReports, MailingLabelsThirtyToASheet) {
  ReportTestShop shop;  // 37 clients
  const auto pdf = keep(
      shop.run("clientlbs5160", {}, "c:\\Program Files\\DARROWMERE\\Database Files\\"), "labels");
  EXPECT_EQ(pdfPages(pdf), 2);
  // Every label ends with "ST 12345".
  EXPECT_EQ(matches(pdfText(pdf, 1, 1), R"([A-Z]{2} \d{5})"), 30);
  EXPECT_EQ(matches(pdfText(pdf, 2, 2), R"([A-Z]{2} \d{5})"), 7);
  EXPECT_NE(pdfText(pdf).find("Jane Doe"), std::string::npos);
}

// A shop's own label definition, in a folder of its own beside the shop's data: a seven-line
// address on the common 30-up sheet, or on labels of the given height.  Returns the folder.
std::string writeSevenLineLabels(ReportTestShop& shop, const std::string& height) {
  const fs::path dir = shop.dir.path() / "own reports";
  fs::create_directories(dir);
  std::ofstream(dir / "seven.rpt")
      << "<!-- report\nreport: Seven Line Labels\npage: letter portrait\nfont: 10pt\n"
         "rows: clients.DB by byLastName\n"
         "labels: 3 x 10, size 2.625in x "
      << height
      << ", origin 0.1875in 0.5in, pitch 2.75in 1in, padding 0.14in\n-->\n"
         "<!-- section label -->\n<p style=\"margin:0\">{{FirstName}} {{LastName}}<br>"
         "Attn: Receiving<br>Building 7<br>{{Street}}<br>Suite 100<br>Dock 4<br>"
         "{{City}}, {{State}} {{Zip}}</p>\n";
  return dir.string() + "/";
}

TEST(ShippedReports, ASevenLineAddressFitsItsLabelSetSmallerOrThePersonIsTold) {
  ReportTestShop shop(3);
  const auto pdf =
      keep(shop.run("seven.rpt", {}, writeSevenLineLabels(shop, "1in")), "seven-line-labels");
  EXPECT_EQ(shop.told.find("cut"), std::string::npos) << shop.told;
  EXPECT_EQ(matches(pdfText(pdf), R"([A-Z]{2} \d{5})"), 5) << "every label keeps its last line";

  // Labels too small for seven lines at any readable size: printed, and the person told
  // which ones were cut.
  shop.run("seven.rpt", {}, writeSevenLineLabels(shop, "0.5in"));
  const std::string& told = shop.told;
  EXPECT_NE(told.find("were too small for their text"), std::string::npos) << told;
  EXPECT_NE(told.find("page 1, label 1;"), std::string::npos) << told;
  EXPECT_NE(told.find("page 1, label 5."), std::string::npos) << told;
}

}  // namespace
}  // namespace corvanta::test
