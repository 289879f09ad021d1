// The import of legacy tables, from files this test writes with pxlib's own writer.
#include <gtest/gtest.h>

#include <fstream>

#include "DbTool.h"
#include "LegacyImport.h"
#include "LegacyTable.h"
#include "LegacyWriter.h"
#include "data/engine/Sha256.h"
#include "data/engine/TableFile.h"
#include "support/TestSupport.h"
#include "ui/Error.h"

namespace corvanta::test {
namespace {

namespace fs = std::filesystem;

const TableDef& def(const char* name) {
  return *findTableDef(name);
}

// The legacy layout of one of our tables: texts as alpha fields of their size, money as
// currency, other floats as numbers, auto-increment fields as such.
std::vector<LegacyColumn> layoutOf(const TableDef& t) {
  std::vector<LegacyColumn> cols;
  for (const auto& f : t.fields)
    cols.push_back({f.name,
                    f.type == FieldType::Text      ? legacy::Alpha
                    : f.type == FieldType::AutoInc ? legacy::AutoInc
                    : f.displayFormat == "0.00"    ? legacy::Currency
                                                   : legacy::Number,
                    f.size});
  return cols;
}

Value t(const char* s) {
  return std::string(s);
}
Value n(double d) {
  return d;
}
Value id(std::int64_t i) {
  return i;
}

std::string rowsOf(const fs::path& dataDir, const char* table) {
  const TableDef& d = def(table);
  TableFile f(d, dataDir / d.alias / d.fileName, true);
  std::string out;
  f.scan(d.indexes.front(), [&](const Row& r) {
    for (const auto& v : r.values) {
      if (const auto* s = std::get_if<std::string>(&v))
        out += *s;
      else if (const auto* x = std::get_if<double>(&v))
        out += std::to_string(*x);
      else if (const auto* i = std::get_if<std::int64_t>(&v))
        out += "#" + std::to_string(*i);
      else
        out += "-";
      out += "|";
    }
    out += "\n";
    return true;
  });
  return out;
}

class ImportTest : public ::testing::Test {
 protected:
  ImportTest() {
    fs::create_directories(source() / "DatabaseFiles");
    fs::create_directories(source() / "DatabaseFilesQVX");
    stock = {{t("A100"), t("Widget"), n(2.5), n(10), n(2), n(2.25), n(2), Value{}, t("Tools")},
             {t("B200"), t("Caf\xe9 mug \x80"), n(4), Value{}, Value{}, Value{}, Value{}, Value{},
              Value{}}};
    clients = {{id(1), t("Walk-in"), Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{},
                Value{}, Value{}, Value{}, Value{}},
               {id(2), t("M\xfcller"), t("J\xfcrgen"),
                t("1 Stra\xdf"
                  "e"),
                t("K\xf6ln"), t("NW"), t("50667"), Value{}, Value{}, Value{}, Value{}, t("221"),
                t("555-0101")},
               {id(5), t("Smith"), t("Ann"), Value{}, Value{}, Value{}, Value{}, Value{}, Value{},
                Value{}, Value{}, t("212"), t("555-0199")}};
    sales = {{id(1), t("A100"), n(2), n(2.5), n(2), n(1001), t("12/1/98"), t("cash"), Value{},
              Value{}, n(0.41), n(5), t("PickUp")},
             {id(7), t("B200"), n(1), n(4), n(2), n(1001), t("12/1/98"), t("cash"), Value{},
              Value{}, n(0.33), n(4), t("PickUp")}};
    rate = {{n(8.25)}};
    billing = {{n(1001), n(2), t("12/1/98"), t("recieved"), t("12/1/98"), Value{}, Value{}, Value{},
                n(0), n(9.74), n(0.74), Value{}, Value{}}};
  }

  fs::path source() const { return dir.path() / "legacy"; }
  fs::path dest() const { return dir.path() / "imported"; }
  fs::path legacyFile(const char* table) const {
    const TableDef& d = def(table);
    return source() / d.alias / d.fileName;
  }
  void writeShop() {
    writeLegacyTable(legacyFile("stock"), layoutOf(def("stock")), stock);
    writeLegacyTable(legacyFile("clients"), layoutOf(def("clients")), clients);
    writeLegacyTable(legacyFile("NewSales"), layoutOf(def("NewSales")), sales);
    writeLegacyTable(legacyFile("TaxRate"), layoutOf(def("TaxRate")), rate);
    writeLegacyTable(legacyFile("BillingShipping"), layoutOf(def("BillingShipping")), billing);
  }
  std::string sourceChecksums() const {
    std::string out;
    for (const auto& e : fs::recursive_directory_iterator(source()))
      if (e.is_regular_file()) out += e.path().string() + " " + sha256OfFile(e.path()) + "\n";
    return out;
  }

