// The shipping window used through its real widgets: an order found with the search dialog,
// its shipping information entered in the dialog, and its packing slip printed to a PDF file
// that is read back as text.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "GuiHarness.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "support/PdfText.h"

namespace corvanta::test {
namespace {

TEST(ShippingWindow, OrderFoundShippedAndItsPackingSlipPrinted) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  auto& g = shop.app().g;
  fill(g.ClientDataModule->ClientsTable, {{"LastName", "Doe"},
                                          {"FirstName", "Jane"},
                                          {"Street", "12 Elm Street"},
                                          {"City", "Springfield"},
                                          {"State", "IL"},
                                          {"Zip", "62701"}});
  fill(g.DataModule2->InventoryTable1, {{"PartNumber", "A100"}, {"Description", "Claw hammer"}});
  fill(g.SalesDataModule->SalesTable, {{"PartNumber", "A100"},
                                       {"QuantitySold", "3"},
                                       {"Price", "12.5"},
                                       {"CustNum", "1"},
                                       {"OrderNumber", "1002"},
                                       {"Total", "37.5"},
                                       {"Tax", "2.625"}});
  Table& billing = g.ShippingBillingDataModule->ShippingBillingTable;
  fill(billing, {{"OrderNumber", "1001"}, {"CustNum", "1"}, {"GrandTotal", "10"}});
  fill(billing, {{"OrderNumber", "1002"}, {"CustNum", "1"}, {"GrandTotal", "40.13"}});
  billing.first();

  shop.press("CorvantaMainForm", "cmdShippingDatabaseManager");
  shop.answers << "1002";
  shop.press("ShippingForm", "cmdCheckShippingStatus");
  shop.press("SearchShippingBillingDBForm", "cmdOK");
  EXPECT_EQ(shop.widget<QLineEdit>("ShippingForm", "OrderNumberDBEdit")->text(), "1002");

  shop.press("ShippingForm", "cmdEnterShippinginformation");
  EXPECT_TRUE(shop.window("ShippingInformationForm").isVisible());
  typeInto(shop, "ShippingInformationForm", "DataShippedDBEdit", "3/10/26");
  typeInto(shop, "ShippingInformationForm", "PackedByDBEdit", "Ann");
  typeInto(shop, "ShippingInformationForm", "ShippedByDBEdit", "Parcel post");
  typeInto(shop, "ShippingInformationForm", "ShippingChargeDBEdit", "6.5");
  shop.press("ShippingInformationForm", "cmdOK");
  EXPECT_FALSE(shop.window("ShippingInformationForm").isVisible());
  EXPECT_EQ(billing.state(), TableState::Browse);
  // 40.13 + 6.50 in short reals, worked out by exact rational arithmetic.
  EXPECT_EQ(billing.fieldByName("GrandTotal").asFloat(), 46.6300000000047);
  EXPECT_EQ(billing.fieldByName("ShippingCharge").asFloat(), 6.5);
  EXPECT_EQ(shop.widget<QLineEdit>("ShippingForm", "ShippedViaDBEdit")->text(), "Parcel post");
  EXPECT_EQ(shop.widget<QLineEdit>("ShippingForm", "ShippingChargeDBEdit")->text(), "6.50");

  shop.press("ShippingForm", "cmdPrintPackagingSlip");
  ASSERT_EQ(shop.boxes.size(), 2) << shop.boxes.join("\n").toStdString();
  EXPECT_TRUE(shop.boxes[0].contains("Enter Order Number to Search for"));
  const QString saved = shop.boxes[1];
  const qsizetype at = saved.indexOf(":\n");
  ASSERT_GE(at, 0) << saved.toStdString();
  const std::string pdf = saved.mid(at + 2).section('\n', 0, 0).toStdString();
  const std::string text = pdfText(pdf);
  for (const char* shown : {"PACKING SLIP", "1002", "Jane Doe", "12 Elm Street", "Parcel post",
                            "3/10/26", "Ann", "A100", "Claw hammer"})
    EXPECT_NE(text.find(shown), std::string::npos) << shown << " not in\n" << text;
  // A packing slip carries no prices.
  EXPECT_EQ(text.find("46.63"), std::string::npos) << text;
}

}  // namespace
}  // namespace corvanta::test
