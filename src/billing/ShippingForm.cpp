#include "billing/ShippingForm.h"

#include <utility>

#include "app/CorvantaApp.h"
#include "billing/BillingRecord.h"
#include "billing/SearchShippingBillingDBForm.h"
#include "billing/ShippingInformationForm.h"
#include "data/engine/Table.h"

namespace corvanta {

TShippingForm::TShippingForm(Application& app)
    : Form(app, "ShippingForm", "Shipping Database Manager"),
      PackagingslipReport(shop(app).reports(), "PackagingslipReport", "PackagingSlip.rpt",
                          kReportDirectory, false) {
  border = BorderStyle::Dialog;
  minimizeBox = true;
  clientWidth = 620;
  clientHeight = 330;

  std::pair<Label*, DBEdit*> rows[] = {
      {&Label1, &DateDBEdit},           {&Label2, &OrderNumberDBEdit},
      {&Label3, &CustomerNumberDBEdit}, {&Label4, &DateShippedDBEdit},
      {&Label5, &PackedByByDBEdit},     {&Label6, &ShippedViaDBEdit},
      {&Label7, &ShippingChargeDBEdit}};
  int y = 14;
  for (auto [label, edit] : rows) {
    label->setBounds(16, y + 3, 130, 20);
    const bool wide = edit == &ShippedViaDBEdit || edit == &PackedByByDBEdit;
    edit->setBounds(150, y, wide ? 220 : 120, 24);
    y += 30;
  }
  Label8.setBounds(16, y + 6, 590, 20);
  DBNavigator1.setBounds(16, y + 38, 80, 28);

  Button* commands[] = {&cmdEnterShippinginformation, &cmdCheckShippingStatus,
                        &cmdPrintPackagingSlip, &cmdHelp};
  y = 14;
  for (Button* b : commands) {
    b->setBounds(390, y, 216, 30);
    y += 40;
  }
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
