// Moving the cursor: keyset navigation, refresh, find key and find nearest, index selection.
#include "data/engine/Sqlite.h"
#include "engine/EngineTestUtil.h"

namespace corvanta::test {
namespace {

class CursorTest : public EngineTest {
 protected:
  // Five stock items whose part-number order differs from their description order.
  std::unique_ptr<Table> stock() {
    auto t = open("stock.db");
    add(*t, {{"PartNumber", "A100"}, {"Description", "zebra"}, {"Quantity", "1"}});
    add(*t, {{"PartNumber", "B200"}, {"Description", "Apple"}, {"Quantity", "2"}});
    add(*t, {{"PartNumber", "C300"}, {"Description", "mango"}, {"Quantity", "3"}});
    add(*t, {{"PartNumber", "D400"}, {"Description", "apple"}, {"Quantity", "4"}});
    add(*t, {{"PartNumber", "E500"}, {"Description", "kiwi"}, {"Quantity", "5"}});
    return t;
  }
};

TEST_F(CursorTest, OpenLandsOnTheFirstRecordOfThePrimaryIndex) {
  { stock(); }
  auto t = open("stock.db");
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "browse key=A100 Quantity=1 bof");
  auto empty = open("clients.DB");
  EXPECT_EQ(cursorText(*empty), "browse empty bof eof");
}

TEST_F(CursorTest, NextAndPriorFollowTheSelectedIndexWithEqualKeysByRowid) {
  auto t = stock();
  EXPECT_EQ(walk(*t, "PartNumber"), "A100,B200,C300,D400,E500");
  t->selectIndex("byDescription");
  // Descriptions sort without regard to case; "Apple" and "apple" are equal keys.
  EXPECT_EQ(walk(*t, "PartNumber"), "B200,D400,E500,C300,A100");
  t->last();
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=zebra PartNumber=A100 eof");
  std::string back;
  for (;;) {
    back += t->fieldByName("PartNumber").displayText() + ",";
    t->prior();
    if (t->bof()) break;
  }
  EXPECT_EQ(back, "A100,C300,E500,D400,B200,");
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=Apple PartNumber=B200 bof");
}

TEST_F(CursorTest, NextPastTheEndStaysOnTheLastRecordWithEof) {
  auto t = stock();
  t->last();
  t->next();
  EXPECT_EQ(cursorText(*t), "browse key=E500 eof");
  t->prior();
  EXPECT_EQ(cursorText(*t), "browse key=D400");
  t->first();
  t->prior();
  EXPECT_EQ(cursorText(*t), "browse key=A100 bof");
}

TEST_F(CursorTest, RefreshKeepsTheCurrentRecordAndSeesOtherWriters) {
  auto t = stock();
  t->selectIndex("byDescription");
  ASSERT_TRUE(t->findKey("APPLE"));  // the first of two equal keys
  t->next();
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=apple PartNumber=D400");

  // Another table object (another connection) adds records around it and changes it.
  auto other = open("stock.db");
  add(*other, {{"PartNumber", "A000"}, {"Description", "apple"}});
  add(*other, {{"PartNumber", "0000"}, {"Description", "aardvark"}});
  ASSERT_TRUE(other->findKey("D400"));
  other->edit();
  other->fieldByName("Quantity").setText("44");
  other->post();

  t->refresh();
  EXPECT_EQ(cursorText(*t, {"PartNumber", "Quantity"}),
            "browse key=apple PartNumber=D400 Quantity=44");
  t->next();  // the record added after it with an equal key
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=apple PartNumber=A000");
  t->prior();
  t->prior();
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=Apple PartNumber=B200");
}

TEST_F(CursorTest, RefreshOfARecordDeletedElsewhereMovesToItsSuccessor) {
  auto t = stock();
  ASSERT_TRUE(t->findKey("C300"));
  auto other = open("stock.db");
  ASSERT_TRUE(other->findKey("C300"));
  other->remove();
  t->refresh();
  EXPECT_EQ(cursorText(*t), "browse key=D400");
  ASSERT_TRUE(other->findKey("E500"));
  other->remove();
  t->last();
  ASSERT_TRUE(t->findKey("D400"));
  other->first();
  ASSERT_TRUE(other->findKey("D400"));
  other->remove();
  t->refresh();  // nothing after it: the last record, with eof
  EXPECT_EQ(cursorText(*t), "browse key=B200 eof");
}

TEST_F(CursorTest, FindKeyFoundMovesNotFoundStays) {
  auto t = stock();
  ASSERT_TRUE(t->findKey("C300"));
  EXPECT_FALSE(t->findKey("C301"));
  EXPECT_FALSE(t->findKey("c300"));  // the primary index is case-sensitive
  EXPECT_EQ(cursorText(*t), "browse key=C300");
  t->selectIndex("byDescription");
  ASSERT_TRUE(t->findKey("KIWI"));
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=kiwi PartNumber=E500");
  EXPECT_FALSE(t->findKey("kiw"));
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=kiwi PartNumber=E500");
}

TEST_F(CursorTest, FindKeyOnANumberIndexConvertsTheText) {
  auto t = open("NewSales");
  add(*t, {{"OrderNumber", "1001"}, {"CustNum", "7"}});
  add(*t, {{"OrderNumber", "1000"}, {"CustNum", "7"}});
  add(*t, {{"OrderNumber", "1002.5"}, {"CustNum", "3"}});
  t->selectIndex("ByOrderNumber");
  ASSERT_TRUE(t->findKey(" 1.0010E3 "));
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=1001 Item=1");
  ASSERT_TRUE(t->findKey("1002.50"));
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=1002.5 Item=3");
  // 1000 < 999.5 would hold if the key were compared as text.
  t->findNearest("999.5");
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=1000 Item=2");
  t->selectIndex("");
  ASSERT_TRUE(t->findKey("3"));
  EXPECT_EQ(cursorText(*t, {"OrderNumber"}), "browse key=3 OrderNumber=1002.5");
}

TEST_F(CursorTest, FindNearestSearchesTheSelectedIndex) {
  auto t = stock();
  t->findNearest("B");
  EXPECT_EQ(cursorText(*t, {"Description"}), "browse key=B200 Description=Apple");
  t->selectIndex("byDescription");
  t->findNearest("b");  // after "apple", before "kiwi"
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=kiwi PartNumber=E500");
  t->findNearest("MAN");
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=mango PartNumber=C300");
  t->findNearest("apple");  // equal keys: the first of them
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=Apple PartNumber=B200");
  t->findNearest("");
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=Apple PartNumber=B200");
}

TEST_F(CursorTest, FindNearestPastEveryKeyLandsOnTheLastWithEof) {
  auto t = stock();
  t->selectIndex("byDescription");
  t->findNearest("zz");
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=zebra PartNumber=A100 eof");
  t->prior();
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=mango PartNumber=C300");
  auto empty = open("clients.DB");
  empty->selectIndex("byLastName");
  empty->findNearest("Smith");
  EXPECT_EQ(cursorText(*empty), "browse empty bof eof");
}

// bof and eof tell the navigator whether Prior and Next can go anywhere: a change of order
// or a refresh must work them out again for the same record.
TEST_F(CursorTest, AChangeOfOrderOrARefreshWorksOutBofAndEofAgain) {
  auto t = stock();
  t->first();
  EXPECT_EQ(cursorText(*t), "browse key=A100 bof");
  t->selectIndex("byDescription");  // A100 (zebra) is last by description
  EXPECT_EQ(cursorText(*t), "browse key=zebra eof");
  t->findNearest("zz");
  t->selectIndex("");
  EXPECT_EQ(cursorText(*t), "browse key=A100 bof");
  t->last();
  t->selectIndex("byDescription");  // E500 (kiwi) is in the middle
  EXPECT_EQ(cursorText(*t), "browse key=kiwi");
  ASSERT_TRUE(t->findKey("Apple"));
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=Apple PartNumber=B200 bof");

  // Another program adds a record before it and removes the one after the last.
  auto other = open("stock.db");
  add(*other, {{"PartNumber", "F600"}, {"Description", "aardvark"}});
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=Apple PartNumber=B200");
  ASSERT_TRUE(t->findKey("mango"));
  ASSERT_TRUE(other->findKey("A100"));
  other->remove();
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=mango PartNumber=C300 eof");

  auto empty = open("clients.DB");
  empty->selectIndex("byLastName");
  empty->refresh();
  EXPECT_EQ(cursorText(*empty), "browse empty bof eof");
}

// Whatever another program adds or removes on either side, a refresh tells bof and eof as
// prior and next would find them: inside a run of equal keys and around empty keys, which
// come first, and on every kind of index.
TEST_F(CursorTest, RefreshFindsTheEdgesAmongEqualAndEmptyKeysThatOthersMoved) {
  auto t = open("NewSales");
  auto other = open("NewSales");
  auto removeItem = [&](const char* item) {
    ASSERT_TRUE(other->findKey(item));
    other->remove();
  };
  t->selectIndex("byCustNum");
  add(*other, {{"CustNum", "5"}});  // Item 1
  add(*other, {{"CustNum", "5"}});  // 2
  add(*other, {{"CustNum", ""}});   // 3
  ASSERT_TRUE(t->findKey("5"));
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=5 Item=1");
  removeItem("3");
  removeItem("2");
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=5 Item=1 bof eof");
  add(*other, {{"CustNum", "5"}});  // 4, after it among equal keys
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=5 Item=1 bof");
  t->next();
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=5 Item=4 eof");
  add(*other, {{"CustNum", "2"}});  // 5
  t->prior();
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=5 Item=1");

  add(*other, {{"CustNum", ""}});  // 6
  t->first();
  add(*other, {{"CustNum", ""}});  // 7
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=<null> Item=6 bof");
  for (const char* item : {"1", "4", "5", "7"}) removeItem(item);
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=<null> Item=6 bof eof");
  add(*other, {{"CustNum", ""}, {"OrderNumber", "9"}});  // 8
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=<null> Item=6 bof");
  t->next();
  t->refresh();
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=<null> Item=8 eof");

  // Every record on every index, against the store's own prior and next.
  add(*other, {{"CustNum", "5"}, {"OrderNumber", "9"}});
  add(*other, {{"CustNum", "-1"}, {"OrderNumber", "1"}});
  auto stock = open("stock.db");
  for (auto [part, description] : {std::pair{"", "kiwi"},
                                   {"A1", "apple"},
                                   {"a1", "Apple"},
                                   {"B2", ""},
                                   {"C3", "APPLE"},
                                   {"D4", ""}})
    add(*stock, {{"PartNumber", part}, {"Description", description}});
  auto rates = open("TaxRate");
  for (const char* rate : {"0.05", "0.07", "0.05"}) add(*rates, {{"TaxRate", rate}});
  for (Table* table : {other.get(), stock.get(), rates.get()}) {
    TableStore& f = table->file();
    for (const IndexDef& ix : f.def().indexes)
      for (const Row& r : f.page(ix, 0, 100)) {
        SCOPED_TRACE(f.def().tableName + " index '" + ix.name + "' row " + std::to_string(r.rowid));
        const auto again = f.reread(ix, r.rowid);
        ASSERT_TRUE(again.row);
        EXPECT_EQ(again.row->rowid, r.rowid);
        EXPECT_EQ(again.hasBefore, f.before(ix, f.keyOf(ix, r), r.rowid).has_value());
        EXPECT_EQ(again.hasAfter, f.after(ix, f.keyOf(ix, r), r.rowid).has_value());
      }
  }
}

// A record is stored with its key cut to the field's size; a search with the same long text
// must find it.
TEST_F(CursorTest, ASearchTextLongerThanTheFieldIsCutLikeTheStoredKey) {
  auto t = stock();
  const std::string longPart = std::string(50, 'P') + "-extra";
  const std::string longDescription = "n" + std::string(49, 'x') + " and more";
  add(*t, {{"PartNumber", longPart}, {"Description", longDescription}});
  t->first();
  ASSERT_TRUE(t->findKey(longPart));
  EXPECT_EQ(t->fieldByName("PartNumber").displayText(), std::string(50, 'P'));
  t->first();
  t->findNearest(longPart);
  EXPECT_EQ(t->fieldByName("PartNumber").displayText(), std::string(50, 'P'));
  t->selectIndex("byDescription");
  t->first();
  ASSERT_TRUE(t->findKey(longDescription));
  EXPECT_EQ(t->fieldByName("PartNumber").displayText(), std::string(50, 'P'));
  t->first();
  t->findNearest("N" + std::string(49, 'X') + "zzz");  // cut to the stored key: found
  EXPECT_EQ(cursorText(*t), "browse key=n" + std::string(49, 'x'));
}

TEST_F(CursorTest, IndexNamesMatchWithoutRegardToCase) {
  auto t = open("clients.DB");
  add(*t, {{"LastName", "Smith"}});
  add(*t, {{"LastName", "Adams"}});
  add(*t, {{"LastName", "smith"}});
  t->selectIndex("ByLastName");
  EXPECT_EQ(t->index().name, "byLastName");
  EXPECT_EQ(t->indexName(), "ByLastName");
  EXPECT_EQ(walk(*t, "CustNum"), "2,1,3");
  t->selectIndex("BYLASTNAME");
  EXPECT_EQ(walk(*t, "CustNum"), "2,1,3");
  ASSERT_TRUE(t->findKey("SMITH"));
  EXPECT_EQ(cursorText(*t, {"CustNum"}), "browse key=Smith CustNum=1");
  t->selectIndex("");
  EXPECT_EQ(walk(*t, "CustNum"), "1,2,3");
  EXPECT_EQ(errorOf([&] { t->selectIndex("byFirstName"); }),
            "Testclients: Index 'byFirstName' not found");

  auto sales = open("NewSales");
  sales->selectIndex("byOrderNumber");
  EXPECT_EQ(sales->index().name, "ByOrderNumber");
  sales->selectIndex("BYCUSTNUM");
  EXPECT_EQ(sales->index().name, "byCustNum");
}

TEST_F(CursorTest, SelectIndexKeepsTheCurrentRecord) {
  auto t = stock();
  ASSERT_TRUE(t->findKey("D400"));
  t->selectIndex("byDescription");
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=apple PartNumber=D400");
  t->next();
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=kiwi PartNumber=E500");
  t->selectIndex("");
  EXPECT_EQ(cursorText(*t), "browse key=E500 eof");
  t->prior();
  EXPECT_EQ(cursorText(*t), "browse key=D400");
}

TEST_F(CursorTest, EmptyKeysComeFirstAndAreWalkedByRowid) {
  auto t = open("NewSales");
  for (const char* c : {"5", "", "2", "", "5", "2", ""}) add(*t, {{"CustNum", c}});
  t->selectIndex("byCustNum");
  EXPECT_EQ(walk(*t, "Item"), "2,4,7,3,6,1,5");
  t->last();
  std::string back;
  while (!t->bof()) {
    back += t->fieldByName("Item").displayText() + ",";
    t->prior();
  }
  EXPECT_EQ(back, "5,1,6,3,7,4,2,");
  ASSERT_TRUE(t->findKey(""));
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=<null> Item=2");
  t->findNearest("3");
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=5 Item=1");
}

TEST_F(CursorTest, AUniqueIndexWithEmptyKeysIsWalkedBothWays) {
  auto t = open("stock.db");
  add(*t, {{"PartNumber", "B"}, {"Quantity", "1"}});
  add(*t, {{"PartNumber", ""}, {"Quantity", "2"}});
  add(*t, {{"PartNumber", "A"}, {"Quantity", "3"}});
  {
    // A second empty key, as files written before empty keys were refused may hold.
    SqliteDb db(dir.path() / "DatabaseFiles" / "stock.db", SqliteDb::Mode::ReadWrite);
    db.exec("INSERT INTO stock (PartNumber, Quantity) VALUES (NULL, 4)");
  }
  EXPECT_EQ(walk(*t, "Quantity"), "2,4,3,1");
  t->last();
  std::string back;
  while (!t->bof()) {
    back += t->fieldByName("Quantity").displayText() + ",";
    t->prior();
  }
  EXPECT_EQ(back, "1,3,4,2,");
}

TEST_F(CursorTest, StepsChangeBetweenRunsOfEqualKeysAndSingleKeys) {
  // Long runs and single keys mixed, walked forwards and backwards twice: the engine chooses
  // its statements by what it met last, and must land on the same records whatever it chose.
  auto t = open("NewSales");
  const char* keys[] = {"1", "2", "1", "1", "3", "1", "4", "4", "1", "5", "1", "1", "6"};
  for (const char* k : keys) add(*t, {{"CustNum", k}});
  t->selectIndex("byCustNum");
  const std::string forward = "1,3,4,6,9,11,12,2,5,7,8,10,13";
  EXPECT_EQ(walk(*t, "Item"), forward);
  EXPECT_EQ(walk(*t, "Item"), forward);
  for (int round = 0; round < 2; ++round) {
    t->last();
    std::string back;
    while (!t->bof()) {
      back += t->fieldByName("Item").displayText() + ",";
      t->prior();
    }
    EXPECT_EQ(back, "13,10,8,7,5,2,12,11,9,6,4,3,1,");
  }
  // Another writer adds an equal key behind the cursor's run while it walks.
  ASSERT_TRUE(t->findKey("1"));
  t->next();
  auto other = open("NewSales");
  add(*other, {{"CustNum", "1"}});
  std::string rest;
  while (!t->eof()) {
    rest += t->fieldByName("Item").displayText() + ",";
    t->next();
  }
  EXPECT_EQ(rest, "3,4,6,9,11,12,14,2,5,7,8,10,13,");
}

TEST_F(CursorTest, MoveToRowidAndPositionForGrids) {
  auto t = stock();
  t->selectIndex("byDescription");
  ASSERT_TRUE(t->findKey("mango"));
  EXPECT_EQ(t->currentPosition(), 3);
  const auto rowid = t->currentRowid();
  t->first();
  EXPECT_EQ(t->currentPosition(), 0);
  ASSERT_TRUE(t->moveToRowid(rowid));
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=mango PartNumber=C300");
  EXPECT_FALSE(t->moveToRowid(999));
  EXPECT_EQ(cursorText(*t, {"PartNumber"}), "browse key=mango PartNumber=C300");
  auto page = t->file().page(t->index(), 1, 2);
  ASSERT_EQ(page.size(), 2u);
  EXPECT_EQ(std::get<std::string>(page[0].values[0]), "D400");
  EXPECT_EQ(std::get<std::string>(page[1].values[0]), "E500");

  // Read from the end when the count is known: the same rows, in the same order, including a
  // short last page and a page past the end.
  const std::int64_t total = t->recordCount();
  auto parts = [](const std::vector<Row>& rows) {
    std::string out;
    for (const Row& r : rows) out += std::get<std::string>(r.values[0]) + ",";
    return out;
  };
  for (std::int64_t offset = 0; offset <= total; ++offset)
    for (int limit : {1, 2, 3})
      EXPECT_EQ(parts(t->file().page(t->index(), offset, limit, total)),
                parts(t->file().page(t->index(), offset, limit)))
          << "offset " << offset << " limit " << limit;
}

}  // namespace
}  // namespace corvanta::test
