// Changing records: post, cancel, insert, edit, delete; durability, text sizes, auto-increment
// numbers and key violations.
#include <sqlite3.h>

#include "engine/EngineTestUtil.h"

namespace corvanta::test {
namespace {

class EditTest : public EngineTest {
 protected:
  // A fresh engine and table object on the same files, as a second run of the program.
  std::unique_ptr<Table> reopen(const std::string& name) {
    engine = std::make_unique<Engine>(testEngineConfig(dir.path()));
    return open(name);
  }
};

TEST_F(EditTest, PostIsDurableAcrossTableObjectsAndEngines) {
  {
    auto t = open("stock.db");
    add(*t, {{"PartNumber", "A100"}, {"Quantity", "3"}, {"Price", "19.99"}});
    add(*t, {{"PartNumber", "B200"}, {"Quantity", "1"}});
    ASSERT_TRUE(t->findKey("A100"));
    t->edit();
    t->fieldByName("Quantity").setText("2.5");
    t->post();
    EXPECT_EQ(cursorText(*t, {"Quantity"}), "browse key=A100 Quantity=2.5");
    // Seen at once by another table object of the same engine.
    auto other = open("stock.db");
    EXPECT_EQ(cursorText(*other, {"Quantity", "Price"}),
              "browse key=A100 Quantity=2.5 Price=19.99 bof");
  }
  auto t = reopen("stock.db");
  EXPECT_EQ(cursorText(*t, {"Quantity", "Price"}), "browse key=A100 Quantity=2.5 Price=19.99 bof");
  t->next();
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "browse key=B200 Quantity=1");
  EXPECT_EQ(t->recordCount(), 2);
}

TEST_F(EditTest, TableFilesUseWriteAheadLogging) {
  open("stock.db");
  sqlite3* db = nullptr;
  const auto file = dir.path() / "DatabaseFiles" / "stock.db";
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &st, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
  EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "wal");
  sqlite3_finalize(st);
  sqlite3_close(db);
}

TEST_F(EditTest, TextIsCutToTheFieldSize) {
  {
    auto t = open("clients.DB");
    t->insert();
    t->fieldByName("LastName").setText(std::string(45, 'x'));
    t->fieldByName("Area Code").setText("12345");
    t->fieldByName("City").setText("Z\xc3\xbcrich-" + std::string(40, 'y'));  // u-umlaut: one char
    EXPECT_EQ(t->fieldByName("Area Code").displayText(), "123");
    t->post();
  }
  auto t = reopen("clients.DB");
  EXPECT_EQ(t->fieldByName("LastName").displayText(), std::string(30, 'x'));
  EXPECT_EQ(t->fieldByName("Area Code").displayText(), "123");
  EXPECT_EQ(t->fieldByName("City").displayText(), "Z\xc3\xbcrich-" + std::string(23, 'y'));
}

TEST_F(EditTest, TextIsCutWhenWrittenThroughTheFileToo) {
  auto t = open("stock.db");
  std::vector<Value> values(t->def().fields.size());
  values[0] = std::string(60, 'P');
  values[8] = std::string("a category longer than twenty-five characters");
  t->file().insert(values);
  t->refresh();
  EXPECT_EQ(t->fieldByName("PartNumber").displayText(), std::string(50, 'P'));
  EXPECT_EQ(t->fieldByName("Category").displayText(), "a category longer than tw");
}

TEST_F(EditTest, AutoIncrementNumbersAreGivenOnPostAndNeverReused) {
  {
    auto t = open("clients.DB");
    t->insert();
    t->fieldByName("LastName").setText("One");
    EXPECT_EQ(cursorText(*t, {"LastName"}), "insert key=<null> LastName=One bof eof");
    t->post();
    EXPECT_EQ(cursorText(*t, {"LastName"}), "browse key=1 LastName=One");
    add(*t, {{"LastName", "Two"}});
    add(*t, {{"LastName", "Three"}});
    t->last();
    t->remove();  // the last record: its number must not come back
    EXPECT_EQ(cursorText(*t), "browse key=2 eof");
    add(*t, {{"LastName", "Four"}});
    EXPECT_EQ(cursorText(*t, {"LastName"}), "browse key=4 LastName=Four");
  }
  auto t = reopen("clients.DB");
  t->last();
  t->remove();
  t->first();
  t->remove();
  t->remove();
  EXPECT_EQ(cursorText(*t), "browse empty bof eof");
  add(*t, {{"LastName", "Five"}});
  EXPECT_EQ(cursorText(*t, {"LastName"}), "browse key=5 LastName=Five");
  EXPECT_EQ(errorOf([&] {
              t->edit();
              t->fieldByName("CustNum").setText("9");
            }),
            "Field 'CustNum' cannot be modified");
}

