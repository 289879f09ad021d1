// Reading definitions, and what a person is told about a definition that cannot be run:
// the message names the file, and nothing is printed or written.
#include <gtest/gtest.h>

#include <fstream>

#include "ReportTestShop.h"
#include "reports/ReportDefinition.h"
#include "ui/Error.h"

namespace corvanta::test {
namespace {

namespace fs = std::filesystem;
using reports::parseDefinition;
using reports::parseLength;

const char* kMinimal = R"(<!-- report
report: Parts
rows: stock.db
-->
<!-- section row -->
<tr><td>{{PartNumber}}</td></tr>
)";

TEST(Definition, ReadsTheHeaderAndSections) {
  const auto def = parseDefinition(R"(<!-- report
report:  Items
page:    a4 landscape
margins: 1in 0.5in
font:    9pt DejaVu Serif
rows:    NewSales by ByOrderNumber
where:   OrderNumber = $OrderNumber
filter Big: Total > 100
title big:  Big Lines
lookup:  item = stock.db where PartNumber = PartNumber
lookup:  rate = TaxRate first
group:   OrderNumber
stripes: yes
# a remark
-->
<!-- section row --><tr><td>x</td></tr>
<!-- a comment inside a section stays in it -->
<!-- section report-footer --><p>end</p>
)",
                                   "t.rpt");
  EXPECT_EQ(def.title, "Items");
  EXPECT_EQ(def.pageSize, "a4");
  EXPECT_TRUE(def.landscape);
  EXPECT_EQ(def.margins[0], 72);
  EXPECT_EQ(def.margins[1], 36);
  EXPECT_EQ(def.margins[2], 72);
  EXPECT_EQ(def.fontSize, 9);
  EXPECT_EQ(def.fontFamily, "DejaVu Serif");
  EXPECT_EQ(def.rowsTable.text, "NewSales");
  EXPECT_EQ(def.rowsIndex.text, "ByOrderNumber");
  ASSERT_EQ(def.where.size(), 1u);
  EXPECT_EQ(def.where[0].line, 7);
  EXPECT_EQ(def.filters.at("big")[0].text, "Total > 100");
  EXPECT_EQ(def.filterTitles.at("big"), "Big Lines");
  ASSERT_EQ(def.lookups.size(), 2u);
  EXPECT_EQ(def.lookups[0].field, "PartNumber");
  EXPECT_EQ(def.lookups[0].key, "PartNumber");
  EXPECT_TRUE(def.lookups[1].field.empty());
  EXPECT_TRUE(def.stripes);
  EXPECT_NE(def.section("row")->text.find("a comment inside"), std::string::npos);
  EXPECT_EQ(def.section("report-footer")->text, "<p>end</p>\n");
}

TEST(Definition, LabelSheetGeometry) {
  const auto def = parseDefinition(R"(<!-- report
report: L
rows: clients.DB
labels: 3 x 10, size 2.625in x 1in, origin 0.1875in 0.5in, pitch 2.75in 1in
-->
<!-- section label -->{{LastName}}
)",
                                   "l");
  ASSERT_TRUE(def.labels);
  EXPECT_EQ(def.labels->columns * def.labels->rows, 30);
  EXPECT_DOUBLE_EQ(def.labels->width, 189);
  EXPECT_DOUBLE_EQ(def.labels->pitchX, 198);
  EXPECT_DOUBLE_EQ(def.labels->left, 13.5);
  EXPECT_DOUBLE_EQ(def.labels->top + 10 * def.labels->pitchY + def.labels->top, 11 * 72.0);
  EXPECT_EQ(parseLength("25.4mm"), 72);
  EXPECT_EQ(parseLength("2.54cm"), 72);
  EXPECT_EQ(parseLength("0"), 0);
  EXPECT_EQ(parseLength("12"), std::nullopt);
  EXPECT_EQ(parseLength("1 in"), std::nullopt);
}

std::string parseError(const std::string& text) {
  try {
    parseDefinition(text, "bad.rpt");
  } catch (const Error& e) {
    return e.what();
  }
  return "no error";
}

TEST(Definition, SyntaxErrorsNameTheFileAndLine) {
  EXPECT_EQ(parseError("<p>hello</p>"),
            "Report definition \"bad.rpt\": it does not start with its <!-- report ... --> header");
  EXPECT_EQ(parseError("<!-- report\nreport: x\n"),
            "Report definition \"bad.rpt\", line 1: the header comment is not closed");
  EXPECT_EQ(parseError("<!-- report\nreport: x\nrows: stock.db\npaper: a4\n-->"),
            "Report definition \"bad.rpt\", line 4: unknown setting \"paper\"");
  EXPECT_EQ(parseError("<!-- report\nreport: x\n-->"),
            "Report definition \"bad.rpt\", line 1: the header has no \"rows:\" table");
  EXPECT_EQ(parseError("<!--\nrows: stock.db\n-->"),
            "Report definition \"bad.rpt\", line 1: the header has no \"report:\" title");
  EXPECT_EQ(
      parseError("<!-- report\nreport: x\nrows: stock.db\nmargins: 2 inches\n-->"),
      "Report definition \"bad.rpt\", line 4: \"2\" is no length (write e.g. 0.5in, 12mm or 36pt)");
  EXPECT_EQ(parseError(std::string(kMinimal) + "<!-- section footer -->"),
            "Report definition \"bad.rpt\", line 7: unknown section \"footer\"");
  EXPECT_EQ(parseError(std::string(kMinimal) + "<!-- section row -->"),
            "Report definition \"bad.rpt\", line 7: section \"row\" appears twice");
  EXPECT_EQ(parseError("<!-- report\nreport: x\nrows: stock.db\n-->\n<p>stray</p>"),
            "Report definition \"bad.rpt\", line 4: text before the first section");
  EXPECT_EQ(parseError("<!-- report\nreport: x\nrows: stock.db\n-->\n"),
            "Report definition \"bad.rpt\": the report has no \"row\" section");
}

