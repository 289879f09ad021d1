#include "orders/SalesSearchForm.h"

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "orders/ButtonPanel.h"
#include "orders/SearchEditOrderForm.h"

namespace corvanta {

TSalesSearchForm::TSalesSearchForm(Application& app) : Form(app, "SalesSearchForm", "Search") {
  seatButtonsInPanel(Panel1, cmdOK, cmdCancel);
  options.choose(1);  // by order number, until a person chooses otherwise
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
