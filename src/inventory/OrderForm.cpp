#include "inventory/OrderForm.h"

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"

namespace corvanta {

TOrderForm::TOrderForm(Application& app) : Form(app, "OrderForm", "Order") {
  border = BorderStyle::Dialog;
  clientWidth = 300;
  clientHeight = 150;
  GroupBox1.setBounds(12, 8, 276, 84);
  optOrderbyItemNumber.setBounds(16, 24, 240, 22);
  optOrderbyDescription.setBounds(16, 52, 240, 22);
  optOrderbyItemNumber.setChecked(true);
  cmdOK.setBounds(60, 106, 85, 30);
  cmdOK.setKind(Button::Glyph::Ok);
  cmdClose.setBounds(155, 106, 85, 30);
  cmdClose.setKind(Button::Glyph::Close);
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