  TempDir dir;
  std::vector<std::vector<Value>> stock, clients, sales, rate, billing;
};

TEST_F(ImportTest, RoundTripImportsWhatWasWrittenInUtf8) {
  writeShop();
  const std::string before = sourceChecksums();
  const LegacyImportReport report = importLegacyTables(source(), dest(), false);
  ASSERT_EQ(report.tables.size(), 5u);
  for (const auto& r : report.tables) {
    EXPECT_EQ(r.read, r.imported) << r.table;
    EXPECT_EQ(r.skipped, 0) << r.table;
    EXPECT_EQ(r.codePage, 1252);
    EXPECT_TRUE(r.notes.empty()) << r.table << ": " << r.notes.front();
  }
  EXPECT_EQ(rowsOf(dest(), "stock"),
            "A100|Widget|2.500000|10.000000|2.000000|2.250000|2.000000|-|Tools|\n"
            "B200|Café mug €|4.000000|-|-|-|-|-|-|\n");
  EXPECT_EQ(rowsOf(dest(), "clients"),
            "#1|Walk-in|-|-|-|-|-|-|-|-|-|-|-|\n"
            "#2|Müller|Jürgen|1 Straße|Köln|NW|50667|-|-|-|-|221|555-0101|\n"
            "#5|Smith|Ann|-|-|-|-|-|-|-|-|212|555-0199|\n");
  EXPECT_EQ(rowsOf(dest(), "NewSales"),
            "#1|A100|2.000000|2.500000|2.000000|1001.000000|12/1/98|cash|-|-|0.410000|5.000000|"
            "PickUp|\n"
            "#7|B200|1.000000|4.000000|2.000000|1001.000000|12/1/98|cash|-|-|0.330000|4.000000|"
            "PickUp|\n");
  EXPECT_EQ(rowsOf(dest(), "TaxRate"), "8.250000|\n");
  EXPECT_EQ(
      rowsOf(dest(), "BillingShipping"),
      "1001.000000|2.000000|12/1/98|recieved|12/1/98|-|-|-|0.000000|9.740000|0.740000|-|-|\n");
  EXPECT_EQ(sourceChecksums(), before);

  // The counters go on after the highest number imported.
  const TableDef& c = def("clients");
  TableFile clientsFile(c, dest() / c.alias / c.fileName);
  std::vector<Value> newClient(c.fields.size());
  newClient[1] = std::string("New");
  EXPECT_EQ(clientsFile.insert(newClient), 6);
  const TableDef& s = def("NewSales");
  TableFile salesFile(s, dest() / s.alias / s.fileName);
  EXPECT_EQ(salesFile.insert(std::vector<Value>(s.fields.size())), 8);
}

TEST_F(ImportTest, EveryLegacyFieldTypeFindsItsField) {
  writeShop();
  // Quantities as short and long integers, a discount price as BCD, the category as a date,
  // and two fields our stock table has no place for.
  std::vector<LegacyColumn> cols = layoutOf(def("stock"));
  cols[3].type = legacy::Short;
  cols[4].type = legacy::Long;
  cols[5].type = legacy::BCD;
  cols[8] = {"Category", legacy::Date, 0};
  cols.push_back({"Discontinued", legacy::Logical, 0});
  cols.push_back({"Checked", legacy::Time, 0});
  writeLegacyTable(legacyFile("stock"), cols,
                   {{t("C1"), t("Clamp"), n(3), id(-4), id(70000), t("12.34"), n(1), n(0),
                     t("2026-12-08"), id(1), id(3723000)},
                    {t("C2"), Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{},
                     Value{}, Value{}, Value{}}});
  const LegacyImportReport report = importLegacyTables(source(), dest(), false);
  EXPECT_EQ(rowsOf(dest(), "stock"),
            "C1|Clamp|3.000000|-4.000000|70000.000000|12.340000|1.000000|0.000000|12/8/26|\n"
            "C2|-|-|-|-|-|-|-|-|\n");
  const auto& notes = report.tables[0].notes;
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0], "legacy field 'Discontinued' has no place in this table; not imported");
  EXPECT_EQ(notes[1], "legacy field 'Checked' has no place in this table; not imported");
}