// Definitions that read well but do not fit the tables, run as a window runs them.
class BadDefinition : public ::testing::Test {
 protected:
  std::string runText(const std::string& text, std::map<std::string, std::string> params = {}) {
    const fs::path dir = shop.dir.path() / "defs";
    fs::create_directories(dir);
    std::ofstream(dir / "mine.rpt") << text;
    try {
      shop.run("mine.rpt", std::move(params), dir.string() + "/");
    } catch (const Error& e) {
      EXPECT_FALSE(shop.dialogs.hasUnread()) << "told of a PDF that was not written";
      EXPECT_FALSE(fs::exists(shop.dir.path() / "out") && !fs::is_empty(shop.dir.path() / "out"));
      return e.what();
    }
    return "no error";
  }
  ReportTestShop shop{0};
};

TEST_F(BadDefinition, UnknownTableIndexOrFieldNamesTheFile) {
  EXPECT_EQ(
      runText("<!-- report\nreport: x\nrows: Stocks\n-->\n<!-- section row --><tr><td>1</td></tr>"),
      "Report definition \"mine.rpt\", line 3: unknown table \"Stocks\"");
  EXPECT_EQ(runText("<!-- report\nreport: x\nrows: stock.db by byPrice\n-->\n<!-- section row "
                    "--><tr><td>1</td></tr>"),
            "Report definition \"mine.rpt\", line 3: table stock.db has no index \"byPrice\"");
  EXPECT_EQ(runText(std::string(kMinimal) + "<!-- section report-footer --><p>{{sum(Weight)}}</p>"),
            "Report definition \"mine.rpt\", line 7: unknown field \"Weight\" in \"sum(Weight)\"");
  EXPECT_EQ(runText("<!-- report\nreport: x\nrows: stock.db\nwhere: Qty < 1\n-->\n<!-- section row "
                    "--><tr><td>1</td></tr>"),
            "Report definition \"mine.rpt\", line 4: unknown field \"Qty\" in \"Qty < 1\"");
}

TEST_F(BadDefinition, LookupsMustBeIndexedAndKnown) {
  const std::string head = "<!-- report\nreport: x\nrows: NewSales\n";
  const std::string body = "-->\n<!-- section row --><tr><td>{{c.LastName}}</td></tr>";
  EXPECT_EQ(runText(head + "lookup: c = clients.DB where Zip = CustNum\n" + body),
            "Report definition \"mine.rpt\", line 4: table clients.DB has no index on \"Zip\" to "
            "look it up by");
  EXPECT_EQ(runText(head + "lookup: c = clients.DB where CustNo = CustNum\n" + body),
            "Report definition \"mine.rpt\", line 4: unknown field \"CustNo\" in table clients.DB");
  EXPECT_EQ(
      runText(head + "lookup: c = clients.DB where CustNum = CustNum\n" +
              "-->\n<!-- section row --><tr><td>{{c.Nickname}}</td></tr>"),
      "Report definition \"mine.rpt\", line 6: unknown field \"Nickname\" in table clients.DB");
  EXPECT_EQ(runText(head + "-->\n<!-- section row --><tr><td>{{d.LastName}}</td></tr>"),
            "Report definition \"mine.rpt\", line 5: unknown lookup \"d\"");
}

TEST_F(BadDefinition, MissingParametersAndFiltersAreNamed) {
  const std::string oneOrder =
      "<!-- report\nreport: x\nrows: NewSales\nwhere: OrderNumber = $OrderNumber\n-->\n"
      "<!-- section row --><tr><td>{{PartNumber}}</td></tr>";
  EXPECT_EQ(runText(oneOrder),
            "The report \"mine.rpt\" needs the parameter OrderNumber, which this run does not give "
            "(line 4)");
  EXPECT_EQ(runText(kMinimal, {{"filter", "reorder"}}),
            "The report definition \"mine.rpt\" has no \"reorder\" filter");
  EXPECT_EQ(runText(oneOrder, {{"ordernumber", "5"}}), "no error") << "parameter names ignore case";
}

TEST_F(BadDefinition, MissingFileIsNamedAndNothingIsWritten) {
  try {
    shop.run("Nothing.rpt");
    FAIL() << "no error";
  } catch (const Error& e) {
    const std::string text = e.what();
    EXPECT_EQ(text.rfind("Cannot find the report definition \"C:\\Program "
                         "Files\\DARROWMERE\\DataBase Files\\Nothing.rpt\"",
                         0),
              0u)
        << text;
  }
  EXPECT_FALSE(shop.dialogs.hasUnread());
  EXPECT_FALSE(fs::exists(shop.dir.path() / "out"));
  EXPECT_THROW(shop.run(""), Error);
}

}  // namespace
}  // namespace corvanta::test
