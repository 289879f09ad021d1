// The inventory and clients windows used through their real widgets, as a person would.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

#include "GuiHarness.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"

namespace corvanta::test {
namespace {

TEST(InventoryWindow, AnItemAddedThroughTheWidgetsIsFoundAgain) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  shop.press("CorvantaMainForm", "Talvesk");
  shop.press("InventoryForm", "cmdAddItem");
  typeInto(shop, "InventoryForm", "EditItemNumber", "H200");
  typeInto(shop, "InventoryForm", "EditDescription", "Hand saw");
  typeInto(shop, "InventoryForm", "EditPrice", "19.5");
  typeInto(shop, "InventoryForm", "EditQuantity", "7");
  shop.press("InventoryForm", "cmdSaveItem");
  shop.press("InventoryForm", "cmdAddItem");
  typeInto(shop, "InventoryForm", "EditItemNumber", "J300");
  typeInto(shop, "InventoryForm", "EditDescription", "Jig saw");
  shop.press("InventoryForm", "cmdSaveItem");
  EXPECT_EQ(shop.widget<QLineEdit>("InventoryForm", "EditItemNumber")->text(), "J300");

  // Search by part number through the search dialog and its input box.
  shop.answers << "H200";
  shop.press("InventoryForm", "cmdSearch");
  shop.press("SearchForm", "cmdOK");
  EXPECT_EQ(shop.widget<QLineEdit>("InventoryForm", "EditItemNumber")->text(), "H200");
  EXPECT_EQ(shop.widget<QLineEdit>("InventoryForm", "EditDescription")->text(), "Hand saw");
  EXPECT_EQ(shop.widget<QLineEdit>("InventoryForm", "EditPrice")->text(), "19.50");
  Table& stock = shop.app().g.DataModule2->InventoryTable1;
  EXPECT_EQ(stock.state(), TableState::Browse);
  EXPECT_EQ(stock.recordCount(), 2);
  ASSERT_EQ(shop.boxes.size(), 1) << shop.boxes.join("\n").toStdString();
  EXPECT_TRUE(shop.boxes[0].contains("Enter Part Number to search for:"));
}

// What a person types over a price is what is stored, even where it reads exactly as the
// price shown (2.499 shows as 2.50): typed key by key, pasted over the selection, or entered
// in the minimum quantity's input box.
TEST(InventoryWindow, ATextTypedExactlyAsShownIsStored) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  Table& stock = shop.app().g.DataModule2->InventoryTable1;
  fill(stock, {{"PartNumber", "A100"},
               {"Price", "2.499"},
               {"DiscountPrice1", "2.375"},
               {"MinimumQuantity", "2.0000000000000004"}});
  shop.press("CorvantaMainForm", "Talvesk");
  ASSERT_EQ(shop.widget<QLineEdit>("InventoryForm", "EditPrice")->text(), "2.50");
  ASSERT_EQ(shop.widget<QLineEdit>("InventoryForm", "DiscountPrice1DBEdit")->text(), "2.38");
  ASSERT_EQ(shop.widget<QLineEdit>("InventoryForm", "editMinQuan")->text(), "2");

  shop.press("InventoryForm", "cmdEditItem");
  typeInto(shop, "InventoryForm", "EditPrice", "2.50");
  auto* discount = shop.widget<QLineEdit>("InventoryForm", "DiscountPrice1DBEdit");
  discount->setFocus();
  discount->selectAll();
  QGuiApplication::clipboard()->setText("2.38");
  QTest::keyClick(discount, Qt::Key_V, Qt::ControlModifier);
  settle();
  ASSERT_EQ(discount->text(), "2.38");
  shop.press("InventoryForm", "cmdSaveItem");
  EXPECT_EQ(stock.state(), TableState::Browse);
  EXPECT_EQ(stock.fieldByName("Price").asFloat(), 2.5);
  EXPECT_EQ(stock.fieldByName("DiscountPrice1").asFloat(), 2.38);

  shop.answers << "2";
  shop.press("InventoryForm", "cmdMinQuantity");
  EXPECT_EQ(stock.fieldByName("MinimumQuantity").asFloat(), 2.0);
  EXPECT_EQ(shop.boxes.size(), 1) << shop.boxes.join("\n").toStdString();
}

TEST(ClientsWindow, ACustomerAddedThroughTheWidgetsGetsTheNextNumber) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  shop.press("CorvantaMainForm", "Morvane");
  // Without Add New Customer or Edit Entry the clients table takes no typing.
  typeInto(shop, "FormClients", "DBEdit1", "Nobody");
  EXPECT_EQ(shop.widget<QLineEdit>("FormClients", "DBEdit1")->text(), "");

  shop.press("FormClients", "cmdNewCustomer");
  typeInto(shop, "FormClients", "DBEdit1", "Doe");
  typeInto(shop, "FormClients", "DBEdit2", "Jane");
  shop.press("FormClients", "cmdSaveRecord");
  Table& clients = shop.app().g.ClientDataModule->ClientsTable;
  EXPECT_EQ(clients.state(), TableState::Browse);
  EXPECT_EQ(clients.fieldByName("CustNum").displayText(), "1");
  EXPECT_EQ(clients.fieldByName("LastName").displayText(), "Doe");
  EXPECT_EQ(clients.fieldByName("FirstName").displayText(), "Jane");
  EXPECT_EQ(shop.widget<QLineEdit>("FormClients", "DBEdit1")->text(), "Doe");
  EXPECT_TRUE(shop.boxes.isEmpty()) << shop.boxes.join("\n").toStdString();
}

}  // namespace
}  // namespace corvanta::test
