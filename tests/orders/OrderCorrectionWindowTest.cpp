// The order correction window's bindings and the guards a scenario cannot reach: a sale being
// entered (its pending line in insert state) and a change typed into the line that the line
// cannot take.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>

#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "orders/ChangePriceForm.h"
#include "orders/SalesSearchForm.h"
#include "orders/SearchEditOrderForm.h"
#include "support/FaultyVfs.h"
#include "support/TestSupport.h"

namespace corvanta::test {
namespace {

class OrderCorrectionWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    store(taxRates(), {{"TaxRate", "8"}});
    store(stock(), {{"PartNumber", "A100"}, {"Price", "10"}, {"Quantity", "10"}});
    store(sales(), {{"PartNumber", "A100"},
                    {"QuantitySold", "3"},
                    {"Price", "10"},
                    {"OrderNumber", "1001"},
                    {"Total", "30"},
                    {"Tax", "2.4"}});
    store(billing(), {{"OrderNumber", "1001"}, {"GrandTotal", "32.4"}, {"TotalTax", "2.4"}});
    form().show();
  }
  static void store(Table& t, const std::map<std::string, std::string>& values) {
    t.insert();
    for (const auto& [field, text] : values) t.fieldByName(field).setText(text);
    t.post();
  }
  Table& sales() { return shop.g().SalesDataModule->SalesTable; }
  Table& stock() { return shop.g().DataModule2->InventoryTable1; }
  Table& billing() { return shop.g().ShippingBillingDataModule->ShippingBillingTable; }
  Table& taxRates() { return shop.g().SalesTaxDataModule->SalesTaxTable; }
  TSearchEditOrderForm& form() { return *shop.g().SearchEditOrderForm; }
  // What the tables hold for the stored line, its product and its order.
  std::string stored() {
    auto field = [](Table& t, const char* name) {
      const int i = t.def().fieldIndex(name);
      auto row = t.file().first(t.def().indexes.front());
      return row ? displayTextOf(t.def().fields[i], row->values[i]) : std::string("-");
    };
    return "line " + field(sales(), "QuantitySold") + " " + field(sales(), "Price") + " " +
           field(sales(), "Total") + " stock " + field(stock(), "Quantity") + " order " +
           field(billing(), "GrandTotal") + " " + field(billing(), "TotalTax") + " lines " +
           std::to_string(sales().recordCount());
  }

  FaultyVfs disk;  // made first: the shop's tables open through it
  TestShop shop;
};

TEST_F(OrderCorrectionWindow, EditsShowTheSalesLineAndLabelsTheStockItemsPrices) {
  std::string bound;
  for (Control* c : form().controls()) {
    if (auto* e = dynamic_cast<DBEdit*>(c))
      bound += e->name() + "=" + e->link().fieldName() + "/" + std::to_string(e->maxLength) + " ";
    if (auto* t = dynamic_cast<DBText*>(c))
      bound += t->name() + "=" + t->link().sourcePath() + "." + t->link().fieldName() + " ";
  }
  EXPECT_EQ(bound,
            "DateDBEdit=Date/10 OrderNumberDBEdit=OrderNumber/0 CustomerNumberDBEdit=CustNum/0 "
            "PartNumberDBEdit=PartNumber/50 QuantitySoldDBEdit=QuantitySold/0 "
            "PriceChargedDBEdit=Price/0 TotalDBEdit=Total/0 "
            "DBText1=DataModule2.DataSource1.Price "
            "DBText2=DataModule2.DataSource1.DiscountPrice1 "
            "DBText3=DataModule2.DataSource1.DiscountPrice2 "
            "DBText4=DataModule2.DataSource1.DiscountPrice3 ");
  EXPECT_EQ(form().DBNavigator1.visibleButtons(),
            (std::vector<NavButton>{NavButton::Prior, NavButton::Next}));
}

