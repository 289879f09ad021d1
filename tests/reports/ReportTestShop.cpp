#include "ReportTestShop.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <stdexcept>

#include "data/engine/TableFile.h"

namespace corvanta::test {

namespace fs = std::filesystem;

namespace {

EngineConfig configFor(const fs::path& dir) {
  EngineConfig cfg = EngineConfig::forDataDirectory(dir);
  return cfg;
}

}  // namespace

ReportTestShop::ReportTestShop(int extraClients)
    : engine(configFor(dir.path())),
      runtime(engine, dialogs,
              {reports::PrintingReportRuntime::Destination::PdfFile, dir.path() / "out",
               Calendar::fixed({2024, 3, 7})}) {
  engine.createMissingTables();
  const char* lastNames[] = {"Abbott", "Baker", "Castillo", "Dunn", "Ellis", "Fischer", "Garcia"};
  seed("clients.DB", {{"LastName", "Doe"},
                      {"FirstName", "Jane"},
                      {"Street", "12 Elm Street"},
                      {"City", "Springfield"},
                      {"State", "IL"},
                      {"Zip", "62701"},
                      {"Street/2", "PO Box 77"},
                      {"City/2", "Springfield"},
                      {"State/2", "IL"},
                      {"Zip/2", "62705"},
                      {"Area Code", "217"},
                      {"Phone", "555-0100"}});
  seed("clients.DB", {{"LastName", "Smith"},
                      {"FirstName", "John"},
                      {"Street", "48 Harbor Road"},
                      {"City", "Portland"},
                      {"State", "OR"},
                      {"Zip", "97201"},
                      {"Area Code", "503"},
                      {"Phone", "555-0199"}});
  for (int i = 0; i < extraClients; ++i)
    seed("clients.DB", {{"LastName", std::string(lastNames[i % 7]) + " " + std::to_string(i + 1)},
                        {"FirstName", "Pat"},
                        {"Street", std::to_string(100 + i) + " Main Street"},
                        {"City", "Salem"},
                        {"State", "OR"},
                        {"Zip", "97301"}});

  auto item = [&](const char* part, const char* desc, double price, double qty, double min) {
    seed("stock.db", {{"PartNumber", part},
                      {"Description", desc},
                      {"Price", price},
                      {"Quantity", qty},
                      {"MinimumQuantity", min},
                      {"DiscountPrice1", price * 0.95},
                      {"DiscountPrice2", price * 0.9},
                      {"DiscountPrice3", price * 0.85},
                      {"Category", "Hardware"}});
  };
  item("A100", "Claw hammer, 16 oz", 12.5, 40, 10);
  item("B200", "Wood screws #8, box of 100", 5, 3, 10);
  item("C300", "Tape measure, 25 ft", 19.99, 10, 10);
  item("D400", "Utility knife", 8.75, 0, 5);

  auto line = [&](double order, double cust, const char* date, const char* part, double qty,
                  double price, double tax, const char* type, const char* pick, const char* card) {
    seed("NewSales", {{"PartNumber", part},
                      {"QuantitySold", qty},
                      {"Price", price},
                      {"CustNum", cust},
                      {"OrderNumber", order},
                      {"Date", date},
                      {"TypeOfSale", type},
                      {"CreditCardNumber", card},
                      {"CreditCardType", *card ? "Visa" : ""},
                      {"Tax", tax},
                      {"Total", qty * price},
                      {"PickUpShip", pick}});
  };
  line(1001, 1, "3/4/24", "A100", 3, 12.5, 2.625, "cash", "PickUp", "");
  line(1002, 2, "3/5/24", "C300", 1, 19.99, 1.649175, "credit card", "Ship", "4111 1111 1111 1234");
  line(1001, 1, "3/4/24", "B200", 2, 5, 0.7, "cash", "PickUp", "");
  seed("BillingShipping", {{"OrderNumber", 1001.0},
                           {"CustNum", 1.0},
                           {"Date", "3/4/24"},
                           {"PaymentStatus", "recieved"},
                           {"DatePaymentRecieved", "3/4/24"},
                           {"ShippingCharge", 0.0},
                           {"GrandTotal", 50.825},
                           {"TotalTax", 3.325}});
  seed("BillingShipping", {{"OrderNumber", 1002.0},
                           {"CustNum", 2.0},
                           {"Date", "3/5/24"},
                           {"PackedBy", "Sam"},
                           {"DateShipped", "3/6/24"},
                           {"ShippedVia", "UPS Ground"},
                           {"ShippingCharge", 7.5},
                           {"GrandTotal", 29.139175},
                           {"TotalTax", 1.649175},
                           {"Credit Card Type", "Visa"},
                           {"Credit Card Number", "4111 1111 1111 1234"}});
}

void ReportTestShop::seed(const std::string& table, const std::map<std::string, Value>& fields) {
  const TableDef* def = findTableDef(table);
  if (!def) throw std::logic_error("no table " + table);
  auto& file = files_[def->tableName];
  if (!file) file = std::make_unique<TableFile>(*def, engine.tableFile(def->alias, *def));
  std::vector<Value> values(def->fields.size());
  for (const auto& [name, v] : fields) {
    const int i = def->fieldIndex(name);
    if (i < 0) throw std::logic_error("no field " + name);
    values[static_cast<size_t>(i)] = v;
  }
  file->insert(values);
}

fs::path ReportTestShop::run(const std::string& reportName,
                             std::map<std::string, std::string> parameters,
                             const std::string& directory) {
  ReportRun r;
  r.component = "TestReport";
  r.reportName = reportName;
  r.directory = directory;
  r.parameters = std::move(parameters);
  told.clear();
  runtime.run(r);
  told = dialogs.takeMessage();
  EXPECT_NE(told.find("was saved as a PDF file:\n" + runtime.lastPdf().string()), std::string::npos)
      << told;
  return runtime.lastPdf();
}

int occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size()))
    ++n;
  return n;
}

}  // namespace corvanta::test

namespace corvanta::test {

int matches(const std::string& text, const std::string& regex) {
  const std::regex re(regex);
  return static_cast<int>(
      std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
}

}  // namespace corvanta::test