TEST_F(EditTest, KeyViolationKeepsTheInsertWithItsBuffer) {
  auto t = open("stock.db");
  add(*t, {{"PartNumber", "A100"}, {"Quantity", "1"}});
  add(*t, {{"PartNumber", "B200"}, {"Quantity", "2"}});
  t->insert();
  t->fieldByName("PartNumber").setText("A100");
  t->fieldByName("Quantity").setText("3");
  try {
    t->post();
    FAIL() << "a duplicate PartNumber was posted";
  } catch (const KeyViolation& e) {
    EXPECT_EQ(std::string(e.what()), "Key violation.\nstock.db: PartNumber 'A100' already exists.");
  }
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "insert key=A100 Quantity=3");
  EXPECT_TRUE(t->modified());
  t->fieldByName("PartNumber").setText("A101");
  t->post();
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "browse key=A101 Quantity=3");
  EXPECT_EQ(t->recordCount(), 3);
}

TEST_F(EditTest, KeyViolationKeepsTheEditAndCancelRestoresTheStoredRecord) {
  auto t = open("stock.db");
  add(*t, {{"PartNumber", "A100"}, {"Quantity", "1"}});
  add(*t, {{"PartNumber", "B200"}, {"Quantity", "2"}});
  t->edit();
  t->fieldByName("PartNumber").setText("A100");
  t->fieldByName("Quantity").setText("7");
  EXPECT_THROW(t->post(), KeyViolation);
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "edit key=A100 Quantity=7");
  // Moving on tries to post again and fails the same way; nothing moves.
  EXPECT_THROW(t->next(), KeyViolation);
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "edit key=A100 Quantity=7");
  t->cancel();
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "browse key=B200 Quantity=2");
  EXPECT_EQ(walk(*t, "Quantity"), "1,2");
}

// The empty key is a key like any other on a unique primary index: SQLite's UNIQUE alone
// would let any number of empty fields through.
TEST_F(EditTest, TheEmptyKeyOfAUniquePrimaryIndexIsStoredOnce) {
  auto stock = open("stock.db");
  add(*stock, {{"Description", "first without number"}});
  stock->insert();
  stock->fieldByName("Description").setText("second without number");
  EXPECT_EQ(errorOf([&] { stock->post(); }),
            "Key violation.\nstock.db: PartNumber '' already exists.");
  EXPECT_EQ(cursorText(*stock, {"Description"}),
            "insert key=<null> Description=second without number");
  stock->cancel();
  // Nor may an edit empty the key of another record; emptying the record's own key again
  // is fine.
  add(*stock, {{"PartNumber", "A100"}});
  stock->edit();
  stock->fieldByName("PartNumber").setText("");
  EXPECT_THROW(stock->post(), KeyViolation);
  stock->cancel();
  ASSERT_TRUE(stock->findKey(""));
  stock->edit();
  stock->fieldByName("PartNumber").setText("");
  stock->fieldByName("Quantity").setText("4");
  stock->post();
  EXPECT_EQ(stock->recordCount(), 2);

  auto billing = open("BillingShipping");
  add(*billing, {{"GrandTotal", "10"}});
  billing->insert();
  billing->fieldByName("GrandTotal").setText("20");
  EXPECT_EQ(errorOf([&] { billing->post(); }),
            "Key violation.\nBillingShipping: OrderNumber '' already exists.");
  billing->cancel();
  // Through the file, as tools write, the same.
  std::vector<Value> values(billing->def().fields.size());
  EXPECT_THROW(billing->file().insert(values), KeyViolation);
  EXPECT_EQ(billing->recordCount(), 1);
  // Empty keys of an index that is not unique stay as many as there are.
  auto sales = open("NewSales");
  add(*sales, {{"PartNumber", "A100"}});
  add(*sales, {{"PartNumber", "A100"}});
  EXPECT_EQ(sales->recordCount(), 2);
}

