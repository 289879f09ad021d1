// The scenario runner keeps its contract: strict about boxes nobody expected and replies
// nobody took, exact about where and why a file failed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Runner.h"
#include "Script.h"
#include "support/TestSupport.h"

namespace corvanta::scenario {
namespace {

std::optional<Failure> runText(const std::string& text) {
  test::TempDir dir;
  std::vector<Line> lines;
  std::istringstream in(text);
  std::string s;
  int n = 0;
  while (std::getline(in, s)) {
    ++n;
    if (s.empty() || s[0] == '#') continue;
    lines.push_back(parseLine(s, n));
  }
  Runner runner(dir.path(), std::move(lines));
  return runner.run();
}

TEST(ScenarioRunner, PassesAFileWhoseExpectationsHold) {
  auto f = runText(
      "seed SalesTaxTable {\"TaxRate\": 8.5}\n"
      "expect CorvantaMainForm.DBEdit1 8.50\n"
      "expect-row SalesTaxTable {} {\"TaxRate\": 8.5}\n"
      "expect-count SalesTaxTable 1\n");
  EXPECT_FALSE(f) << f->message;
}

TEST(ScenarioRunner, ReportsTheLineAndWhatHappened) {
  auto f = runText("expect-count SalesTaxTable 0\n\nexpect CorvantaMainForm.DBEdit1 \" 1\"\n");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->line, 3);
  EXPECT_EQ(f->message, "expect CorvantaMainForm.DBEdit1 \" 1\", got \"\"");
}

TEST(ScenarioRunner, AMessageNobodyExpectedFailsTheNextActionAndTheEnd) {
  auto f = runText(
      "click CorvantaMainForm.cmdSalesTax\n"
      "type SetTaxRateForm.Edit1 x\n"
      "click SetTaxRateForm.cmdOK\n"
      "click SetTaxRateForm.cmdCancel\n");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->line, 4);
  EXPECT_EQ(f->message,
            "unexpected message: 'x' is not a valid floating point value for field 'TaxRate'");
  f = runText(
      "click CorvantaMainForm.cmdSalesTax\n"
      "type SetTaxRateForm.Edit1 x\n"
      "click SetTaxRateForm.cmdOK\n");
  ASSERT_TRUE(f);
  EXPECT_NE(f->message.find("unexpected message"), std::string::npos);
}

TEST(ScenarioRunner, AReplyNobodyTookFailsTheNextAction) {
  auto f = runText(
      "answer 5\n"
      "click CorvantaMainForm.cmdAbout\n"
      "click AboutForm.cmdOK\n");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->line, 3);
  EXPECT_NE(f->message.find("unused reply \"5\""), std::string::npos) << f->message;
}

TEST(ScenarioRunner, ABoxNobodyQueuedAReplyForFailsItsLineAndStopsTheCommand) {
  auto f = runText(
      "seed InventoryTable1 {\"PartNumber\": \"A100\", \"Quantity\": 12}\n"
      "click CorvantaMainForm.Talvesk\n"
      "click InventoryForm.cmdAddInventory\n");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->line, 3);
  EXPECT_EQ(f->message,
            "every box answered, got unexpected input query \"Add Inventory\": Enter Number of "
            "items to add:");
  // A confirmation nobody answered: the item is not deleted on a made-up answer.
  f = runText(
      "seed InventoryTable1 {\"PartNumber\": \"A100\", \"Quantity\": 12}\n"
      "click CorvantaMainForm.Talvesk\n"
      "click InventoryForm.cmdDeleteItem\n");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->line, 3);
  EXPECT_EQ(f->message.rfind("every box answered, got unexpected confirmation box", 0), 0u)
      << f->message;
}

TEST(ScenarioRunner, SetUpAfterStartAndUnknownNamesFail) {
  auto f = runText("expect-visible CorvantaMainForm\nseed SalesTaxTable {\"TaxRate\": 1}\n");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->line, 2);
  f = runText("click CorvantaMainForm.NoSuchButton\n");
  ASSERT_TRUE(f);
  EXPECT_EQ(f->message, "a control CorvantaMainForm.NoSuchButton, got none");
  EXPECT_THROW(parseLine("frobnicate x", 1), std::invalid_argument);
  EXPECT_THROW(parseLine("expect-state SalesTable sleeping", 1), std::invalid_argument);
}

TEST(ScenarioScript, ReadsJsonObjectsAndStringsAndNamesTheLineOfBadJson) {
  Line row = parseLine(
      R"(expect-row ClientsTable {"LastName": "O\"Neil", "CustNum": 7} {"City": null, "Zip": 1e3})",
      4);
  ASSERT_EQ(row.object.size(), 2u);
  EXPECT_EQ(row.object[0].first, "LastName");  // in the order written
  EXPECT_EQ(std::get<std::string>(row.object[0].second.v), "O\"Neil");
  EXPECT_EQ(std::get<double>(row.object[1].second.v), 7);
  ASSERT_EQ(row.object2.size(), 2u);
  EXPECT_TRUE(row.object2[0].second.isNull());
  EXPECT_EQ(std::get<double>(row.object2[1].second.v), 1000);
  EXPECT_EQ(parseLine(R"(answer "  \u00e9t\u00e9 ")", 1).text, "  \xc3\xa9t\xc3\xa9 ");

  for (const char* bad :
       {R"(seed ClientsTable {"LastName": })", R"(seed ClientsTable {"LastName": "x"} trailing)",
        R"(seed ClientsTable {"LastName": ["x"]})", R"(seed ClientsTable {"LastName": "x")",
        R"(answer "open)"})
    EXPECT_THROW(parseLine(bad, 1), std::invalid_argument) << bad;

  test::TempDir dir;
  const auto file = dir.path() / "bad.scn";
  std::ofstream(file) << "# a comment\n\nseed ClientsTable {\"LastName\": \"Ames\",}\n";
  try {
    readScript(file);
    FAIL() << "read";
  } catch (const ParseError& e) {
    EXPECT_EQ(e.line, 3);
    EXPECT_NE(e.reason.find("bad JSON"), std::string::npos) << e.reason;
  }
}

TEST(ScenarioRunner, ExitEndsTheApplicationAndRestartBringsItBack) {
  auto f = runText(
      "click CorvantaMainForm.cmdClose\n"
      "expect-ended\n"
      "restart\n"
      "expect-visible CorvantaMainForm\n");
  EXPECT_FALSE(f) << f->message;
}

}  // namespace
}  // namespace corvanta::scenario
