// The sales windows where scenario scripts cannot reach: a stock change that fails after the
// line is stored, a print that fails after the order is stored, a sales table left in edit
// state by another window, an Exit whose stock return is out of range, and the window's
// interface (bindings, tab order).
#include <gtest/gtest.h>

#include "data/ProcessingForm.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "sales/ChoosePriceForm.h"
#include "sales/SalesEntryForm.h"
#include "support/TestSupport.h"
#include "ui/Error.h"

namespace corvanta::test {
namespace {

// Report runs fail, as when the printer is gone or the definition is missing.
struct FailingReports : ReportRuntime {
  int runs = 0;
  void run(const ReportRun& r) override {
    ++runs;
    throw Error("Cannot open the report definition " + r.reportName);
  }
};

void seedShop(Globals& g) {
  Table& stock = g.DataModule2->InventoryTable1;
  stock.insert();
  stock.fieldByName("PartNumber").setText("A100");
  stock.fieldByName("Price").setText("12.5");
  stock.fieldByName("Quantity").setText("24");
  stock.post();
  Table& clients = g.ClientDataModule->ClientsTable;
  clients.insert();
  clients.fieldByName("LastName").setText("Doe");
  clients.post();
  Table& tax = g.SalesTaxDataModule->SalesTaxTable;
  tax.insert();
  tax.fieldByName("TaxRate").setText("7");
  tax.post();
  Table& sales = g.SalesDataModule->SalesTable;
  sales.insert();
  sales.fieldByName("OrderNumber").setText("5");
  sales.post();
}

// Starts order 6 for customer 1 through the find-customer dialogs.
void startOrder(Globals& g, StrictDialogs& dialogs) {
  startOrderFor(g, dialogs, "1");
}

void sell(Globals& g, const std::string& quantity) {
  g.SalesEntryForm->QuantityToOrderEdit.typeText(quantity);
  g.SalesEntryForm->cmdAddtoOrder.click();
  g.ChoosePriceForm->cmdContinue.click();
}

TEST(SalesEntryWindow, TabOrderAndBindingsOfTheOrderWindow) {
  TestShop shop;
  TSalesEntryForm& f = *shop.g().SalesEntryForm;
  std::string order;
  for (Control* c : f.controls())
    if (c->kind() != ControlKind::Label) order += c->name() + " ";
  EXPECT_EQ(order,
            "DateDBEdit CustomerNumberDBEdit TypeofSaleDBEdit CreditCardNumberDBEdit "
            "CreditCardTypeDBEdit PickUpShipDBEdit InventoryPriceDBEdit QuantityToOrderEdit "
            "InventoryDiscountPrice1DBEdit InventoryDiscountPrice2DBEdit "
            "InventoryDiscountPrice3DBEdit PartNumberDBEdit ProductDescriptionDBEdit "
            "ProductQuantityInStockDBEdit cmdAddtoOrder cmdFindProduct cmdEndofOrder DBNavigator1 "
            "OrderNumberDBEdit cmdEndofOrder2 cmdHelp cmdEndofOrderWOPrint Button1 ");
  std::string readOnly;
  for (Control* c : f.controls())
    if (auto* e = dynamic_cast<DBEdit*>(c); e && e->readOnly)
      readOnly += e->link().fieldName() + "/" + std::to_string(e->maxLength) + " ";
  EXPECT_EQ(readOnly,
            "CustNum/0 Price/0 DiscountPrice1/0 DiscountPrice2/0 DiscountPrice3/0 PartNumber/50 "
            "Description/50 Quantity/0 ");
  EXPECT_EQ(f.DateDBEdit.maxLength, 10);
  EXPECT_EQ(f.PickUpShipDBEdit.maxLength, 8);
  EXPECT_EQ(f.TypeofSaleDBEdit.maxLength, 11);
  EXPECT_EQ(f.CreditCardNumberDBEdit.maxLength, 20);
  EXPECT_EQ(f.CreditCardTypeDBEdit.maxLength, 25);
  EXPECT_EQ(f.DBNavigator1.visibleButtons(), (std::vector{NavButton::Prior, NavButton::Next}));
}

TEST(SalesEntryWindow, AStockChangeThatFailsAfterTheLineIsStoredKeepsTheLineCounted) {
  TestShop shop;
  Globals& g = shop.g();
  seedShop(g);
  startOrder(g, shop.dialogs);
  // The product disappears from the file under the cursor: the stock post will fail.
  Table& stock = g.DataModule2->InventoryTable1;
  stock.file().remove(stock.currentRowid());
  sell(g, "3");

  EXPECT_EQ(shop.dialogs.takeErrors(), std::vector<std::string>{"Record/Key deleted."});
  Table& sales = g.SalesDataModule->SalesTable;
  EXPECT_EQ(sales.recordCount(), 2);                                // the line is stored...
  EXPECT_EQ(g.SalesEntryForm->RunningGrandTotal.value(), 40.125L);  // ...and counted
  EXPECT_EQ(g.SalesEntryForm->storedLineCount(), 1u);
  // The order goes on: a new pending record with the same header, the stock not in edit.
  EXPECT_EQ(sales.state(), TableState::Insert);
  EXPECT_EQ(g.SalesEntryForm->OrderNumberDBEdit.text(), "6");
  EXPECT_EQ(g.SalesEntryForm->TypeofSaleDBEdit.text(), "cash");
  EXPECT_EQ(stock.state(), TableState::Browse);
  EXPECT_FALSE(g.ChoosePriceForm->visible());

  // Taking the order back out deletes the line and puts back no stock it never took.
  shop.dialogs.queueConfirmation(true);
  g.SalesEntryForm->Button1.click();
  EXPECT_TRUE(shop.dialogs.takeErrors().empty());
  EXPECT_EQ(sales.recordCount(), 1);
  EXPECT_EQ(stock.recordCount(), 0);
  EXPECT_EQ(g.SalesEntryForm->RunningGrandTotal.value(), 0);
}

// Exit w/o Entering an Order works out every stock return before it takes anything out: a
// return that would put a quantity out of range stops it with every line and figure kept.
TEST(SalesEntryWindow, ExitRefusesAStockReturnOutOfRangeBeforeAnyLineGoes) {
  TestShop shop;
  Globals& g = shop.g();
  seedShop(g);
  Table& stock = g.DataModule2->InventoryTable1;
  fill(stock, {{"PartNumber", "B200"}, {"Price", "10"}, {"Quantity", "10"}});
  startOrder(g, shop.dialogs);
  ASSERT_TRUE(stock.findKey("A100"));
  sell(g, "3");
  ASSERT_TRUE(stock.findKey("B200"));
  sell(g, "2");
  // Meanwhile A100's stock was filled to the top: its 3 items cannot come back.
  ASSERT_TRUE(stock.findKey("A100"));
  stock.edit();
  stock.fieldByName("Quantity").setText("2147483647");
  stock.post();

  shop.dialogs.queueConfirmation(true);
  g.SalesEntryForm->Button1.click();
  EXPECT_EQ(shop.dialogs.takeErrors(),
            std::vector<std::string>{"The quantity 2147483650 is out of range: a stock quantity "
                                     "must lie between -2147483648 and 2147483647"});
  Table& sales = g.SalesDataModule->SalesTable;
  EXPECT_EQ(sales.file().count(), 3);  // the earlier order's line and both of this order
  EXPECT_EQ(g.SalesEntryForm->storedLineCount(), 2u);
  ASSERT_TRUE(stock.findKey("B200"));
  EXPECT_EQ(stock.fieldByName("Quantity").displayText(), "8");
  ASSERT_TRUE(stock.findKey("A100"));
  EXPECT_EQ(stock.fieldByName("Quantity").displayText(), "2147483647");
}

TEST(SalesEntryWindow, APrintThatFailsChangesNothingOfTheStoredOrder) {
  TempDir dir;
  Engine engine(EngineConfig::forDataDirectory(dir.path()));
  StrictDialogs dialogs;
  RecordingHelp help;
  FailingReports reports;
  CorvantaApp app(engine, Platform{dialogs, help, reports, {}, {}});
  ASSERT_TRUE(app.start());
  Globals& g = app.g;
  seedShop(g);
  startOrder(g, dialogs);
  sell(g, "3");
  g.SalesEntryForm->cmdEndofOrder.click();

  EXPECT_EQ(reports.runs, 1);
  EXPECT_EQ(dialogs.takeErrors(),
            std::vector<std::string>{"Cannot open the report definition Reciept.rpt"});
  // The order was stored before the print was tried: billed, totals 0, window closed.
  Table& billing = g.ShippingBillingDataModule->ShippingBillingTable;
  EXPECT_EQ(billing.recordCount(), 1);
  EXPECT_EQ(billing.state(), TableState::Browse);
  EXPECT_EQ(g.SalesEntryForm->RunningGrandTotal.value(), 0);
  EXPECT_FALSE(g.SalesEntryForm->visible());
  EXPECT_EQ(g.SalesDataModule->SalesTable.state(), TableState::Browse);
  app.shutdown();
}

TEST(SalesEntryWindow, ContinueNeverOverwritesAStoredLineLeftInEditState) {
  TestShop shop;
  Globals& g = shop.g();
  seedShop(g);
  startOrder(g, shop.dialogs);
  sell(g, "3");
  // Another window settles the pending record and puts a stored line into edit state.
  Table& sales = g.SalesDataModule->SalesTable;
  sales.cancel();
  sales.first();
  sales.edit();
  sell(g, "2");
  EXPECT_EQ(shop.dialogs.takeErrors(), std::vector<std::string>{"Dataset not in insert mode"});
  sales.cancel();
  sales.first();
  EXPECT_EQ(sales.fieldByName("OrderNumber").displayText(), "5");
  EXPECT_TRUE(sales.fieldByName("PartNumber").isNull());
  EXPECT_EQ(sales.recordCount(), 2);
  EXPECT_EQ(g.SalesEntryForm->RunningGrandTotal.value(), 40.125L);
}

}  // namespace
}  // namespace corvanta::test
