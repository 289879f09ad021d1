#include "sales/CustomerChoiceForm.h"

#include "app/CorvantaApp.h"
#include "sales/SalesEntryForm.h"

namespace corvanta {

TCustomerChoiceForm::TCustomerChoiceForm(Application& app)
    : Form(app, "CustomerChoiceForm", "Customer Selection") {
  border = BorderStyle::Dialog;
  clientWidth = 620;
  clientHeight = 370;
  DBGrid1.setBounds(12, 12, 596, 220);
  Label1.setBounds(12, 242, 400, 20);
  Label2.setBounds(12, 262, 400, 20);
  Label3.setBounds(12, 296, 130, 20);
  DBEdit1.setBounds(140, 293, 200, 24);
  DBEdit2.setBounds(350, 293, 200, 24);
  DBEdit1.readOnly = true;
  DBEdit2.readOnly = true;
  cmdOK.setBounds(200, 330, 95, 30);
  cmdOK.setKind(Button::Glyph::Ok);
  cmdCancel.setBounds(310, 330, 95, 30);
  cmdCancel.setKind(Button::Glyph::Cancel);
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdCancelClick", [this] { cmdCancelClick(); });
}

void TCustomerChoiceForm::cmdOKClick() {
  shop(app()).g.SalesEntryForm->StartOrder(OrderRoad::CustomerGrid);
}

}  // namespace corvanta