TEST_F(EditTest, EditOnAnEmptyTableStartsAnInsert) {
  auto t = open("TaxRate");
  t->edit();
  EXPECT_EQ(cursorText(*t, {"TaxRate"}), "insert key=#new TaxRate=<null> bof eof");
  t->fieldByName("TaxRate").setText("8.25");
  t->post();
  EXPECT_EQ(cursorText(*t, {"TaxRate"}), "browse key=#1 TaxRate=8.25");
  t->edit();
  EXPECT_EQ(t->state(), TableState::Edit);
  t->edit();  // already editing: nothing
  EXPECT_EQ(t->state(), TableState::Edit);
  t->insert();  // unchanged edit: cancelled, then a new record
  EXPECT_EQ(t->state(), TableState::Insert);
  t->edit();  // in insert state: nothing
  EXPECT_EQ(t->state(), TableState::Insert);
}

TEST_F(EditTest, DeleteInInsertStateCancels) {
  auto t = open("stock.db");
  add(*t, {{"PartNumber", "A100"}});
  add(*t, {{"PartNumber", "B200"}});
  ASSERT_TRUE(t->findKey("A100"));
  t->insert();
  t->fieldByName("PartNumber").setText("C300");
  t->remove();
  EXPECT_EQ(cursorText(*t), "browse key=A100");
  EXPECT_EQ(t->recordCount(), 2);
}

TEST_F(EditTest, DeleteMovesToTheNextRecordOrTheLast) {
  auto t = open("stock.db");
  for (const char* p : {"A", "B", "C"}) add(*t, {{"PartNumber", p}});
  ASSERT_TRUE(t->findKey("B"));
  t->remove();
  EXPECT_EQ(cursorText(*t), "browse key=C");
  t->remove();
  EXPECT_EQ(cursorText(*t), "browse key=A eof");
  t->edit();
  t->fieldByName("PartNumber").setText("Z");
  t->remove();  // deletes the stored record; the edit is dropped
  EXPECT_EQ(cursorText(*t), "browse empty bof eof");
  EXPECT_EQ(t->recordCount(), 0);
}

TEST_F(EditTest, CancelAfterInsertReturnsToTheRecordThatWasCurrent) {
  auto t = open("stock.db");
  for (const char* p : {"A", "B", "C"}) add(*t, {{"PartNumber", p}});
  ASSERT_TRUE(t->findKey("B"));
  t->insert();
  t->fieldByName("PartNumber").setText("D");
  t->fieldByName("Quantity").setText("9");
  t->cancel();
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "browse key=B Quantity=<null>");
  EXPECT_FALSE(t->modified());
  EXPECT_EQ(t->recordCount(), 3);
  t->cancel();  // browse: nothing
  EXPECT_EQ(cursorText(*t), "browse key=B");

  auto empty = open("clients.DB");
  empty->insert();
  empty->fieldByName("LastName").setText("X");
  empty->cancel();
  EXPECT_EQ(cursorText(*empty), "browse empty bof eof");
}

TEST_F(EditTest, CancelOfAnEditRestoresTheStoredValues) {
  auto t = open("stock.db");
  add(*t, {{"PartNumber", "A"}, {"Quantity", "1"}});
  t->edit();
  t->fieldByName("Quantity").setText("5");
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "edit key=A Quantity=5");
  t->cancel();
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "browse key=A Quantity=1");
}

TEST_F(EditTest, PostOfARecordDeletedElsewhereFailsAndKeepsTheEdit) {
  auto t = open("stock.db");
  add(*t, {{"PartNumber", "A"}, {"Quantity", "1"}});
  add(*t, {{"PartNumber", "B"}, {"Quantity", "2"}});
  ASSERT_TRUE(t->findKey("A"));
  t->edit();
  t->fieldByName("Quantity").setText("5");
  auto other = open("stock.db");
  other->remove();
  EXPECT_EQ(errorOf([&] { t->post(); }), "Record/Key deleted.");
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "edit key=A Quantity=5");
  t->cancel();
  EXPECT_EQ(cursorText(*t), "browse key=B");
  EXPECT_EQ(t->recordCount(), 1);
}

