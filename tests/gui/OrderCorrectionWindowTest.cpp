// The order correction window used through its real widgets: an order found with the search
// dialog and one of its lines decreased, as a person at the counter would.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <map>

#include "GuiHarness.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"

namespace corvanta::test {
namespace {

void store(Table& t, const std::map<std::string, std::string>& values) {
  t.insert();
  for (const auto& [field, text] : values) t.fieldByName(field).setText(text);
  t.post();
}

QString shown(GuiShop& shop, const std::string& control) {
  auto* edit = shop.widget<QLineEdit>("SearchEditOrderForm", control);
  return edit ? edit->text() : QString("(no edit %1)").arg(control.c_str());
}

TEST(OrderCorrectionWindow, AnOrderFoundThroughTheSearchDialogHasALineDecreased) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  auto& g = shop.app().g;
  store(g.SalesTaxDataModule->SalesTaxTable, {{"TaxRate", "8"}});
  store(g.DataModule2->InventoryTable1,
        {{"PartNumber", "A100"}, {"Price", "10"}, {"Quantity", "10"}, {"DiscountPrice1", "9"}});
  store(g.DataModule2->InventoryTable1,
        {{"PartNumber", "B200"}, {"Price", "4"}, {"Quantity", "5"}});
  for (const char* order : {"1001", "1002"})
    store(g.SalesDataModule->SalesTable, {{"PartNumber", order[3] == '1' ? "B200" : "A100"},
                                          {"QuantitySold", "3"},
                                          {"Price", "10"},
                                          {"OrderNumber", order},
                                          {"Total", "30"},
                                          {"Tax", "2.4"}});
  store(g.ShippingBillingDataModule->ShippingBillingTable,
        {{"OrderNumber", "1002"}, {"GrandTotal", "32.4"}, {"TotalTax", "2.4"}});
  g.SalesDataModule->SalesTable.first();
  g.DataModule2->InventoryTable1.last();

  shop.press("CorvantaMainForm", "cmdSearchEditOrder");
  ASSERT_TRUE(shop.window("SearchEditOrderForm").isVisible());
  EXPECT_EQ(shown(shop, "OrderNumberDBEdit"), "1001");

  shop.press("SearchEditOrderForm", "cmdSearch");
  ASSERT_TRUE(shop.window("SalesSearchForm").isVisible());
  EXPECT_TRUE(shop.widget<QRadioButton>("SalesSearchForm", "optOrderNumber")->isChecked());
  shop.answers << "1002";
  shop.press("SalesSearchForm", "cmdOK");
  EXPECT_FALSE(shop.window("SalesSearchForm").isVisible());
  EXPECT_EQ(shown(shop, "OrderNumberDBEdit"), "1002");
  EXPECT_EQ(shown(shop, "PartNumberDBEdit"), "A100");
  EXPECT_EQ(shown(shop, "TotalDBEdit"), "30.00");

  shop.answers << "1";
  shop.press("SearchEditOrderForm", "cmdDecreaseQuantitySold");
  EXPECT_EQ(shown(shop, "QuantitySoldDBEdit"), "2");
  EXPECT_EQ(shown(shop, "TotalDBEdit"), "20.00");
  // The line's product is now the stock record on show, with its prices.
  auto* retail = shop.widget<QLabel>("SearchEditOrderForm", "DBText1");
  ASSERT_NE(retail, nullptr);
  EXPECT_EQ(retail->text(), "10.00");
  EXPECT_EQ(shop.widget<QLabel>("SearchEditOrderForm", "DBText2")->text(), "9.00");

  Table& stock = g.DataModule2->InventoryTable1;
  EXPECT_EQ(stock.fieldByName("PartNumber").displayText(), "A100");
  EXPECT_EQ(stock.fieldByName("Quantity").displayText(), "11");
  Table& billing = g.ShippingBillingDataModule->ShippingBillingTable;
  EXPECT_EQ(billing.fieldByName("GrandTotal").asFloat(), 21.6000000000349);
  EXPECT_EQ(billing.fieldByName("TotalTax").asFloat(), 1.60000000000036);
  ASSERT_EQ(shop.boxes.size(), 2) << shop.boxes.join("\n").toStdString();
  EXPECT_EQ(shop.boxes[0], "Search: Enter Order Number to Search for");
  EXPECT_EQ(shop.boxes[1], "Decrease Quantity sold: Enter Amount");
}

}  // namespace
}  // namespace corvanta::test
