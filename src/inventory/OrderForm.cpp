#include "inventory/OrderForm.h"

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"

namespace corvanta {

TOrderForm::TOrderForm(Application& app) : Form(app, "OrderForm", "Order") {
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdCloseClick", [this] { cmdCloseClick(); });
}

void TOrderForm::cmdOKClick() {
  Table& t = shop(app()).g.DataModule2->InventoryTable1;
  if (optOrderbyItemNumber.checked())
    t.selectIndex("");
  else if (optOrderbyDescription.checked())
    t.selectIndex("byDescription");
  t.refresh();
  close();
}

}  // namespace corvanta