TEST_F(ImportTest, RecordsThatCannotBeStoredAreSkippedWithTheReason) {
  writeShop();
  std::vector<LegacyColumn> cols = layoutOf(def("stock"));
  cols[3] = {"Quantity", legacy::Alpha, 10};
  writeLegacyTable(legacyFile("stock"), cols,
                   {{t("A1"), t("One"), n(1), t("5"), n(0), n(0), n(0), n(0), t("x")},
                    {t("A2"), t("Two"), n(1), t("lots"), n(0), n(0), n(0), n(0), t("x")},
                    {t("A1"), t("Again"), n(1), t("1"), n(0), n(0), n(0), n(0), t("x")}});
  std::ostringstream out, err;
  ASSERT_EQ(runDbTool({"import-legacy", source().string(), dest().string()}, out, err), 0)
      << err.str();
  const std::string text = out.str();
  EXPECT_NE(text.find("stock.db                  3 read        1 imported      2 skipped"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("record 2: 'lots' is not a valid floating point value for field "
                      "'Quantity'"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("record 3: "), std::string::npos) << text;
  EXPECT_NE(text.find("2 record(s) skipped"), std::string::npos) << text;
  EXPECT_EQ(rowsOf(dest(), "stock"),
            "A1|One|1.000000|5.000000|0.000000|0.000000|0.000000|0.000000|x|\n");
}

TEST_F(ImportTest, DamagedFileIsNamedAndNothingIsLeftBehind) {
  writeShop();
  {
    // The second half of the sales file lost: its data block is gone.
    const auto size = fs::file_size(legacyFile("NewSales"));
    fs::resize_file(legacyFile("NewSales"), size / 2);
  }
  const std::string damaged = [&] {
    try {
      importLegacyTables(source(), dest(), false);
    } catch (const Error& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  }();
  EXPECT_NE(damaged.find(legacyFile("NewSales").string()), std::string::npos) << damaged;
  EXPECT_FALSE(fs::exists(dest()));
  for (const auto& e : fs::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().filename().string().find(".imported"), std::string::npos);

  writeShop();
  std::ofstream(legacyFile("TaxRate"), std::ios::trunc) << "not a table at all";
  std::ostringstream out, err;
  EXPECT_EQ(runDbTool({"import-legacy", source().string(), dest().string()}, out, err), 1);
  EXPECT_NE(err.str().find("TaxRate.DB"), std::string::npos) << err.str();
}

TEST_F(ImportTest, RefusesANonEmptyDestinationAndDryRunKeepsNothing) {
  writeShop();
  fs::create_directories(dest());
  std::ofstream(dest() / "keep.txt") << "mine";
  std::ostringstream out, err;
  EXPECT_EQ(runDbTool({"import-legacy", source().string(), dest().string()}, out, err), 1);
  EXPECT_NE(err.str().find("is not empty"), std::string::npos) << err.str();
  EXPECT_EQ(fs::file_size(dest() / "keep.txt"), 4u);
  fs::remove(dest() / "keep.txt");

  std::ostringstream dry, dryErr;
  ASSERT_EQ(
      runDbTool({"import-legacy", source().string(), dest().string(), "--dry-run"}, dry, dryErr), 0)
      << dryErr.str();
  EXPECT_NE(dry.str().find("Dry run, nothing written"), std::string::npos);
  EXPECT_NE(dry.str().find("clients.DB                3 read        3 imported"), std::string::npos)
      << dry.str();
  EXPECT_TRUE(fs::is_empty(dest()));
  // An empty destination directory is fine.
  std::ostringstream real, realErr;
  ASSERT_EQ(runDbTool({"import-legacy", source().string(), dest().string()}, real, realErr), 0)
      << realErr.str();
  EXPECT_NE(real.str().find("DatabaseFilesQVX = " + (dest() / "DatabaseFilesQVX").string()),
            std::string::npos);
  EXPECT_TRUE(fs::exists(dest() / "DatabaseFilesQVX" / "BillingShipping.DB"));
}

TEST(LegacyText, CodePagesBecomeUtf8) {
  EXPECT_EQ(legacyTextToUtf8("plain", 437), "plain");
  EXPECT_EQ(legacyTextToUtf8("M\x81ller", 437), "Müller");
  EXPECT_EQ(legacyTextToUtf8("M\xfcller \x80", 1252), "Müller €");
  EXPECT_EQ(legacyTextToUtf8("a\x81z", 1252), "a\xEF\xBF\xBDz");  // undefined in 1252
  EXPECT_EQ(legacyTextToUtf8("\xe9", 0), "é");                    // no code page: 1252
}

}  // namespace
}  // namespace corvanta::test
