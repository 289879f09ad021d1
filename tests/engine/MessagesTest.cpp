// The table engine's messages, word for word, and the rule that after a failure the table
// keeps its state and current record.
#include "engine/EngineTestUtil.h"

namespace corvanta::test {
namespace {

using MessagesTest = EngineTest;

constexpr const char* kClosed = "Cannot perform this operation on a closed dataset";
constexpr const char* kNotEditing = "Dataset not in edit or insert mode";
constexpr const char* kEmpty = "Cannot perform this operation on an empty dataset";

TEST_F(MessagesTest, EveryOperationOnAClosedTable) {
  auto t = closed("stock.db");
  const std::vector<std::pair<const char*, std::function<void()>>> ops = {
      {"first", [&] { t->first(); }},
      {"last", [&] { t->last(); }},
      {"next", [&] { t->next(); }},
      {"prior", [&] { t->prior(); }},
      {"edit", [&] { t->edit(); }},
      {"insert", [&] { t->insert(); }},
      {"post", [&] { t->post(); }},
      {"cancel", [&] { t->cancel(); }},
      {"remove", [&] { t->remove(); }},
      {"refresh", [&] { t->refresh(); }},
      {"findKey", [&] { t->findKey("A"); }},
      {"findNearest", [&] { t->findNearest("A"); }},
      {"selectIndex", [&] { t->selectIndex("byDescription"); }},
      {"recordCount", [&] { t->recordCount(); }},
      {"moveToRowid", [&] { t->moveToRowid(1); }},
      {"currentPosition", [&] { t->currentPosition(); }},
      {"setText", [&] { t->fieldByName("Quantity").setText("1"); }},
      {"file", [&] { t->file(); }},
  };
  for (const auto& [name, op] : ops) {
    EXPECT_EQ(errorOf(op), kClosed) << name;
    EXPECT_EQ(cursorText(*t), "inactive") << name;
  }
  // Closed again after being open.
  t->open();
  add(*t, {{"PartNumber", "A"}});
  t->close();
  EXPECT_EQ(errorOf([&] { t->next(); }), kClosed);
  EXPECT_EQ(t->fieldByName("PartNumber").displayText(), "");
}

TEST_F(MessagesTest, CloseDiscardsAPendingInsert) {
  auto t = open("stock.db");
  t->insert();
  t->fieldByName("PartNumber").setText("A");
  t->close();
  t->open();
  EXPECT_EQ(cursorText(*t), "browse empty bof eof");
}

TEST_F(MessagesTest, PostAndFieldChangesOutsideEditOrInsert) {
  auto t = open("stock.db");
  add(*t, {{"PartNumber", "A"}, {"Quantity", "1"}});
  add(*t, {{"PartNumber", "B"}, {"Quantity", "2"}});
  t->first();
  EXPECT_EQ(errorOf([&] { t->post(); }), kNotEditing);
  EXPECT_EQ(errorOf([&] { t->fieldByName("Quantity").setText("9"); }), kNotEditing);
  EXPECT_EQ(cursorText(*t, {"Quantity"}), "browse key=A Quantity=1 bof");
  auto empty = open("clients.DB");
  EXPECT_EQ(errorOf([&] { empty->post(); }), kNotEditing);
  EXPECT_EQ(cursorText(*empty), "browse empty bof eof");
}

TEST_F(MessagesTest, DeleteOnAnEmptyTable) {
  auto t = open("stock.db");
  EXPECT_EQ(errorOf([&] { t->remove(); }), kEmpty);
  EXPECT_EQ(cursorText(*t), "browse empty bof eof");
}

TEST_F(MessagesTest, IntegerKeyNotConvertible) {
  auto t = open("clients.DB");
  add(*t, {{"LastName", "A"}});
  add(*t, {{"LastName", "B"}});
  EXPECT_EQ(errorOf([&] { t->findKey("12a"); }),
            "'12a' is not a valid integer value for field 'CustNum'");
  EXPECT_EQ(errorOf([&] { t->findNearest("1.5"); }),
            "'1.5' is not a valid integer value for field 'CustNum'");
  EXPECT_EQ(cursorText(*t, {"LastName"}), "browse key=2 LastName=B");
  auto rate = open("TaxRate");
  EXPECT_EQ(errorOf([&] { rate->findKey("x"); }),
            "'x' is not a valid integer value for field 'RecNo'");
}

TEST_F(MessagesTest, FloatKeyNotConvertible) {
  auto t = open("NewSales");
  add(*t, {{"OrderNumber", "1000"}});
  add(*t, {{"OrderNumber", "1001"}});
  t->selectIndex("ByOrderNumber");
  t->first();
  EXPECT_EQ(errorOf([&] { t->findKey("1,5"); }),
            "'1,5' is not a valid floating point value for field 'OrderNumber'");
  EXPECT_EQ(errorOf([&] { t->findNearest("abc"); }),
            "'abc' is not a valid floating point value for field 'OrderNumber'");
  EXPECT_EQ(cursorText(*t, {"Item"}), "browse key=1000 Item=1 bof");
}

TEST_F(MessagesTest, TextPostedIntoAFloatField) {
  auto t = open("stock.db");
  add(*t, {{"PartNumber", "A"}, {"Price", "2.50"}});
  t->edit();
  t->fieldByName("Quantity").setText("7");
  EXPECT_EQ(errorOf([&] { t->fieldByName("Price").setText("2,75"); }),
            "'2,75' is not a valid floating point value for field 'Price'");
  EXPECT_EQ(cursorText(*t, {"Price", "Quantity"}), "edit key=A Price=2.50 Quantity=7");
  t->post();
  EXPECT_EQ(cursorText(*t, {"Price", "Quantity"}), "browse key=A Price=2.50 Quantity=7");
}

TEST_F(MessagesTest, AKeyThatFailsToConvertLeavesAPendingEditPending) {
  auto t = open("NewSales");
  add(*t, {{"OrderNumber", "1000"}, {"QuantitySold", "1"}});
  t->selectIndex("ByOrderNumber");  // the only record: first and last
  t->edit();
  t->fieldByName("QuantitySold").setText("5");
  EXPECT_EQ(errorOf([&] { t->findKey("x"); }),
            "'x' is not a valid floating point value for field 'OrderNumber'");
  EXPECT_EQ(cursorText(*t, {"QuantitySold"}), "edit key=1000 QuantitySold=5 bof eof");
  EXPECT_EQ(errorOf([&] { t->findNearest("y"); }),
            "'y' is not a valid floating point value for field 'OrderNumber'");
  EXPECT_EQ(cursorText(*t, {"QuantitySold"}), "edit key=1000 QuantitySold=5 bof eof");
  EXPECT_TRUE(t->modified());
  t->cancel();
  EXPECT_EQ(cursorText(*t, {"QuantitySold"}), "browse key=1000 QuantitySold=1");
}

TEST_F(MessagesTest, UnknownFieldAndIndexNameTheTableObject) {
  auto t = open("stock.db");
  EXPECT_EQ(errorOf([&] { t->fieldByName("Colour"); }), "Teststock: Field 'Colour' not found");
  EXPECT_EQ(errorOf([&] { t->selectIndex("byColour"); }), "Teststock: Index 'byColour' not found");
  EXPECT_EQ(cursorText(*t), "browse empty bof eof");
}

}  // namespace
}  // namespace corvanta::test
