// Opening a table file checks it, read-only, before anything may write to it: its fields and
// indexes must be this table's, a file that fails is left exactly as it was, and a file that
// cannot be read says why.
#include <sqlite3.h>

#include <fstream>
#include <iterator>

#include "data/engine/Sqlite.h"
#include "data/engine/TableFile.h"
#include "engine/EngineTestUtil.h"
#include "support/FaultyVfs.h"

namespace corvanta::test {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class OpenCheckTest : public EngineTest {
 protected:
  OpenCheckTest() { open("stock.db"); }  // the first start makes the directories
  fs::path stockFile() const { return dir.path() / "DatabaseFiles" / "stock.db"; }
  // A new stock file, changed by `sql` behind the engine's back.
  void remake(const std::string& sql) {
    for (const char* end : {"", "-wal", "-shm"}) fs::remove(stockFile().string() + end);
    TableFile::create(shopTables()[0], stockFile());
    SqliteDb db(stockFile(), SqliteDb::Mode::ReadWrite);
    db.exec(sql);
  }
  std::string openError() {
    return errorOf([&] { closed("stock.db")->open(); });
  }
  // Byte 18 of a database file's header: 1 for a rollback journal, 2 for WAL.
  int journalByte() { return bytesOf(stockFile()).at(18); }
};

TEST_F(OpenCheckTest, FieldsAndIndexesMustBeTheTablesOwn) {
  const std::string columns =
      "PartNumber TEXT, Description TEXT COLLATE NOCASE, Price REAL, Quantity REAL, "
      "MinimumQuantity REAL, DiscountPrice1 REAL, DiscountPrice2 REAL, DiscountPrice3 REAL, "
      "Category TEXT";
  const std::string indexes =
      "; CREATE UNIQUE INDEX stock_primary ON stock(PartNumber);"
      "CREATE INDEX byDescription ON stock(Description)";
  auto withColumns = [&](std::string from, const std::string& to) {
    std::string c = columns;
    c.replace(c.find(from), from.size(), to);
    return "DROP TABLE stock; CREATE TABLE stock (" + c + ")" + indexes;
  };
  const std::pair<std::string, std::string> cases[] = {
      {"DROP INDEX stock_primary; CREATE INDEX stock_primary ON stock(PartNumber)",
       "the index 'primary' is not unique"},
      {"DROP INDEX byDescription; CREATE UNIQUE INDEX byDescription ON stock(Description)",
       "the index 'byDescription' is unique"},
      {"DROP INDEX stock_primary; CREATE UNIQUE INDEX stock_primary ON stock(PartNumber) "
       "WHERE PartNumber > 'M'",
       "the index 'primary' covers only some records"},
      {"DROP INDEX byDescription; CREATE INDEX byDescription ON stock(Category)",
       "the index 'byDescription' is on (Category BINARY), not (Description NOCASE)"},
      {"DROP INDEX byDescription; CREATE INDEX byDescription ON stock(Description COLLATE "
       "BINARY)",
       "the index 'byDescription' is on (Description BINARY), not (Description NOCASE)"},
      {"DROP INDEX stock_primary; CREATE UNIQUE INDEX stock_primary ON stock(PartNumber, "
       "Category)",
       "the index 'primary' is on (PartNumber BINARY, Category BINARY), not (PartNumber BINARY)"},
      {"DROP INDEX stock_primary; CREATE UNIQUE INDEX stock_primary ON stock(PartNumber DESC)",
       "the index 'primary' is on (PartNumber BINARY DESC), not (PartNumber BINARY)"},
      {withColumns("Price REAL", "Price TEXT"), "the field 'Price' is of type 'TEXT', not REAL"},
      {withColumns("Description TEXT COLLATE NOCASE", "Description TEXT"),
       "the field 'Description' compares by BINARY, not NOCASE"},
  };
  for (const auto& [sql, why] : cases) {
    remake(sql);
    const std::string before = bytesOf(stockFile());
    const std::string e = openError();
    EXPECT_EQ(e, "Table file '" + stockFile().string() + "': " + why) << sql;
    EXPECT_EQ(bytesOf(stockFile()), before) << sql;
  }

  // The customer number must be the file's own auto-increment key, or numbers could be given
  // twice.
  const fs::path clients = dir.path() / "DatabaseFiles" / "clients.DB";
  fs::remove(clients);
  {
    SqliteDb db(clients, SqliteDb::Mode::Create);
    db.exec(
        "CREATE TABLE clients (CustNum INTEGER, LastName TEXT COLLATE NOCASE, FirstName TEXT, "
        "Street TEXT, City TEXT, State TEXT, Zip TEXT, \"Street/2\" TEXT, \"City/2\" TEXT, "
        "\"State/2\" TEXT, \"Zip/2\" TEXT, \"Area Code\" TEXT, Phone TEXT);"
        "CREATE INDEX byLastName ON clients(LastName)");
  }
  EXPECT_EQ(errorOf([&] { closed("clients.DB")->open(); }),
            "Table file '" + clients.string() +
                "': the field 'CustNum' is not the table's auto-increment key");
}

TEST_F(OpenCheckTest, AFileThatFailsTheCheckIsLeftAsItWas) {
  // An empty file: no database header is written into it.
  for (const char* end : {"", "-wal", "-shm"}) fs::remove(stockFile().string() + end);
  { std::ofstream touch(stockFile()); }
  EXPECT_EQ(openError(),
            "Table file '" + stockFile().string() + "' does not hold the table 'stock.db'");
  EXPECT_EQ(fs::file_size(stockFile()), 0u);
  EXPECT_FALSE(fs::exists(stockFile().string() + "-wal"));

  // Another program's database keeps its rollback journal: no switch to WAL.
  fs::remove(stockFile());
  {
    SqliteDb db(stockFile(), SqliteDb::Mode::Create);
    db.exec("CREATE TABLE invoices (n INTEGER); INSERT INTO invoices VALUES (7)");
  }
  std::string before = bytesOf(stockFile());
  ASSERT_EQ(journalByte(), 1);
  EXPECT_TRUE(contains(openError(), "does not hold the table 'stock.db'"));
  EXPECT_EQ(bytesOf(stockFile()), before);
  EXPECT_FALSE(fs::exists(stockFile().string() + "-wal"));

  // Another program's database in WAL mode, its last records still in its log: the log is
  // not written back into the file when the refused file is closed.
  fs::remove(stockFile());
  {
    SqliteDb db(stockFile(), SqliteDb::Mode::Create);
    sqlite3_db_config(db.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    db.exec(
        "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
        "CREATE TABLE invoices (n INTEGER); INSERT INTO invoices VALUES (7)");
  }
  before = bytesOf(stockFile());
  const std::string log = bytesOf(stockFile().string() + "-wal");
  ASSERT_EQ(journalByte(), 2);
  ASSERT_FALSE(log.empty());
  EXPECT_TRUE(contains(openError(), "does not hold the table 'stock.db'"));
  EXPECT_EQ(bytesOf(stockFile()), before);
  EXPECT_EQ(bytesOf(stockFile().string() + "-wal"), log);

  // Nor does a stock table without its description index...
  remake("PRAGMA journal_mode=DELETE; DROP INDEX byDescription");
  before = bytesOf(stockFile());
  EXPECT_TRUE(contains(openError(), "lacks the index 'byDescription'"));
  EXPECT_EQ(bytesOf(stockFile()), before);
  // ...while a sound one is switched to WAL as it opens.
  remake("PRAGMA journal_mode=DELETE");
  ASSERT_EQ(journalByte(), 1);
  open("stock.db");
  EXPECT_EQ(journalByte(), 2);
}

TEST_F(OpenCheckTest, AFileThatCannotBeReadSaysWhatHappened) {
  const std::string file = "Table file '" + stockFile().string() + "' cannot be opened: ";
  FaultyVfs vfs;
  vfs.failReadsOfDatabases(SQLITE_IOERR_READ);
  EXPECT_EQ(openError(), file + "the disk reported an input/output error (disk I/O error)");
  vfs.failReadsOfDatabases(0);

  // A sound table in rollback mode must be written to as it opens (the switch to WAL).
  remake("PRAGMA journal_mode=DELETE");
  vfs.failWrites(SQLITE_FULL);
  EXPECT_EQ(openError(), file + "the disk is full");
  vfs.failWrites(0);
  EXPECT_EQ(journalByte(), 1);

  // Another program holds the file for itself (the engine waits two seconds for it).
  SqliteDb holder(stockFile(), SqliteDb::Mode::ReadWrite);
  holder.exec("BEGIN EXCLUSIVE");
  EXPECT_EQ(openError(), file + "it is locked by another program");
  holder.exec("ROLLBACK");
  EXPECT_EQ(cursorText(*open("stock.db")), "browse empty bof eof");
}

}  // namespace
}  // namespace corvanta::test
