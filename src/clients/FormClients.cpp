#include "clients/FormClients.h"

#include <cstdint>
#include <optional>

#include "app/CorvantaApp.h"
#include "clients/ClientSearchForm.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "reports/ReportFileDialog.h"
#include "ui/Error.h"
#include "ui/FormLayout.h"

namespace corvanta {

namespace {

std::string counted(std::int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Lays out the four edits of an address group the same way in both groups.
void layOutAddress(Label& street, Edit& streetEdit, Label& city, Edit& cityEdit, Label& state,
                   Edit& stateEdit, Label& zip, Edit& zipEdit) {
  street.setBounds(12, 26, 50, 20);
  streetEdit.setBounds(64, 22, 310, 24);
  city.setBounds(12, 58, 50, 20);
  cityEdit.setBounds(64, 54, 180, 24);
  state.setBounds(254, 58, 40, 20);
  stateEdit.setBounds(294, 54, 80, 24);
  zip.setBounds(12, 90, 50, 20);
  zipEdit.setBounds(64, 86, 100, 24);
}

}  // namespace

TFormClients::TFormClients(Application& app)
    : Form(app, "FormClients", "Morvane"),
      ClientReport1(shop(app).reports(), "ClientReport1", "", "", false),
      ClientReportLbs5160(shop(app).reports(), "ClientReportLbs5160", "", "", false),
      OpenDialogReport(reportFileDialog("Print Report (Use File 'Client' )", "client")),
      OpenDialogReportlbs5160(reportFileDialog(
          "Print on Avery 5160 Labels ( File 'Reportlbs5160' )", "clientlbs5160")) {
  // A single-line frame with the system menu and a minimize box, but no maximize.
  border = BorderStyle::Dialog;
  minimizeBox = true;
  clientWidth = 800;
  clientHeight = 600;

  Panel1.setBounds(0, 0, 800, 236);
  lblCustNum.setBounds(16, 14, 110, 20);
  DBtextCusNum.setBounds(130, 12, 90, 22);
  lblLastName.setBounds(16, 46, 90, 20);
  DBEdit1.setBounds(110, 42, 220, 24);
  lblFirstName.setBounds(350, 46, 80, 20);
  DBEdit2.setBounds(430, 42, 220, 24);
  lblAreaCode.setBounds(16, 78, 90, 20);
  DBEdit3.setBounds(110, 74, 40, 24);
  lblTelephoneNum.setBounds(170, 78, 90, 20);
  DBEdit4.setBounds(260, 74, 90, 24);
  BillingAddressGroupBox.setBounds(8, 108, 388, 120);
  layOutAddress(StreetBillingLabel, Street2DBEdit, CityBillingLabel, City2DBEdit, StateBillingLabel,
                State2DBEdit, ZipBillingLabel, Zip2DBEdit);
  ShippingAddressGroupBox.setBounds(404, 108, 388, 120);
  layOutAddress(lblStreet, DBEditStreet, LblCity, DBEditCity, lblState, DBEditState, lblZip,
                DBEditZip);

  Panel2.setBounds(0, 236, 800, 364);
  raOrderBy.setBounds(8, 6, 190, 70);
  optLastName.setBounds(12, 20, 170, 20);
  optCustNum.setBounds(12, 44, 170, 20);
  optCustNum.setChecked(true);
  DBNavigator1.setBounds(210, 40, 240, 28);
  DBGrid1.setBounds(8, 84, 640, 272);
  layButtonColumn({&cmdNewCustomer, &cmdEditEntry, &cmdSaveRecord, &cmdDeleteCustomer, &cmdSearch,
                   &cmdPrintReport, &cmdPrintLabels, &cmdHelp, &cmdExit},
                  660, 8, 132, 30, 39);

  addHandler("optLastNameClick", [this] { optLastNameClick(); });
  addHandler("optCustNumClick", [this] { optCustNumClick(); });
  addHandler("cmdNewCustomerClick", [this] { cmdNewCustomerClick(); });
  addHandler("cmdEditEntryClick", [this] { cmdEditEntryClick(); });
  addHandler("cmdSaveRecordClick", [this] { cmdSaveRecordClick(); });
  addHandler("cmdDeleteCustomerClick", [this] { cmdDeleteCustomerClick(); });
  addHandler("cmdSearchClick", [this] { cmdSearchClick(); });
  addHandler("cmdPrintReportClick", [this] { cmdPrintReportClick(); });
  addHandler("cmdPrintLabelsClick", [this] { cmdPrintLabelsClick(); });
  addHandler("cmdHelpClick", [this] { cmdHelpClick(); });
  addHandler("cmdExitClick", [this] { cmdExitClick(); });
}

Table& TFormClients::clients() const {
  // The window exists before its data module; a command can only run once start-up is over.
  TClientDataModule* module = shop(app()).g.ClientDataModule;
  if (!module) throw Error("Cannot perform this operation on a closed dataset");
  return module->ClientsTable;
}

void TFormClients::optLastNameClick() {
  Table& t = clients();
  t.selectIndex("ByLastName");
  t.refresh();
}

void TFormClients::optCustNumClick() {
  Table& t = clients();
  t.selectIndex("");
  t.refresh();
}

void TFormClients::AdjustClientsTable() {
  Table& t = clients();
  if (optCustNum.checked()) {
    t.selectIndex("");
    t.refresh();
  } else if (optLastName.checked()) {
    t.selectIndex("byLastName");
    t.refresh();
  }
}

void TFormClients::cmdNewCustomerClick() {
  Table& t = clients();
  t.edit();
  t.insert();
}

void TFormClients::cmdEditEntryClick() {
  clients().edit();
}

void TFormClients::cmdSaveRecordClick() {
  clients().post();
}

std::string TFormClients::deleteConfirmationText() {
  Table& t = clients();
  auto& g = shop(app()).g;
  // Sales and billing records carry the customer number as a float.
  const Value key = t.fieldByName("CustNum").asFloat();
  Table& sales = g.SalesDataModule->SalesTable;
  Table& billing = g.ShippingBillingDataModule->ShippingBillingTable;
  const std::int64_t lines = sales.file().countEqual(*sales.def().findIndex("byCustNum"), key);
  const std::int64_t bills =
      billing.file().countEqual(*billing.def().findIndex("byCustomerNumber"), key);

  std::string name = t.fieldByName("FirstName").displayText();
  const std::string last = t.fieldByName("LastName").displayText();
  if (!name.empty() && !last.empty()) name += " ";
  name += last;
  std::string text = "Delete customer number " + t.fieldByName("CustNum").displayText();
  if (!name.empty()) text += " (" + name + ")";
  text += "?\n\n" + counted(lines, "order line", "order lines") + " and " +
          counted(bills, "billing record", "billing records") + " carry this customer number.";
  if (lines + bills > 0) text += " They are kept.";
  return text;
}

void TFormClients::cmdDeleteCustomerClick() {
  Table& t = clients();
  if (t.isEmpty()) {
    t.remove();  // the engine's own "empty dataset" error
    return;
  }
  if (t.state() == TableState::Insert) {
    // Deleting a customer that was never saved discards what was typed for it.
    if (app().dialogs().confirm("Delete Customer",
                                "Discard the new customer? It has not been saved."))
      t.remove();
    return;
  }
  if (app().dialogs().confirm("Delete Customer", deleteConfirmationText())) t.remove();
}

void TFormClients::cmdSearchClick() {
  shop(app()).g.ClientSearchForm->show();
}

void TFormClients::cmdPrintReportClick() {
  runChosenReport(app().dialogs(), OpenDialogReport, ClientReport1);
}

void TFormClients::cmdPrintLabelsClick() {
  runChosenReport(app().dialogs(), OpenDialogReportlbs5160, ClientReportLbs5160);
}

void TFormClients::cmdHelpClick() {
  app().setHelpFile("C:\\windows\\help\\CLIENT32.HLP");
  app().helpCommand(3, 0);
}

void TFormClients::SearchByLastName() {
  Table& t = clients();
  t.selectIndex("byLastName");
  const std::string text = app().dialogs().inputBox("Search", "Enter Last Name to Search for", "");
  t.findNearest(text);
  AdjustClientsTable();
}

void TFormClients::SearchByCustNum() {
  Table& t = clients();
  t.selectIndex("");
  const std::string text =
      app().dialogs().inputBox("Search", "Enter Customer Number to Search for", "");
  if (!text.empty() && !t.findKey(text)) app().dialogs().showMessage("Customer Number not found !");
  AdjustClientsTable();
}

}  // namespace corvanta
