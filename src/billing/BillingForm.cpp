#include "billing/BillingForm.h"

#include "app/CorvantaApp.h"
#include "billing/BillingRecord.h"
#include "billing/PaymentStatusDatePaymentRecievedForm.h"
#include "billing/SearchShippingBillingDBForm.h"
#include "data/engine/Table.h"
#include "ui/FormLayout.h"

namespace corvanta {

TBillingForm::TBillingForm(Application& app)
    : Form(app, "BillingForm", "Billing Database Manager"),
      InvoiceReport1(shop(app).reports(), "InvoiceReport1", "invoice.rpt", kReportDirectory, false),
      RecieptReport(shop(app).reports(), "RecieptReport", "Reciept.rpt", kReportDirectory, false) {
  border = BorderStyle::Dialog;
  clientWidth = 620;
  clientHeight = 390;

  const int y = layFieldRows({{Label1, DateDBEdit, 120},
                              {Label2, OrderNumberDBEdit, 120},
                              {Label3, CustomerNumberDBEdit, 120},
                              {Label4, PaymentStatusDBEdit, 120},
                              {Label5, DatePaymentRecievedDBEdit, 120},
                              {Label6, DBEdit1, 120},
                              {Label7, DBEdit2, 120},
                              {Label8, DBEdit3, 200},
                              {Label9, DBEdit4, 200}},
                             {.labelLeft = 16, .labelWidth = 150, .fieldLeft = 170}, 14);
  Label10.setBounds(16, y + 6, 590, 20);
  DBNavigator1.setBounds(16, y + 38, 80, 28);

  layButtonColumn({&cmdEnterPaymentStatusDateRecieved, &cmdCheckPaymentStatus, &cmdPrintInvoice,
                   &cmdPrintReciept, &cmdHelp},
                  390, 14, 216, 30, 40);
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
