#include "orders/SalesSearchForm.h"

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "orders/SearchEditOrderForm.h"

namespace corvanta {

TSalesSearchForm::TSalesSearchForm(Application& app) : Form(app, "SalesSearchForm", "Search") {
  border = BorderStyle::Dialog;
  clientWidth = 260;
  clientHeight = 156;
  SearchCriteriaGroupBox.setBounds(12, 10, 236, 80);
  optCustomerNumber.setBounds(14, 22, 200, 20);
  optOrderNumber.setBounds(14, 48, 200, 20);
  optOrderNumber.setChecked(true);
  Panel1.setBounds(12, 100, 236, 46);
  cmdOK.setBounds(24, 8, 85, 30);
  cmdOK.setKind(Button::Glyph::Ok);
  cmdCancel.setBounds(127, 8, 85, 30);
  cmdCancel.setKind(Button::Glyph::Cancel);
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdCancelClick", [this] { cmdCancelClick(); });
}

Table& TSalesSearchForm::sales() const {
  return shop(app()).g.SalesDataModule->SalesTable;
}

void TSalesSearchForm::cmdOKClick() {
  Table& t = sales();
  // Selecting an index or moving would post the pending line of a sale being entered.
  if (shop(app()).g.SearchEditOrderForm->refusedDuringSale()) return;
  if (optCustomerNumber.checked()) {
    t.selectIndex("byCustNum");
    const std::string answer =
        app().dialogs().inputBox("Search", "Enter Customer Number to search for:", "");
    if (!answer.empty() && !t.findKey(answer))
      app().dialogs().showMessage("Customer Number not found !");
  } else if (optOrderNumber.checked()) {
    t.selectIndex("byOrderNumber");
    const std::string answer =
        app().dialogs().inputBox("Search", "Enter Order Number to Search for", "");
    if (!t.findKey(answer)) app().dialogs().showMessage("Order Number not found !");
  }
  close();
}

}  // namespace corvanta
