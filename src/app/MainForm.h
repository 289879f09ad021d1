#pragma once
// The main window: the hub that opens every manager window and shows the sales tax rate.
#include "data/controls/DBEdit.h"
#include "reports/ReportComponent.h"
#include "ui/Form.h"

namespace corvanta {

class TCorvantaMainForm : public Form {
 public:
  explicit TCorvantaMainForm(Application& app);

  Panel Panel1{*this, "Panel1"};
  Button Morvane{*this, "Morvane", "Morvane", "MorvaneClick", &Panel1};
  Button Talvesk{*this, "Talvesk", "Talvesk", "TalveskClick", &Panel1};
  Button SalesEntryForm{*this, "SalesEntryForm", "Sales Entry Form", "SalesEntryFormClick",
                        &Panel1};
  Button cmdSearchEditOrder{*this, "cmdSearchEditOrder", "Search/Edit Order",
                            "cmdSearchEditOrderClick", &Panel1};
  Button cmdShippingDatabaseManager{*this, "cmdShippingDatabaseManager",
                                    "Shipping Database Manager", "cmdShippingDatabaseManagerClick",
                                    &Panel1};
  Button cmdBilling{*this, "cmdBilling", "Billing Database Manager", "cmdBillingClick", &Panel1};
  Button PrintSalesReport{*this, "PrintSalesReport", "Print Sales Report", "PrintSalesReportClick",
                          &Panel1};
  Label Label3{*this, "Label3", "Tax Rate Set to", &Panel1};
  DBEdit DBEdit1{*this, "DBEdit1", "SalesTaxDataModule.SalesTaxDataSource", "TaxRate", &Panel1};
  Label Label2{*this, "Label2", "%", &Panel1};
  Panel Panel2{*this, "Panel2"};
  Button cmdSalesTax{*this, "cmdSalesTax", "Set SalesTax", "cmdSalesTaxClick", &Panel2};
  Button cmdAbout{*this, "cmdAbout", "About", "cmdAboutClick", &Panel2};
  Button cmdHelp{*this, "cmdHelp", "Help", "cmdHelpClick", &Panel2};
  Button cmdClose{*this, "cmdClose", "E&xit", "cmdCloseClick", &Panel2};

  ReportComponent SalesReport;

  void MorvaneClick();
  void TalveskClick();
  void SalesEntryFormClick();
  void cmdSearchEditOrderClick();
  void cmdShippingDatabaseManagerClick();
  void cmdBillingClick();
  void PrintSalesReportClick();
  void cmdSalesTaxClick();
  void cmdAboutClick();
  void cmdHelpClick();
  void cmdCloseClick();

 protected:
  // Closing the main window through its frame ends the application, as Exit does, after the
  // same question when typed changes or an order being entered would be lost.
  bool closeQuery() override;
  void onClose() override;
};

}  // namespace corvanta
