// A list's columns are as wide as their headings and short values need, whatever shares the
// definition gave them: read back from the PDF, where each word was drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "ReportTestShop.h"
#include "reports/ColumnFit.h"

namespace corvanta::test {
namespace {

namespace fs = std::filesystem;

// The words drawn on the same line as `anchor` (the first word with that text), left to right.
std::vector<PdfWord> lineOf(const std::vector<PdfWord>& words, const std::string& anchor) {
  auto a =
      std::find_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == anchor; });
  if (a == words.end()) return {};
  std::vector<PdfWord> line;
  for (const auto& w : words)
    if (w.page == a->page && std::abs(w.top - a->top) < 1.0) line.push_back(w);
  std::sort(line.begin(), line.end(),
            [](const PdfWord& x, const PdfWord& y) { return x.left < y.left; });
  return line;
}

std::string texts(const std::vector<PdfWord>& line) {
  std::string s;
  for (const auto& w : line) s += (s.empty() ? "" : " ") + w.text;
  return s;
}

// The line holds exactly these cells' texts, left to right, each cell standing clear of the
// next by the cells' padding (3pt each side): no text runs out of its column into the next.
void expectCells(const std::vector<PdfWord>& line, const std::vector<std::string>& cells) {
  size_t w = 0;
  for (size_t c = 0; c < cells.size(); ++c) {
    if (c > 0 && w < line.size()) {
      EXPECT_GE(line[w].left - line[w - 1].right, 5.5)
          << "\"" << cells[c - 1] << "\" runs into \"" << cells[c] << "\" in: " << texts(line);
    }
    std::string text;
    for (; w < line.size() && text.size() < cells[c].size(); ++w)
      text += (text.empty() ? "" : " ") + line[w].text;
    EXPECT_EQ(text, cells[c]) << "in: " << texts(line);
  }
  EXPECT_EQ(w, line.size()) << "more than these cells in: " << texts(line);
}

TEST(ColumnFit, WidensWhatIsShortFromWhatCanSpareAndKeepsOtherSectionsOnTheGrid) {
  // Four columns of 100, 20, 20, 60: the second needs 50, the third 30.
  const reports::ColumnFit fit({100, 20, 20, 60}, {40, 50, 30, 0});
  const auto& e = fit.fittedEdges();
  ASSERT_EQ(e.size(), 5u);
  EXPECT_DOUBLE_EQ(e[4], 200) << "the line keeps its width";
  EXPECT_DOUBLE_EQ(e[2] - e[1], 50);
  EXPECT_DOUBLE_EQ(e[3] - e[2], 30);
  // 40 missing, taken in proportion to what can be spared: 60 from the first, 60 from the last.
  EXPECT_DOUBLE_EQ(e[1], 80);
  EXPECT_DOUBLE_EQ(e[4] - e[3], 40);
  // A footer cell spanning the last two columns ends where they end; a point inside a column
  // keeps its share of it.
  EXPECT_DOUBLE_EQ(fit.map(120), e[2]);
  EXPECT_DOUBLE_EQ(fit.map(200), 200);
  EXPECT_DOUBLE_EQ(fit.map(50), 40);

  // Nothing short: nothing moves.
  const reports::ColumnFit same({50, 50}, {10, 49});
  EXPECT_DOUBLE_EQ(same.map(50), 50);

  // More needed than the line holds: each column gets its need scaled down alike.
  const reports::ColumnFit tight({50, 50}, {150, 50});
  EXPECT_DOUBLE_EQ(tight.fittedEdges()[1], 75);
}