TEST_F(EditTest, PostWritesOnlyTheFieldsThatChanged) {
  auto t = open("stock.db");
  add(*t, {{"PartNumber", "A"}, {"Description", "bolt"}, {"Quantity", "1"}});
  t->edit();
  t->fieldByName("Quantity").setText("0");
  // Meanwhile another program renames the item.
  auto other = open("stock.db");
  other->edit();
  other->fieldByName("Description").setText("hex bolt");
  other->post();
  t->post();
  EXPECT_EQ(cursorText(*t, {"Description", "Quantity"}),
            "browse key=A Description=hex bolt Quantity=0");
  // An edit that changes nothing writes nothing, and still returns to browse state.
  t->edit();
  t->fieldByName("Quantity").setText("0");
  t->post();
  EXPECT_EQ(cursorText(*t, {"Description", "Quantity"}),
            "browse key=A Description=hex bolt Quantity=0");
  // A changed key moves the record in its index.
  t->edit();
  t->fieldByName("PartNumber").setText("Z");
  t->post();
  add(*t, {{"PartNumber", "M"}});
  EXPECT_EQ(walk(*t, "PartNumber"), "M,Z");
}

// Select index, find key, find nearest, insert, last, refresh and every move first settle a
// pending edit or insert: posted when a field changed, else cancelled.
struct SettleCase {
  const char* name;
  void (*op)(Table&);
};

class SettleTest : public EditTest, public ::testing::WithParamInterface<SettleCase> {};

TEST_P(SettleTest, AChangedEditIsPosted) {
  auto t = open("stock.db");
  for (const char* p : {"A", "B", "C"}) add(*t, {{"PartNumber", p}, {"Quantity", "1"}});
  ASSERT_TRUE(t->findKey("B"));
  t->edit();
  t->fieldByName("Quantity").setText("42");
  GetParam().op(*t);
  EXPECT_EQ(t->state(), TableState::Browse);
  EXPECT_FALSE(t->modified());
  auto other = open("stock.db");
  ASSERT_TRUE(other->findKey("B"));
  EXPECT_EQ(cursorText(*other, {"Quantity"}), "browse key=B Quantity=42");
}

TEST_P(SettleTest, AChangedInsertIsPosted) {
  auto t = open("stock.db");
  for (const char* p : {"A", "B", "C"}) add(*t, {{"PartNumber", p}});
  t->insert();
  t->fieldByName("PartNumber").setText("BB");
  GetParam().op(*t);
  EXPECT_EQ(t->state(), TableState::Browse);
  t->selectIndex("");
  EXPECT_EQ(walk(*t, "PartNumber"), "A,B,BB,C");
}

TEST_P(SettleTest, AnUnchangedEditOrInsertIsCancelled) {
  auto t = open("stock.db");
  for (const char* p : {"A", "B", "C"}) add(*t, {{"PartNumber", p}, {"Quantity", "1"}});
  ASSERT_TRUE(t->findKey("B"));
  t->edit();
  GetParam().op(*t);
  EXPECT_EQ(t->state(), TableState::Browse);
  t->insert();
  GetParam().op(*t);
  EXPECT_EQ(t->state(), TableState::Browse);
  EXPECT_EQ(t->recordCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    EveryOperation, SettleTest,
    ::testing::Values(SettleCase{"selectIndex", [](Table& t) { t.selectIndex("byDescription"); }},
                      SettleCase{"findKey", [](Table& t) { t.findKey("C"); }},
                      SettleCase{"findKeyMissing", [](Table& t) { t.findKey("nothing"); }},
                      SettleCase{"findNearest", [](Table& t) { t.findNearest("A"); }},
                      SettleCase{"insert",
                                 [](Table& t) {
                                   t.insert();
                                   t.cancel();
                                 }},
                      SettleCase{"first", [](Table& t) { t.first(); }},
                      SettleCase{"last", [](Table& t) { t.last(); }},
                      SettleCase{"next", [](Table& t) { t.next(); }},
                      SettleCase{"prior", [](Table& t) { t.prior(); }},
                      SettleCase{"refresh", [](Table& t) { t.refresh(); }},
                      SettleCase{"moveToRowid", [](Table& t) { t.moveToRowid(1); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvanta::test
