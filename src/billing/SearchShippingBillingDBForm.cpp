#include "billing/SearchShippingBillingDBForm.h"

#include <string>

#include "billing/BillingRecord.h"
#include "data/engine/Table.h"
#include "ui/Application.h"

namespace corvanta {

TSearchShippingBillingDBForm::TSearchShippingBillingDBForm(Application& app)
    : Form(app, "SearchShippingBillingDBForm", "Search") {
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdCancelClick", [this] { cmdCancelClick(); });
}

void TSearchShippingBillingDBForm::cmdOKClick() {
  Table& billing = billingTable(app());
  Dialogs& dialogs = app().dialogs();
  if (optCustNum.checked()) {
    billing.selectIndex("byCustomerNumber");
    const std::string text = dialogs.inputBox("Search", "Enter Customer Number to search for:", "");
    // The first of the customer's records in index order; Next walks the others.
    if (!text.empty() && !billing.findKey(text)) dialogs.showMessage("Customer Number not found !");
  } else if (optOrderNumber.checked()) {
    billing.selectIndex("");
    const std::string text = dialogs.inputBox("Search", "Enter Order Number to Search for", "");
    if (!billing.findKey(text)) dialogs.showMessage("Order Number not found !");
  }
  close();
}

}  // namespace corvanta
