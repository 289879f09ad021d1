// The inventory window's interface and the cases its scenario scripts cannot reach: guards
// against storing unasked-for records and the order of the search dialog's steps.
#include <gtest/gtest.h>

#include "data/engine/Table.h"
#include "data/engine/TableFile.h"
#include "data/modules/DataModules.h"
#include "inventory/InventoryForm.h"
#include "inventory/SearchForm.h"
#include "support/TestSupport.h"

namespace corvanta::test {
namespace {

class InventoryForm : public ::testing::Test {
 protected:
  Table& stock() { return shop.g().DataModule2->InventoryTable1; }
  TInventoryForm& form() { return *shop.g().InventoryForm; }
  void seed(const std::string& part, const std::string& quantity) {
    stock().insert();
    stock().fieldByName("PartNumber").setText(part);
    stock().fieldByName("Quantity").setText(quantity);
    stock().post();
  }
  // State, part number and quantity of the current record, unposted changes included.
  std::string current() {
    return std::string(stateName(stock().state())) + " " +
           stock().fieldByName("PartNumber").displayText() + " " +
           stock().fieldByName("Quantity").displayText();
  }
  TestShop shop;
};

TEST_F(InventoryForm, RecordEditsAreBoundInTabOrderForTheWindowsThatReadThem) {
  auto& f = form();
  std::string edits;
  for (Control* c : f.controls())
    if (auto* e = dynamic_cast<DBEdit*>(c))
      edits += e->name() + "=" + e->link().sourcePath() + "." + e->link().fieldName() + " ";
  const std::string s = "=DataModule2.DataSource1.";
  EXPECT_EQ(edits,
            "EditItemNumber" + s + "PartNumber EditDescription" + s + "Description EditPrice" + s +
                "Price DiscountPrice1DBEdit" + s + "DiscountPrice1 DiscountPrice2DBEdit" + s +
                "DiscountPrice2 DiscountPrice3DBEdit" + s + "DiscountPrice3 EditQuantity" + s +
                "Quantity editMinQuan" + s + "MinimumQuantity CategoryDBEdit" + s + "Category ");
  for (NavButton b : {NavButton::Insert, NavButton::Delete, NavButton::Edit, NavButton::Post})
    EXPECT_FALSE(f.DBNavigator.isVisible(b));
}

TEST_F(InventoryForm, StockCommandsOnAnEmptyListAskNothingAndStoreNoNamelessItem) {
  auto& f = form();
  for (Button* b : {&f.cmdAddInventory, &f.cmdRemoveInventory, &f.cmdMinQuantity, &f.cmdDeleteItem})
    b->click();
  EXPECT_EQ(shop.dialogs.takeErrors(),
            std::vector<std::string>(4, "Cannot perform this operation on an empty dataset"));
  EXPECT_TRUE(shop.dialogs.asked().empty());
  EXPECT_EQ(stock().recordCount(), 0);
  EXPECT_EQ(stock().state(), TableState::Browse);
}

TEST_F(InventoryForm, QuantityBeyondThirtyTwoBitsIsRefusedAndNothingIsPosted) {
  seed("A100", "12");
  shop.dialogs.queueAnswer("2147483647");
  form().cmdAddInventory.click();
  EXPECT_EQ(shop.dialogs.takeErrors(),
            std::vector<std::string>{"The quantity 2147483659 is out of range: a stock quantity "
                                     "must lie between -2147483648 and 2147483647"});
  EXPECT_EQ(current(), "browse A100 12");
}

// A number the person enters in the stock commands' boxes is stored even where it reads as
// the number shown: a minimum of 2 over a stored 2.0000000000000004 (shown "2"), and receiving
// none over a quantity shown "12" that is not quite 12.
TEST_F(InventoryForm, NumbersEnteredAsShownAreStored) {
  seed("A100", "12.000000000000002");
  stock().edit();
  stock().fieldByName("MinimumQuantity").setText("2.0000000000000004");
  stock().post();
  ASSERT_EQ(form().editMinQuan.text(), "2");
  ASSERT_EQ(form().EditQuantity.text(), "12");

  shop.dialogs.queueAnswer("2");
  form().cmdMinQuantity.click();
  shop.dialogs.queueAnswer("0");
  form().cmdAddInventory.click();
  EXPECT_EQ(stock().state(), TableState::Browse);
  const auto stored = stock().file().byRowid(stock().currentRowid());
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->values[stock().fieldByName("MinimumQuantity").index()], Value(2.0));
  EXPECT_EQ(stored->values[stock().fieldByName("Quantity").index()], Value(12.0));
}

TEST_F(InventoryForm, DeleteItemWhileAddingAsksAndDiscardsOnlyTheNewRecord) {
  seed("A100", "12");
  form().cmdAddItem.click();
  form().EditItemNumber.typeText("Z900");
  shop.dialogs.queueConfirmation(false);
  form().cmdDeleteItem.click();
  EXPECT_EQ(stock().state(), TableState::Insert);
  EXPECT_EQ(form().EditItemNumber.text(), "Z900");
  shop.dialogs.queueConfirmation(true);
  form().cmdDeleteItem.click();
  EXPECT_EQ(current(), "browse A100 12");
  EXPECT_EQ(stock().recordCount(), 1);
}

// Counts the messages shown by the time the dialog was hidden.
struct HideWatch : FormObserver {
  explicit HideWatch(StrictDialogs& d) : dialogs(d) {}
  void formShown(Form&) override {}
  void formHidden(Form&) override { messagesWhenHidden = dialogs.unreadMessages().size(); }
  StrictDialogs& dialogs;
  size_t messagesWhenHidden = 99;
};

TEST_F(InventoryForm, NotFoundIsSaidOnlyAfterTheSearchDialogHasClosed) {
  seed("A100", "12");
  TSearchForm& search = *shop.g().SearchForm;
  search.show();
  HideWatch watch(shop.dialogs);
  search.addObserver(&watch);
  shop.dialogs.queueAnswer("Z999");
  search.cmdOK.click();
  search.removeObserver(&watch);
  EXPECT_EQ(watch.messagesWhenHidden, 0u);
  EXPECT_EQ(shop.dialogs.takeMessages(), std::vector<std::string>{"Item Number not found !"});
  EXPECT_EQ(current(), "browse A100 12");
}

}  // namespace
}  // namespace corvanta::test
