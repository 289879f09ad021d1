// An order whose entry a crash cut short: the next start bills it exactly as "End of Order
// w/o Printing Invoice/Reciept" would have, once; an order left with "Exit w/o Entering an
// Order" before the crash leaves nothing behind.  The child processes stop dead with _exit,
// as a killed program would, after the last acknowledged command.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/engine/Table.h"
#include "data/engine/TableFile.h"
#include "data/modules/DataModules.h"
#include "sales/ChoosePriceForm.h"
#include "sales/SalesEntryForm.h"
#include "support/TestSupport.h"

namespace corvanta::test {
namespace {

class OrderCutShort : public ::testing::Test {
 protected:
  OrderCutShort() {
    ShopRun seed(dir.path());
    EXPECT_TRUE(seed.app.start());
    Globals& g = seed.app.g;
    Table& stock = g.DataModule2->InventoryTable1;
    fill(stock, {{"PartNumber", "A100"}, {"Price", "37.5"}, {"Quantity", "100"}});
    fill(stock, {{"PartNumber", "B200"}, {"Price", "10"}, {"Quantity", "100"}});
    fill(g.ClientDataModule->ClientsTable, {{"LastName", "Doe"}});
    Table& tax = g.SalesTaxDataModule->SalesTaxTable;
    tax.edit();
    tax.fieldByName("TaxRate").setText("7");
    tax.post();
    // An earlier order, so that the next one is numbered without the first number dialog.
    fill(g.SalesDataModule->SalesTable, {{"OrderNumber", "1000"}});
  }

  // An order of customer 1 paid in cash: 2 x A100 and 1 x B200.
  static void enterOrder(ShopRun& run) {
    Globals& g = run.app.g;
    startOrderFor(g, run.dialogs, "1");
    g.SalesEntryForm->TypeofSaleDBEdit.typeText("CASH");
    g.SalesEntryForm->CreditCardTypeDBEdit.typeText("none");
    for (const auto& [part, quantity] : {std::pair{"A100", "2"}, std::pair{"B200", "1"}}) {
      g.DataModule2->InventoryTable1.findKey(part);
      g.SalesEntryForm->QuantityToOrderEdit.typeText(quantity);
      g.SalesEntryForm->cmdAddtoOrder.click();
      g.ChoosePriceForm->cmdContinue.click();
    }
  }

  // Runs `day` in a child that then stops dead; true when it got there.
  template <class F>
  bool inChildThenCrash(F day) {
    const pid_t child = ::fork();
    if (child == 0) {
      ShopRun run(dir.path());
      if (!run.app.start()) ::_exit(2);
      day(run);
      ::_exit(run.dialogs.unreadErrors().empty() ? 0 : 3);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  // Every field of the billing record of `order` but its number, as text.
  std::string billing(double order) {
    const TableDef& b = *findTableDef("BillingShipping");
    TableFile file(
        b, EngineConfig::forDataDirectory(dir.path()).alias(b.alias).value() / b.fileName, true);
    auto row = file.findEqual(b.indexes.front(), Value{order});
    if (!row) return "no billing record";
    std::string text;
    for (size_t i = 1; i < b.fields.size(); ++i) {
      const Value& v = row->values[i];
      text += b.fields[i].name + "=";
      if (const auto* d = std::get_if<double>(&v)) text += formatGeneral15(*d);
      if (const auto* s = std::get_if<std::string>(&v)) text += *s;
      text += "; ";
    }
    return text;
  }

  TempDir dir;
};

TEST_F(OrderCutShort, IsBilledAtTheNextStartAsItsEndWouldHaveBilledIt) {
  // Order 1001 ended by the person; order 1002, the same sale, cut short after its lines.
  ASSERT_TRUE(inChildThenCrash([](ShopRun& run) {
    enterOrder(run);
    run.app.g.SalesEntryForm->cmdEndofOrderWOPrint.click();
  }));
  ASSERT_TRUE(inChildThenCrash([](ShopRun& run) { enterOrder(run); }));
  EXPECT_EQ(billing(1002), "no billing record");

  {
    ShopRun next(dir.path());
    ASSERT_TRUE(next.app.start());
    EXPECT_EQ(
        next.dialogs.takeMessages(),
        std::vector<std::string>{
            "The command \"Sales Entry\" (order 1002, 2 lines stored and not yet ended) was cut "
            "short when the program last stopped. It has been finished now: the billing record "
            "of order 1002 written as \"End of Order w/o Printing Invoice/Reciept\" writes it, "
            "grand total 90.95."});
  }
  EXPECT_EQ(billing(1002), billing(1001));
  EXPECT_NE(billing(1001).find("PaymentStatus=recieved; "), std::string::npos) << billing(1001);

  // Told once; the next order is numbered after the billed one.
  ShopRun again(dir.path());
  ASSERT_TRUE(again.app.start());
  EXPECT_FALSE(again.dialogs.hasUnread());
  enterOrder(again);
  EXPECT_EQ(again.app.g.SalesEntryForm->OrderNumberDBEdit.text(), "1003");
}

TEST_F(OrderCutShort, AnOrderLeftBeforeTheCrashLeavesNothing) {
  ASSERT_TRUE(inChildThenCrash([](ShopRun& run) {
    enterOrder(run);
    run.dialogs.queueConfirmation(true);
    run.app.g.SalesEntryForm->Button1.click();
  }));
  ShopRun next(dir.path());
  ASSERT_TRUE(next.app.start());
  EXPECT_FALSE(next.dialogs.hasUnread());
  EXPECT_EQ(billing(1001), "no billing record");
  Table& stock = next.app.g.DataModule2->InventoryTable1;
  for (const char* part : {"A100", "B200"}) {
    ASSERT_TRUE(stock.findKey(part));
    EXPECT_EQ(stock.fieldByName("Quantity").displayText(), "100") << part;
  }
  EXPECT_EQ(next.app.g.SalesDataModule->SalesTable.file().count(), 1);
}

}  // namespace
}  // namespace corvanta::test
