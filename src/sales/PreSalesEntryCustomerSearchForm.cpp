#include "sales/PreSalesEntryCustomerSearchForm.h"

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "sales/CustomerChoiceForm.h"
#include "sales/SalesEntryForm.h"

namespace corvanta {

TPreSalesEntryCustomerSearchForm::TPreSalesEntryCustomerSearchForm(Application& app)
    : Form(app, "PreSalesEntryCustomerSearchForm", "Search") {
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdCancelClick", [this] { cmdCancelClick(); });
}

Table& TPreSalesEntryCustomerSearchForm::clients() const {
  return shop(app()).g.ClientDataModule->ClientsTable;
}

void TPreSalesEntryCustomerSearchForm::cmdOKClick() {
  if (optSearchLastName.checked())
    SearchByLastName();
  else if (optSearchCustNum.checked())
    SearchByCustNum();
  close();
}

void TPreSalesEntryCustomerSearchForm::SearchByLastName() {
  Table& t = clients();
  selectIndexOnce(t, "byLastName");
  const std::string name = app().dialogs().inputBox("Search", "Enter Last Name to Search for", "");
  if (name.empty()) return;
  if (!t.findKey(name)) {
    app().dialogs().showMessage("Customer Name not found !");
    return;
  }
  shop(app()).g.CustomerChoiceForm->show();
}

void TPreSalesEntryCustomerSearchForm::SearchByCustNum() {
  Table& t = clients();
  selectIndexOnce(t, "");
  const std::string number =
      app().dialogs().inputBox("Search", "Enter Customer Number to Search for", "");
  if (number.empty()) return;
  if (!t.findKey(number)) {
    app().dialogs().showMessage("Customer Number not found !");
    return;
  }
  shop(app()).g.SalesEntryForm->StartOrder(OrderRoad::CustomerNumber);
}

}  // namespace corvanta
