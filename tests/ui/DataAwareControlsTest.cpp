// The rules every data-aware edit follows, seen through the hidden processing form and the
// shared tables, as the sales and correction commands use them.
#include <gtest/gtest.h>

#include "data/ProcessingForm.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "support/TestSupport.h"
#include "tax/SetTaxRateForm.h"
#include "ui/Error.h"

namespace corvanta {
namespace {

using test::TestShop;

void addOrder(Table& billing, double order, double grandTotal) {
  billing.insert();
  billing.fieldByName("OrderNumber").setValue(order);
  billing.fieldByName("GrandTotal").setValue(grandTotal);
  billing.post();
}

TEST(DataAwareEdit, SameTextLeavesTheStoredValueAlone) {
  TestShop shop;
  auto& pf = *shop.g().SalesProcessingForm;
  Table& billing = shop.g().ShippingBillingDataModule->ShippingBillingTable;
  addOrder(billing, 1001, 12.499);
  ASSERT_EQ(pf.GrandTotalDBEdit.text(), "12.50");

  billing.edit();
  pf.GrandTotalDBEdit.setText("12.50");  // what it already shows: no mark, no change
  EXPECT_FALSE(pf.GrandTotalDBEdit.modified());
  billing.post();
  EXPECT_DOUBLE_EQ(billing.fieldByName("GrandTotal").asFloat(), 12.499);

  billing.edit();
  pf.GrandTotalDBEdit.setText("13");
  EXPECT_TRUE(pf.GrandTotalDBEdit.modified());
  billing.post();
  EXPECT_EQ(billing.fieldByName("GrandTotal").asFloat(), 13.0);
  EXPECT_EQ(pf.GrandTotalDBEdit.text(), "13.00");
  EXPECT_FALSE(pf.GrandTotalDBEdit.modified());
}

TEST(DataAwareEdit, WriteInBrowseStateNeverReachesTheRecord) {
  TestShop shop;
  auto& pf = *shop.g().SalesProcessingForm;
  Table& billing = shop.g().ShippingBillingDataModule->ShippingBillingTable;
  Table& sales = shop.g().SalesDataModule->SalesTable;
  addOrder(billing, 1001, 10);
  pf.TotalTaxDBEdit.setText("5");  // billing table in browse state
  sales.insert();
  pf.PartNumberDBEdit.setText("A100");
  sales.post();  // posting another table does not store the billing edit's text
  EXPECT_EQ(pf.TotalTaxDBEdit.text(), "5");
  billing.refresh();  // ...and the next move replaces it with the record's value
  EXPECT_EQ(pf.TotalTaxDBEdit.text(), "");
  EXPECT_TRUE(billing.fieldByName("TotalTax").isNull());
  EXPECT_EQ(sales.fieldByName("PartNumber").displayText(), "A100");
}

TEST(DataAwareEdit, ReadsTheNewRecordRightAfterAKeyedSearch) {
  TestShop shop;
  auto& pf = *shop.g().SalesProcessingForm;
  Table& billing = shop.g().ShippingBillingDataModule->ShippingBillingTable;
  addOrder(billing, 1001, 10);
  addOrder(billing, 1002, 20.456);
  billing.first();
  ASSERT_EQ(pf.GrandTotalDBEdit.text(), "10.00");
  ASSERT_TRUE(billing.findKey("1002"));
  EXPECT_EQ(pf.GrandTotalDBEdit.text(), "20.46");
  EXPECT_FALSE(billing.findKey("999"));
  EXPECT_EQ(pf.GrandTotalDBEdit.text(), "20.46");  // not found: nothing moved
}

TEST(DataAwareEdit, BlanksFailAFloatPostWhileTheEmptyTextClearsIt) {
  TestShop shop;
  auto& pf = *shop.g().SalesProcessingForm;
  Table& billing = shop.g().ShippingBillingDataModule->ShippingBillingTable;
  addOrder(billing, 1001, 10);
  billing.edit();
  pf.GrandTotalDBEdit.setText("   ");
  try {
    billing.post();
    FAIL() << "blanks were stored";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'   ' is not a valid floating point value for field 'GrandTotal'");
  }
  EXPECT_EQ(billing.state(), TableState::Edit);
  EXPECT_EQ(pf.GrandTotalDBEdit.text(), "   ");  // the text as written stays

  pf.GrandTotalDBEdit.setText("");
  billing.post();
  EXPECT_EQ(billing.state(), TableState::Browse);
  EXPECT_TRUE(billing.fieldByName("GrandTotal").isNull());
}

TEST(DataAwareEdit, TypingFollowsTheDataSourcesAutoEdit) {
  TestShop shop;
  auto& g = shop.g();
  Table& clients = g.ClientDataModule->ClientsTable;
  Table& billing = g.ShippingBillingDataModule->ShippingBillingTable;
  addOrder(billing, 1001, 10);
  clients.insert();
  clients.fieldByName("LastName").setText("Smith");
  clients.post();

  // A person types into an edit of an AutoEdit source: the table goes into edit state.
  auto& pf = *g.SalesProcessingForm;
  EXPECT_TRUE(pf.GrandTotalDBEdit.typeText("11"));
  EXPECT_EQ(billing.state(), TableState::Edit);
  EXPECT_TRUE(pf.GrandTotalDBEdit.leave());
  EXPECT_EQ(billing.fieldByName("GrandTotal").asFloat(), 11.0);

  // The clients source has AutoEdit off: typing in browse state is refused.
  DBEdit lastName(pf, "TestLastName", "ClientDataModule.ClientsDataSource", "LastName");
  lastName.bindDataSources(*shop.app);
  EXPECT_EQ(lastName.text(), "Smith");
  EXPECT_FALSE(lastName.typeText("Jones"));
  EXPECT_EQ(lastName.text(), "Smith");
  EXPECT_EQ(clients.state(), TableState::Browse);
  clients.edit();
  EXPECT_TRUE(lastName.typeText("Jones"));
  clients.post();
  EXPECT_EQ(clients.fieldByName("LastName").displayText(), "Jones");

  // A program's write on a read-only control still goes through.
  DBEdit& rate = g.CorvantaMainForm ? *g.TaxRatePostingForm->controlAs<DBEdit>("TaxRateDBEdit")
                                    : pf.SalesTaxDBEdit;
  rate.readOnly = true;
  EXPECT_FALSE(rate.typeText("9"));
  rate.setText("9");
  EXPECT_EQ(rate.text(), "9");
}

TEST(DataAwareEdit, LeavingWithABadNumberShowsTheErrorAndKeepsTheText) {
  TestShop shop;
  auto& pf = *shop.g().SalesProcessingForm;
  Table& billing = shop.g().ShippingBillingDataModule->ShippingBillingTable;
  addOrder(billing, 1001, 10);
  ASSERT_TRUE(pf.GrandTotalDBEdit.typeText("12x"));
  EXPECT_FALSE(pf.GrandTotalDBEdit.leave());  // the focus stays
  EXPECT_EQ(
      shop.dialogs.takeErrors(),
      std::vector<std::string>{"'12x' is not a valid floating point value for field 'GrandTotal'"});
  EXPECT_EQ(pf.GrandTotalDBEdit.text(), "12x");
  EXPECT_EQ(billing.state(), TableState::Edit);
  EXPECT_EQ(billing.fieldByName("GrandTotal").asFloat(), 10.0);
}

TEST(Application, EndingDiscardsARecordInInsertState) {
  TestShop shop;
  Table& clients = shop.g().ClientDataModule->ClientsTable;
  clients.insert();
  clients.fieldByName("LastName").setText("Unposted");
  shop.app->shutdown();
  Engine engine(EngineConfig::forDataDirectory(shop.dir.path()));
  Table reopened(engine, "ClientsTable", "DatabaseFiles", "clients.DB");
  reopened.open();
  EXPECT_TRUE(reopened.isEmpty());
}

}  // namespace
}  // namespace corvanta
