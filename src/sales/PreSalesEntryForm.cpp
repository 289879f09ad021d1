#include "sales/PreSalesEntryForm.h"

#include "app/CorvantaApp.h"
#include "clients/FormClients.h"
#include "sales/PreSalesEntryCustomerSearchForm.h"

namespace corvanta {

TPreSalesEntryForm::TPreSalesEntryForm(Application& app)
    : Form(app, "PreSalesEntryForm", "Find Customer Form") {
  border = BorderStyle::Dialog;
  clientWidth = 400;
  clientHeight = 130;
  Label1.setBounds(16, 14, 370, 20);
  Label2.setBounds(16, 38, 370, 20);
  cmdContinue.setBounds(16, 80, 110, 32);
  // The usual road (the customer is known) is the one Enter takes.
  cmdContinue.isDefault = true;
  cmdEnterNew.setBounds(144, 80, 110, 32);
  BitBtn1.setBounds(272, 80, 110, 32);
  BitBtn1.setKind(Button::Glyph::Cancel);
  addHandler("cmdContinueClick", [this] { cmdContinueClick(); });
  addHandler("cmdEnterNewClick", [this] { cmdEnterNewClick(); });
  addHandler("BitBtn1Click", [this] { BitBtn1Click(); });
}

void TPreSalesEntryForm::cmdContinueClick() {
  shop(app()).g.PreSalesEntryCustomerSearchForm->show();
}

void TPreSalesEntryForm::cmdEnterNewClick() {
  shop(app()).g.FormClients->show();
}

}  // namespace corvanta