TEST(ColumnWidths, NarrowColumnsStillHoldTheirHeadingsAndShortValuesOnOneLine) {
  ReportTestShop shop(0);
  shop.seed("stock.db", {{"PartNumber", "P7"},
                         {"Description", "Deck stain, cedar, 1 gal"},
                         {"Quantity", 100.0},
                         {"MinimumQuantity", 12345.0},
                         {"Category", "gal"}});
  // A definition whose author gave the numbers 3% of a portrait line each.
  const fs::path dir = shop.dir.path() / "mine";
  fs::create_directories(dir);
  std::ofstream(dir / "narrow.rpt")
      << "<!-- report\nreport: Narrow\npage: letter portrait\nfont: 10pt\nrows: stock.db\n-->\n"
         "<!-- section columns -->\n<tr class=\"bold\"><td width=\"10%\">Part</td>"
         "<td width=\"3%\" align=\"right\">Minimum</td><td width=\"3%\" align=\"right\">In "
         "Stock</td><td width=\"3%\">Unit</td><td>Description</td></tr>\n"
         "<!-- section row -->\n<tr><td width=\"10%\">{{PartNumber}}</td>"
         "<td width=\"3%\" align=\"right\">{{MinimumQuantity}}</td>"
         "<td width=\"3%\" align=\"right\">{{Quantity}}</td><td width=\"3%\">{{Category}}</td>"
         "<td>{{Description}}</td></tr>\n"
         "<!-- section report-footer -->\n<tr><td width=\"10%\">Total</td><td width=\"6%\" "
         "align=\"right\">{{sum(Quantity)}}</td><td>units</td></tr>\n";
  const auto words = pdfWords(shop.run("narrow.rpt", {}, dir.string() + "/"));

  const auto headings = lineOf(words, "Minimum");
  expectCells(headings, {"Part", "Minimum", "In Stock", "Unit", "Description"});
  const auto row = lineOf(words, "P7");
  expectCells(row, {"P7", "12345", "100", "gal", "Deck stain, cedar, 1 gal"});
  // Each value stands under its heading, right-aligned numbers ending where theirs ends.
  auto at = [](const std::vector<PdfWord>& line, const std::string& t) {
    return *std::find_if(line.begin(), line.end(), [&](const PdfWord& w) { return w.text == t; });
  };
  EXPECT_NEAR(at(row, "12345").right, at(headings, "Minimum").right, 0.5);
  EXPECT_NEAR(at(row, "100").right, at(headings, "Stock").right, 0.5);
  EXPECT_NEAR(at(row, "gal").left, at(headings, "Unit").left, 0.5);
  // A footer cell spanning both number columns ends where the second one ends.
  const auto total = lineOf(words, "Total");
  ASSERT_EQ(texts(total), "Total 153 units") << "the test shop's four items and this one";
  EXPECT_NEAR(at(total, "153").right, at(headings, "Stock").right, 0.5);
}

TEST(ColumnWidths, ShippedStockAndClientListsKeepEveryHeadingAndValueWhole) {
  ReportTestShop shop(3);
  shop.seed("stock.db", {{"PartNumber", "E500"},
                         {"Description", "Exterior paint, white, 1 gal"},
                         {"Price", 1234.5},
                         {"Quantity", 100.0},
                         {"MinimumQuantity", 1000.0},
                         {"DiscountPrice1", 1200.0},
                         {"Category", "Paint"}});
  for (const char* filter : {"", "reorder"}) {
    const auto words = pdfWords(shop.run("stock.rpt", {{"filter", filter}}));
    expectCells(lineOf(words, "Minimum"),
                {"Part Number", "Description", "Category", "In Stock", "Minimum", "Retail",
                 "Disc. 1", "Disc. 2", "Disc. 3", "Status"});
    expectCells(lineOf(words, "E500"), {"E500", "Exterior paint, white, 1 gal", "Paint", "100",
                                        "1000", "1,234.50", "1,200.00", "RE-ORDER"});
  }

  const auto words = pdfWords(shop.run("client"));
  expectCells(lineOf(words, "Shipping"),
              {"No.", "Name", "Shipping Address", "Billing Address", "Phone"});
  expectCells(lineOf(words, "Doe,"),
              {"1", "Doe, Jane", "12 Elm Street", "PO Box 77", "(217) 555-0100"});
}

}  // namespace
}  // namespace corvanta::test
