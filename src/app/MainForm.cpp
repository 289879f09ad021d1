#include "app/MainForm.h"

#include "app/AboutForm.h"
#include "app/CorvantaApp.h"
#include "app/ExitQuestion.h"
#include "billing/BillingForm.h"
#include "billing/ShippingForm.h"
#include "clients/FormClients.h"
#include "inventory/InventoryForm.h"
#include "orders/SearchEditOrderForm.h"
#include "sales/PreSalesEntryForm.h"
#include "tax/SetTaxRateForm.h"

namespace corvanta {

TCorvantaMainForm::TCorvantaMainForm(Application& app)
    : Form(app, "CorvantaMainForm", "Corvanta -- Main Form"),
      SalesReport(shop(app).reports(), "SalesReport", "Sales.rpt", kReportDirectory, false) {
  border = BorderStyle::Dialog;
  clientWidth = 420;
  clientHeight = 330;
  Panel1.setBounds(8, 8, 404, 250);
  const int w = 190, h = 34;
  Morvane.setBounds(10, 10, w, h);
  Talvesk.setBounds(204, 10, w, h);
  SalesEntryForm.setBounds(10, 50, w, h);
  cmdSearchEditOrder.setBounds(204, 50, w, h);
  cmdShippingDatabaseManager.setBounds(10, 90, w, h);
  cmdBilling.setBounds(204, 90, w, h);
  PrintSalesReport.setBounds(107, 140, w, h);
  Label3.setBounds(90, 200, 110, 20);
  DBEdit1.setBounds(200, 197, 80, 24);
  Label2.setBounds(286, 200, 20, 20);
  DBEdit1.readOnly = true;
  Panel2.setBounds(8, 266, 404, 56);
  cmdSalesTax.setBounds(10, 12, 92, 32);
  cmdAbout.setBounds(108, 12, 92, 32);
  cmdHelp.setBounds(206, 12, 92, 32);
  cmdClose.setBounds(304, 12, 92, 32);

  addHandler("MorvaneClick", [this] { MorvaneClick(); });
  addHandler("TalveskClick", [this] { TalveskClick(); });
  addHandler("SalesEntryFormClick", [this] { SalesEntryFormClick(); });
  addHandler("cmdSearchEditOrderClick", [this] { cmdSearchEditOrderClick(); });
  addHandler("cmdShippingDatabaseManagerClick", [this] { cmdShippingDatabaseManagerClick(); });
  addHandler("cmdBillingClick", [this] { cmdBillingClick(); });
  addHandler("PrintSalesReportClick", [this] { PrintSalesReportClick(); });
  addHandler("cmdSalesTaxClick", [this] { cmdSalesTaxClick(); });
  addHandler("cmdAboutClick", [this] { cmdAboutClick(); });
  addHandler("cmdHelpClick", [this] { cmdHelpClick(); });
  addHandler("cmdCloseClick", [this] { cmdCloseClick(); });
}

void TCorvantaMainForm::MorvaneClick() {
  shop(app()).g.FormClients->show();
}
void TCorvantaMainForm::TalveskClick() {
  shop(app()).g.InventoryForm->show();
}
void TCorvantaMainForm::SalesEntryFormClick() {
  shop(app()).g.PreSalesEntryForm->show();
}
void TCorvantaMainForm::cmdSearchEditOrderClick() {
  shop(app()).g.SearchEditOrderForm->show();
}
void TCorvantaMainForm::cmdShippingDatabaseManagerClick() {
  shop(app()).g.ShippingForm->show();
}
void TCorvantaMainForm::cmdBillingClick() {
  shop(app()).g.BillingForm->show();
}
void TCorvantaMainForm::PrintSalesReportClick() {
  SalesReport.Run();
}
void TCorvantaMainForm::cmdSalesTaxClick() {
  shop(app()).g.SetTaxRateForm->show();
}
void TCorvantaMainForm::cmdAboutClick() {
  shop(app()).g.AboutForm->show();
}

void TCorvantaMainForm::cmdHelpClick() {
  app().setHelpFile("C:\\windows\\help\\Corvanta.HLP");
  app().helpCommand(3, 0);
}

void TCorvantaMainForm::cmdCloseClick() {
  if (confirmEnding(shop(app()))) app().terminate();
}

bool TCorvantaMainForm::closeQuery() {
  return confirmEnding(shop(app()));
}

void TCorvantaMainForm::onClose() {
  app().terminate();
}

}  // namespace corvanta
