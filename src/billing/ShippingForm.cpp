#include "billing/ShippingForm.h"

#include "app/CorvantaApp.h"
#include "billing/BillingRecord.h"
#include "billing/SearchShippingBillingDBForm.h"
#include "billing/ShippingInformationForm.h"
#include "data/engine/Table.h"
#include "ui/FormLayout.h"

namespace corvanta {

TShippingForm::TShippingForm(Application& app)
    : Form(app, "ShippingForm", "Shipping Database Manager"),
      PackagingslipReport(shop(app).reports(), "PackagingslipReport", "PackagingSlip.rpt",
                          kReportDirectory, false) {
  border = BorderStyle::Dialog;
  minimizeBox = true;
  clientWidth = 620;
  clientHeight = 330;

  const int y = layFieldRows({{Label1, DateDBEdit, 120},
                              {Label2, OrderNumberDBEdit, 120},
                              {Label3, CustomerNumberDBEdit, 120},
                              {Label4, DateShippedDBEdit, 120},
                              {Label5, PackedByByDBEdit, 220},
                              {Label6, ShippedViaDBEdit, 220},
                              {Label7, ShippingChargeDBEdit, 120}},
                             {.labelLeft = 16, .labelWidth = 130, .fieldLeft = 150}, 14);
  Label8.setBounds(16, y + 6, 590, 20);
  DBNavigator1.setBounds(16, y + 38, 80, 28);

  layButtonColumn(
      {&cmdEnterShippinginformation, &cmdCheckShippingStatus, &cmdPrintPackagingSlip, &cmdHelp},
      390, 14, 216, 30, 40);
  cmdHelp.glyph = Button::Glyph::Help;
  cmdClose.setKind(Button::Glyph::Close);
  cmdClose.setBounds(390, 254, 216, 30);

  ShippingChargeDBEdit.exitHandler = "ShippingChargeDBEditExit";
  ShippingChargeDBEdit.storingAtPost = [this](const std::string& typed) {
    shop(this->app()).g.ShippingInformationForm->chargeStoredAtPost(typed);
  };
  addHandler("ShippingChargeDBEditExit", [this] { ShippingChargeDBEditExit(); });
  addHandler("cmdEnterShippinginformationClick", [this] { cmdEnterShippinginformationClick(); });
  addHandler("cmdCheckShippingStatusClick", [this] { cmdCheckShippingStatusClick(); });
  addHandler("cmdPrintPackagingSlipClick", [this] { cmdPrintPackagingSlipClick(); });
  addHandler("cmdHelpClick", [this] { cmdHelpClick(); });
  addHandler("cmdCloseClick", [this] { cmdCloseClick(); });
}

void TShippingForm::cmdEnterShippinginformationClick() {
  Table& billing = billingTable(app());
  requireBillingRecord(billing);
  billing.edit();
  TShippingInformationForm& dialog = *shop(app()).g.ShippingInformationForm;
  dialog.takePreviousShippingCharge();
  dialog.show();
}

void TShippingForm::cmdCheckShippingStatusClick() {
  shop(app()).g.SearchShippingBillingDBForm->show();
}

void TShippingForm::cmdPrintPackagingSlipClick() {
  printOrderOnShow(app(), PackagingslipReport);
}

void TShippingForm::ShippingChargeDBEditExit() {
  shop(app()).g.ShippingInformationForm->followCharge(ShippingChargeDBEdit);
}

void TShippingForm::cmdHelpClick() {
  app().setHelpFile("C:\\windows\\help\\Corvanta.HLP");
  app().helpCommand(3, 0);
}

}  // namespace corvanta
