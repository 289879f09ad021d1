// The clients window and its search dialog: what the flows in tests/scenarios/clients-*.scn
// cannot see -- layout and bindings, the delete confirmation's counts, settling of pending
// customers, and how a chosen report file reaches its component.
#include <gtest/gtest.h>

#include "clients/ClientSearchForm.h"
#include "clients/FormClients.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "support/TestSupport.h"

namespace corvanta::test {
namespace {

class ClientsWindow : public ::testing::Test {
 protected:
  TestShop shop;
  TFormClients& form = *shop.g().FormClients;
  TClientSearchForm& search = *shop.g().ClientSearchForm;
  Table& clients = shop.g().ClientDataModule->ClientsTable;

  // Stores a record straight into a table file, past every cursor.
  static std::int64_t store(Table& t, std::initializer_list<std::pair<const char*, Value>> v) {
    std::vector<Value> values(t.def().fields.size());
    for (const auto& [field, value] : v) values[t.fieldByName(field).index()] = value;
    return t.file().insert(values);
  }
  std::int64_t addClient(const std::string& last, const std::string& first = "") {
    const auto n = store(clients, {{"LastName", last}, {"FirstName", first}});
    clients.refresh();
    return n;
  }
  // The clients cursor in one line: "browse #2 Smith index=byLastName".
  std::string cursor() const {
    return std::string(stateName(clients.state())) + " #" + form.DBtextCusNum.text() + " " +
           form.DBEdit1.text() + " index=" + clients.indexName();
  }
};

TEST_F(ClientsWindow, ControlsCarryTheirCaptionsBindingsAndLimits) {
  EXPECT_EQ(form.caption(), "Morvane");
  EXPECT_TRUE(form.optCustNum.checked());
  EXPECT_TRUE(search.optSearchLastName.checked());
  EXPECT_TRUE(search.BitBtn1.isDefault);
  EXPECT_TRUE(search.BitBtn2.isCancel);
  const std::pair<const char*, const char*> captions[] = {{"cmdNewCustomer", "&Add New Customer"},
                                                          {"cmdEditEntry", "&Edit Entry"},
                                                          {"cmdSaveRecord", "Save &Record"},
                                                          {"cmdDeleteCustomer", "&Delete Customer"},
                                                          {"cmdSearch", "&Search"},
                                                          {"cmdPrintReport", "&Print Report"},
                                                          {"cmdPrintLabels", "Print La&bels"},
                                                          {"cmdHelp", "&Help"},
                                                          {"cmdExit", "Cl&ose"},
                                                          {"lblFirstName", "First  Name"}};
  for (auto [name, caption] : captions) {
    ASSERT_NE(form.control(name), nullptr) << name;
    EXPECT_EQ(form.control(name)->text(), caption);
  }
  for (Control* c : form.controls()) EXPECT_GT(c->bounds().width, 0) << c->name();

  // Limits come from the fields once the data module, created after the window, binds them.
  EXPECT_EQ(form.DBEdit3.maxLength, 3);
  EXPECT_EQ(form.DBEdit4.maxLength, 8);
  EXPECT_EQ(form.Street2DBEdit.maxLength, 40);

  std::string columns;
  for (const auto& c : form.DBGrid1.effectiveColumns())
    columns += c.title + ":" + std::to_string(c.width) + " ";
  EXPECT_EQ(columns,
            "CustNum:10 LastName:24 FirstName:24 Street:40 City:30 State:8 Zip:15 Street/2:30 "
            "City/2:30 State/2:10 Zip/2:10 Area Code:9 Phone:21 ");
  std::string hints;
  for (NavButton b : form.DBNavigator1.visibleButtons())
    hints += form.DBNavigator1.buttonHint(b) + ";";
  EXPECT_EQ(hints, "First record;Prior record;Next record;Last record;Cancel edit;Refresh data;");
}

TEST_F(ClientsWindow, DeleteConfirmationCountsOrdersWithoutMovingTheirCursors) {
  addClient("Adams", "Ann");
  addClient("Baker", "Bob");
  addClient("Cole");
  Table& sales = shop.g().SalesDataModule->SalesTable;
  Table& billing = shop.g().ShippingBillingDataModule->ShippingBillingTable;
  for (int i = 0; i < 3; ++i) store(sales, {{"CustNum", 2.0}});
  store(sales, {{"CustNum", 1.0}});
  store(billing, {{"OrderNumber", 100.0}, {"CustNum", 2.0}});
  store(billing, {{"OrderNumber", 101.0}, {"CustNum", 1.0}});
  sales.last();
  billing.first();
  const auto salesAt = sales.currentRowid(), billingAt = billing.currentRowid();

  form.DBGrid1.clickRow(2);
  for (bool yes : {false, true, false}) shop.dialogs.queueConfirmation(yes);
  form.cmdDeleteCustomer.click();
  EXPECT_EQ(shop.dialogs.asked().back(),
            "Delete Customer | Delete customer number 2 (Bob Baker)?\n\n3 order lines and 1 "
            "billing record carry this customer number. They are kept.");
  EXPECT_EQ(clients.recordCount(), 3);

  form.cmdDeleteCustomer.click();
  EXPECT_EQ(cursor(), "browse #3 Cole index=");
  EXPECT_EQ(sales.currentRowid(), salesAt);
  EXPECT_EQ(billing.currentRowid(), billingAt);
  EXPECT_EQ(sales.recordCount(), 4);

  form.cmdDeleteCustomer.click();
  EXPECT_EQ(shop.dialogs.asked().back(),
            "Delete Customer | Delete customer number 3 (Cole)?\n\n0 order lines and 0 billing "
            "records carry this customer number.");
  EXPECT_EQ(shop.dialogs.takeErrors(), std::vector<std::string>{});
}

TEST_F(ClientsWindow, SortingAndSearchingSettleAPendingCustomer) {
  addClient("Smith");
  addClient("Adams");
  // A changed customer is posted before the order changes; the customer stays current.
  form.cmdEditEntry.click();
  form.DBEdit1.typeText("Smythe");
  form.DBEdit1.leave();
  form.optLastName.choose();
  EXPECT_EQ(cursor(), "browse #1 Smythe index=ByLastName");
  EXPECT_EQ(form.DBGrid1.cells(form.DBGrid1.rows(0, 1).front())[1], "Adams");

  // A new customer nobody typed into is discarded by a search.
  form.cmdNewCustomer.click();
  shop.dialogs.queueAnswer("Zz");
  search.optSearchLastName.choose();
  search.BitBtn1.click();
  EXPECT_EQ(clients.recordCount(), 2);
  EXPECT_EQ(cursor(), "browse #1 Smythe index=byLastName");  // past every name: the last
}

TEST_F(ClientsWindow, ChosenReportFileBecomesTheComponentsNameAndDirectory) {
  for (auto file :
       {std::optional<std::string>(), std::optional<std::string>("C:\\Reports\\client.rpt"),
        std::optional<std::string>("/srv/shop/labels/clientlbs5160.rpt"),
        std::optional<std::string>("clientlbs5160")})
    shop.dialogs.queueFile(file);
  form.cmdPrintReport.click();  // cancelled
  EXPECT_TRUE(shop.reports.runs.empty());
  form.cmdPrintReport.click();
  form.cmdPrintLabels.click();
  form.cmdPrintLabels.click();
  ASSERT_EQ(shop.reports.runs.size(), 3u);
  auto run = [&](int i) {
    const ReportRun& r = shop.reports.runs[i];
    return r.component + " " + r.directory + " " + r.reportName;
  };
  EXPECT_EQ(run(0), "ClientReport1 C:\\Reports\\ client.rpt");
  EXPECT_EQ(run(1), "ClientReportLbs5160 /srv/shop/labels/ clientlbs5160.rpt");
  EXPECT_EQ(run(2), std::string("ClientReportLbs5160 ") + kReportDirectory + " clientlbs5160");
  EXPECT_EQ(shop.dialogs.asked().back(),
            "Print on Avery 5160 Labels ( File 'Reportlbs5160' ) | clientlbs5160");
}

}  // namespace
}  // namespace corvanta::test
