// A sale through the real widgets: the customer found by number, two lines sold at two price
// levels with the quantity typed into the order window, and the order ended with a printed
// receipt, written to a PDF file that is read back as text.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "GuiHarness.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "sales/SalesEntryForm.h"
#include "support/PdfText.h"

namespace corvanta::test {
namespace {

TEST(SalesWindow, TwoLinesSoldAndTheOrderEndedWithAPrintedReceipt) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  auto& g = shop.app().g;
  fill(g.ClientDataModule->ClientsTable, {{"LastName", "Doe"}, {"FirstName", "Jane"}});
  fill(g.SalesTaxDataModule->SalesTaxTable, {{"TaxRate", "7"}});
  Table& stock = g.DataModule2->InventoryTable1;
  fill(stock, {{"PartNumber", "A100"},
               {"Description", "Claw hammer"},
               {"Price", "12.5"},
               {"Quantity", "24"}});
  fill(stock, {{"PartNumber", "B200"},
               {"Description", "Tape measure"},
               {"Price", "10"},
               {"DiscountPrice1", "9.5"},
               {"Quantity", "10"}});
  stock.first();
  fill(g.SalesDataModule->SalesTable, {{"OrderNumber", "1005"}, {"PartNumber", "A100"}});

  shop.press("CorvantaMainForm", "SalesEntryForm");
  shop.press("PreSalesEntryForm", "cmdContinue");
  QTest::mouseClick(
      shop.widget<QRadioButton>("PreSalesEntryCustomerSearchForm", "optSearchCustNum"),
      Qt::LeftButton);
  shop.answers << "1";
  shop.press("PreSalesEntryCustomerSearchForm", "cmdOK");
  ASSERT_TRUE(shop.window("SalesEntryForm").isVisible());
  EXPECT_FALSE(shop.window("PreSalesEntryForm").isVisible());
  EXPECT_EQ(shop.widget<QLineEdit>("SalesEntryForm", "OrderNumberDBEdit")->text(), "1006");

  // 3 claw hammers at the retail price.
  typeInto(shop, "SalesEntryForm", "QuantityToOrderEdit", "3");
  shop.press("SalesEntryForm", "cmdAddtoOrder");
  ASSERT_TRUE(shop.window("ChoosePriceForm").isVisible());
  shop.press("ChoosePriceForm", "cmdContinue");
  EXPECT_FALSE(shop.window("ChoosePriceForm").isVisible());
  EXPECT_EQ(shop.widget<QLineEdit>("SalesEntryForm", "QuantityToOrderEdit")->text(), "");
  EXPECT_EQ(shop.widget<QLineEdit>("SalesEntryForm", "ProductQuantityInStockDBEdit")->text(), "21");

  // 2 tape measures at the first discount price, from the keyboard: Enter after the quantity
  // opens the price choice, Enter there continues.
  g.SalesEntryForm->DBNavigator1.click(NavButton::Next);
  settle();
  EXPECT_EQ(shop.widget<QLineEdit>("SalesEntryForm", "PartNumberDBEdit")->text(), "B200");
  typeInto(shop, "SalesEntryForm", "QuantityToOrderEdit", "2");
  QTest::keyClick(shop.widget<QLineEdit>("SalesEntryForm", "QuantityToOrderEdit"), Qt::Key_Return);
  settle();
  ASSERT_TRUE(shop.window("ChoosePriceForm").isVisible());
  auto* discount1 = shop.widget<QRadioButton>("ChoosePriceForm", "OptDiscountPrice1");
  QTest::mouseClick(discount1, Qt::LeftButton);
  QTest::keyClick(discount1, Qt::Key_Return);
  settle();
  EXPECT_FALSE(shop.window("ChoosePriceForm").isVisible());
  EXPECT_EQ(shop.widget<QLineEdit>("SalesEntryForm", "ProductQuantityInStockDBEdit")->text(), "8");
  // (37.5 + 2.625...) + (19 + 1.33...), worked out by exact rational arithmetic.
  EXPECT_EQ(g.SalesEntryForm->RunningGrandTotal.value(), 0x1.e3a3d70a3ep+5L);
  EXPECT_EQ(g.SalesEntryForm->RunningTotalTax.value(), 0x1.fa3d70a3dap+1L);

  shop.press("SalesEntryForm", "cmdEndofOrder");
  EXPECT_FALSE(shop.window("SalesEntryForm").isVisible());
  Table& billing = g.ShippingBillingDataModule->ShippingBillingTable;
  ASSERT_TRUE(billing.findKey("1006"));
  EXPECT_EQ(billing.fieldByName("GrandTotal").asFloat(), 60.4550000000163);
  EXPECT_EQ(billing.fieldByName("TotalTax").asFloat(), 3.95500000000538);
  EXPECT_EQ(billing.fieldByName("PaymentStatus").displayText(), "recieved");

  ASSERT_EQ(shop.boxes.size(), 2) << shop.boxes.join("\n").toStdString();
  EXPECT_TRUE(shop.boxes[0].contains("Enter Customer Number to Search for"));
  const QString saved = shop.boxes[1];
  const qsizetype at = saved.indexOf(":\n");
  ASSERT_GE(at, 0) << saved.toStdString();
  const std::string pdf = saved.mid(at + 2).section('\n', 0, 0).toStdString();
  const std::string text = pdfText(pdf);
  for (const char* shown :
       {"SALES RECEIPT", "1006", "Jane Doe", "Claw hammer (A100)", "Tape measure (B200)", "@ 9.50",
        "37.50", "19.00", "56.50", "3.96", "$60.46", "Payment received"})
    EXPECT_NE(text.find(shown), std::string::npos) << shown << " not in\n" << text;
}

}  // namespace
}  // namespace corvanta::test
