#include "billing/BillingForm.h"

#include <utility>

#include "app/CorvantaApp.h"
#include "billing/BillingRecord.h"
#include "billing/PaymentStatusDatePaymentRecievedForm.h"
#include "billing/SearchShippingBillingDBForm.h"
#include "data/engine/Table.h"

namespace corvanta {

TBillingForm::TBillingForm(Application& app)
    : Form(app, "BillingForm", "Billing Database Manager"),
      InvoiceReport1(shop(app).reports(), "InvoiceReport1", "invoice.rpt", kReportDirectory, false),
      RecieptReport(shop(app).reports(), "RecieptReport", "Reciept.rpt", kReportDirectory, false) {
  border = BorderStyle::Dialog;
  clientWidth = 620;
  clientHeight = 390;

  std::pair<Label*, DBEdit*> rows[] = {{&Label1, &DateDBEdit},
                                       {&Label2, &OrderNumberDBEdit},
                                       {&Label3, &CustomerNumberDBEdit},
                                       {&Label4, &PaymentStatusDBEdit},
                                       {&Label5, &DatePaymentRecievedDBEdit},
                                       {&Label6, &DBEdit1},
                                       {&Label7, &DBEdit2},
                                       {&Label8, &DBEdit3},
                                       {&Label9, &DBEdit4}};
  int y = 14;
  for (auto [label, edit] : rows) {
    label->setBounds(16, y + 3, 150, 20);
    const bool wide = edit == &DBEdit3 || edit == &DBEdit4;
    edit->setBounds(170, y, wide ? 200 : 120, 24);
    y += 30;
  }
  Label10.setBounds(16, y + 6, 590, 20);
  DBNavigator1.setBounds(16, y + 38, 80, 28);

  Button* commands[] = {&cmdEnterPaymentStatusDateRecieved, &cmdCheckPaymentStatus,
                        &cmdPrintInvoice, &cmdPrintReciept, &cmdHelp};
  y = 14;
  for (Button* b : commands) {
    b->setBounds(390, y, 216, 30);
    y += 40;
  }
  cmdHelp.glyph = Button::Glyph::Help;
  cmdClose.setKind(Button::Glyph::Close);
  cmdClose.setBounds(390, 314, 216, 30);

  addHandler("cmdEnterPaymentStatusDateRecievedClick",
             [this] { cmdEnterPaymentStatusDateRecievedClick(); });
  addHandler("cmdCheckPaymentStatusClick", [this] { cmdCheckPaymentStatusClick(); });
  addHandler("cmdPrintInvoiceClick", [this] { cmdPrintInvoiceClick(); });
  addHandler("cmdPrintRecieptClick", [this] { cmdPrintRecieptClick(); });
  addHandler("cmdHelpClick", [this] { cmdHelpClick(); });
  addHandler("cmdCloseClick", [this] { cmdCloseClick(); });
}

void TBillingForm::cmdEnterPaymentStatusDateRecievedClick() {
  Table& billing = billingTable(app());
  requireBillingRecord(billing);
  billing.edit();
  shop(app()).g.PaymentStatusDatePaymentRecievedForm->show();
}

void TBillingForm::cmdCheckPaymentStatusClick() {
  shop(app()).g.SearchShippingBillingDBForm->show();
}

void TBillingForm::cmdPrintInvoiceClick() {
  printOrderOnShow(app(), InvoiceReport1);
}

void TBillingForm::cmdPrintRecieptClick() {
  printOrderOnShow(app(), RecieptReport);
}

void TBillingForm::cmdHelpClick() {
  app().setHelpFile("C:\\windows\\help\\Corvanta.HLP");
  app().helpCommand(3, 0);
}

}  // namespace corvanta