TEST_F(OrderCorrectionWindow, ASaleBeingEnteredIsNeitherStoredNorMovedNorChanged) {
  shop.g().SalesSearchForm->show();  // opened before the sale started
  // A sale starts: its pending line, with the order header set, is the line on show.
  sales().insert();
  sales().fieldByName("OrderNumber").setText("1002");
  EXPECT_FALSE(form().DBNavigator1.isEnabled(NavButton::Prior));
  EXPECT_FALSE(form().DBNavigator1.isEnabled(NavButton::Next));
  EXPECT_FALSE(form().QuantitySoldDBEdit.typeText("7"));
  EXPECT_FALSE(form().OrderNumberDBEdit.typeText("1"));

  for (Button* b : {&form().cmdSearch, &form().cmdChangePriceCharged, &form().cmdDeleteEntry,
                    &form().cmdDecreaseQuantitySold, &form().cmdIncreaseQuantitySold})
    b->click();
  shop.g().SalesSearchForm->cmdOK.click();
  shop.g().ChangePriceForm->cmdOK.click();
  EXPECT_EQ(shop.dialogs.takeMessages(),
            std::vector<std::string>(7,
                                     "An order is being entered in the Sales Entry Form. Finish "
                                     "it before correcting orders."));
  EXPECT_TRUE(shop.dialogs.asked().empty());
  EXPECT_TRUE(shop.dialogs.takeErrors().empty());
  EXPECT_EQ(sales().state(), TableState::Insert);
  EXPECT_EQ(sales().fieldByName("OrderNumber").displayText(), "1002");
  EXPECT_EQ(sales().indexName(), "");
  EXPECT_EQ(stored(), "line 3 10.00 30.00 stock 10 order 32.40 2.40 lines 1");

  // The sale ends (here: its pending line is discarded): the window works again.
  sales().cancel();
  EXPECT_TRUE(form().DBNavigator1.enabled());
  EXPECT_TRUE(form().QuantitySoldDBEdit.enabled());
  shop.dialogs.queueAnswer("1");
  form().cmdDecreaseQuantitySold.click();
  EXPECT_EQ(stored(), "line 2 10.00 20.00 stock 11 order 21.60 1.60 lines 1");
}

TEST_F(OrderCorrectionWindow, ATypedTextTheLineCannotTakeStopsACorrectionBeforeAnyChange) {
  EXPECT_TRUE(form().PriceChargedDBEdit.typeText("ten"));
  EXPECT_FALSE(form().PriceChargedDBEdit.leave());
  shop.g().ChangePriceForm->optRetailPrice.setChecked(true);
  shop.g().ChangePriceForm->cmdOK.click();
  shop.dialogs.queueAnswer("1");
  form().cmdDecreaseQuantitySold.click();
  EXPECT_EQ(shop.dialogs.takeErrors(),
            std::vector<std::string>(3,
                                     "'ten' is not a valid floating point value for field "
                                     "'Price'"));
  EXPECT_EQ(stored(), "line 3 10.00 30.00 stock 10 order 32.40 2.40 lines 1");
  EXPECT_EQ(sales().state(), TableState::Edit);
  EXPECT_EQ(billing().state(), TableState::Browse);
}

// A step whose post fails (here the disk of the billing file) leaves no record in edit state:
// a later move of the cursor must not store the step's figures outside the command, without
// its mark.  The command stays recorded, to be finished at the next start.
TEST_F(OrderCorrectionWindow, AStepThatFailsLeavesNothingPendingForTheNextMove) {
  disk.failWritesOfFilesNamed("BillingShipping", SQLITE_IOERR_WRITE);
  shop.dialogs.queueAnswer("1");
  form().cmdDecreaseQuantitySold.click();
  EXPECT_EQ(shop.dialogs.takeErrors().size(), 1u);
  EXPECT_EQ(billing().state(), TableState::Browse);
  disk.failWrites(0);
  billing().first();
  form().DBNavigator1.click(NavButton::Next);
  EXPECT_EQ(stored(), "line 2 10.00 30.00 stock 11 order 32.40 2.40 lines 1");
}

}  // namespace
}  // namespace corvanta::test
