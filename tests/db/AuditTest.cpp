// The audit finds each kind of disagreement planted in a generated shop, and nothing in the
// shop as generated; it never changes a table.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "Audit.h"
#include "DbToolTestUtil.h"
#include "Generate.h"
#include "data/engine/TableFile.h"

namespace corvanta::test {
namespace {

class AuditTest : public DbToolTest {
 protected:
  AuditTest() {
    GenerateOptions o;
    o.stock = 60;
    o.clients = 25;
    o.sales = 400;
    o.billing = 100;
    generateTables(*engine, o);
  }

  // Every finding as "kind order item".
  std::vector<std::string> findings(AuditSummary* summary = nullptr) {
    std::vector<std::string> out;
    AuditSummary s = auditTables(*engine, [&](const AuditFinding& f) {
      out.push_back(std::string(auditKindName(f.kind)) + " " + f.order +
                    (f.item ? " " + std::to_string(f.item) : ""));
    });
    if (summary) *summary = s;
    return out;
  }

  // Sets fields of the billing record of an order.
  void setBilling(double order, const std::map<std::string, Value>& values) {
    TableFile f = file("BillingShipping");
    auto row = f.findEqual(f.def().indexes.front(), order);
    ASSERT_TRUE(row);
    for (const auto& [name, v] : values)
      row->values[static_cast<size_t>(f.def().fieldIndex(name))] = v;
    f.update(row->rowid, row->values);
  }
  double billingValue(double order, const std::string& field) {
    TableFile f = file("BillingShipping");
    auto row = f.findEqual(f.def().indexes.front(), order);
    return std::get<double>(row->values[static_cast<size_t>(f.def().fieldIndex(field))]);
  }
  // The "Item" of the first line of an order.
  std::int64_t firstLine(double order) {
    TableFile f = file("NewSales");
    return f.findEqual(*f.def().findIndex("ByOrderNumber"), order)->rowid;
  }
};

TEST_F(AuditTest, GeneratedShopHasNothingToReport) {
  AuditSummary s;
  EXPECT_EQ(findings(&s), std::vector<std::string>{});
  EXPECT_EQ(s.lines, 400);
  EXPECT_EQ(s.billingRecords, 100);
  EXPECT_EQ(s.orders, 100);
  EXPECT_EQ(s.subCentGrandTotal + s.subCentTotalTax, 0);
}

TEST_F(AuditTest, FindsEveryKindOfPlantedDisagreement) {
  setBilling(1002, {{"GrandTotal", billingValue(1002, "GrandTotal") + 0.01}});
  setBilling(1003, {{"TotalTax", billingValue(1003, "TotalTax") - 1.5}});
  // Below a cent: counted, not reported.
  setBilling(1004, {{"GrandTotal", billingValue(1004, "GrandTotal") + 0.004}});
  setBilling(1005, {{"CustNum", 4242.0}});
  {
    TableFile f = file("BillingShipping");
    f.remove(f.findEqual(f.def().indexes.front(), 1006.0)->rowid);
    std::vector<Value> orphan(f.def().fields.size());
    orphan[0] = 99999.0;
    orphan[1] = 1.0;
    f.insert(orphan);
  }
  const std::int64_t badPart = firstLine(1007), badCustomer = firstLine(1008);
  {
    TableFile f = file("NewSales");
    auto row = f.byRowid(badPart);
    row->values[1] = std::string("NO-SUCH-PART");
    f.update(row->rowid, row->values);
    row = f.byRowid(badCustomer);
    row->values[4] = 777.0;
    f.update(row->rowid, row->values);
  }
  AuditSummary s;
  const auto found = findings(&s);
  EXPECT_EQ(found, (std::vector<std::string>{
                       "grand-total 1002",
                       "total-tax 1003",
                       "no-billing-record 1006",
                       "unknown-part 1007 " + std::to_string(badPart),
                       "unknown-line-customer 1008 " + std::to_string(badCustomer),
                       "unknown-billing-customer 1005",
                       "no-lines 99999",
                   }));
  EXPECT_EQ(s.subCentGrandTotal, 1);
  EXPECT_EQ(s.findings, static_cast<std::int64_t>(found.size()));
}

TEST_F(AuditTest, CommandPrintsTableOrCsvAndNeverWrites) {
  setBilling(1010, {{"GrandTotal", 0.0}});
  const std::string before = fingerprint();
  auto [status, out, err] = runTool({"audit"});
  EXPECT_EQ(status, 1) << err;
  EXPECT_NE(out.find("1010"), std::string::npos) << out;
  EXPECT_NE(out.find("GrandTotal differs"), std::string::npos) << out;
  EXPECT_NE(out.find("1 finding(s)."), std::string::npos) << out;
  auto [csvStatus, csv, csvErr] = runTool({"audit", "--csv"});
  EXPECT_EQ(csvStatus, 1) << csvErr;
  std::istringstream lines(csv);
  std::string header, row, extra;
  std::getline(lines, header);
  std::getline(lines, row);
  EXPECT_EQ(header, "Finding,OrderNumber,Item,Stored,Expected,Detail");
  EXPECT_EQ(row.rfind("grand-total,1010,,0.00,", 0), 0u) << row;
  EXPECT_FALSE(std::getline(lines, extra)) << "more than one finding: " << extra;
  EXPECT_EQ(fingerprint(), before);

  setBilling(1010, {{"GrandTotal", 12345.0}});
  EXPECT_EQ(std::get<0>(runTool({"audit", "--bogus"})), 2);
}

TEST_F(AuditTest, MissingTableIsAnErrorNotCreated) {
  std::filesystem::remove(dir.path() / "DatabaseFilesQVX" / "BillingShipping.DB");
  auto [status, out, err] = runTool({"audit"});
  EXPECT_EQ(status, 1);
  EXPECT_NE(err.find("BillingShipping.DB"), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "DatabaseFilesQVX" / "BillingShipping.DB"));
}

TEST(CompareFigures, CentsDifferFloatRoundingDoesNot) {
  EXPECT_EQ(compareFigures(10.01f, 10.00f, 1), FigureMatch::Differs);
  EXPECT_EQ(compareFigures(10.00, 10.004, 1), FigureMatch::SubCent);
  // A thousand-dollar total summed from float lines may be off in the last place.
  EXPECT_EQ(compareFigures(static_cast<float>(1234.56), 1234.56, 12), FigureMatch::Equal);
  EXPECT_EQ(compareFigures(0, 0, 0), FigureMatch::Equal);
}

}  // namespace
}  // namespace corvanta::test
