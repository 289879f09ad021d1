#include "billing/PaymentStatusDatePaymentRecievedForm.h"

#include "billing/BillingRecord.h"
#include "data/engine/Table.h"

namespace corvanta {

TPaymentStatusDatePaymentRecievedForm::TPaymentStatusDatePaymentRecievedForm(Application& app)
    : Form(app, "PaymentStatusDatePaymentRecievedForm", "Payment Status /Date Payment Recieved") {
  border = BorderStyle::Dialog;
  clientWidth = 430;
  clientHeight = 190;
  Label1.setBounds(16, 17, 130, 20);
  OrderNumberDBEdit.setBounds(150, 14, 120, 24);
  Label2.setBounds(16, 51, 130, 20);
  PaymentStatusDBEdit.setBounds(150, 48, 120, 24);
  Label3.setBounds(150, 76, 270, 20);
  Label4.setBounds(16, 107, 130, 20);
  DataRecievedDBEdit.setBounds(150, 104, 120, 24);
  cmdOK.setBounds(115, 146, 85, 30);
  cmdOK.setKind(Button::Glyph::Ok);
  cmdCancel.setBounds(215, 146, 85, 30);
  cmdCancel.setKind(Button::Glyph::Cancel);
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdCancelClick", [this] { cmdCancelClick(); });
}

void TPaymentStatusDatePaymentRecievedForm::cmdOKClick() {
  billingTable(app()).post();
  close();
}

}  // namespace corvanta
