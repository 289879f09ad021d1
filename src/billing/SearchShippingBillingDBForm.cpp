#include "billing/SearchShippingBillingDBForm.h"

#include <string>

#include "billing/BillingRecord.h"
#include "data/engine/Table.h"
#include "ui/Application.h"

namespace corvanta {

TSearchShippingBillingDBForm::TSearchShippingBillingDBForm(Application& app)
    : Form(app, "SearchShippingBillingDBForm", "Search") {
  border = BorderStyle::Dialog;
  clientWidth = 260;
  clientHeight = 150;
  GroupBox1.setBounds(12, 10, 236, 80);
  optOrderNumber.setBounds(14, 22, 200, 20);
  optCustNum.setBounds(14, 48, 200, 20);
  optOrderNumber.setChecked(true);
  cmdOK.setBounds(40, 104, 85, 30);
  cmdOK.setKind(Button::Glyph::Ok);
  cmdCancel.setBounds(135, 104, 85, 30);
  cmdCancel.setKind(Button::Glyph::Cancel);
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
