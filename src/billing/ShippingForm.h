#pragma once
// The shipping window: the same per-order billing and shipping records as the billing window,
// with their shipping fields.  The office finds an order's record (through the shared search
// dialog), enters who packed it, when and how it went and what shipping cost (through the
// shipping information dialog, which keeps the grand total in step), and prints its packing
// slip.  Every edit is bound to ShippingBillingDataModule.ShippingBillingDataSource.
#include "billing/ShippingChargeEdit.h"
#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "reports/ReportComponent.h"
#include "ui/Form.h"

namespace corvanta {

class TShippingForm : public Form {
 public:
  explicit TShippingForm(Application& app);

  static constexpr const char* kBilling = "ShippingBillingDataModule.ShippingBillingDataSource";

  // Record controls, in tab order.
  Label Label1{*this, "Label1", "Date"};
  DBEdit DateDBEdit{*this, "DateDBEdit", kBilling, "Date"};
  Label Label2{*this, "Label2", "Order Number"};
  DBEdit OrderNumberDBEdit{*this, "OrderNumberDBEdit", kBilling, "OrderNumber"};
  Label Label3{*this, "Label3", "Customer Number"};
  DBEdit CustomerNumberDBEdit{*this, "CustomerNumberDBEdit", kBilling, "CustNum"};
  Label Label4{*this, "Label4", "Date Shipped"};
  DBEdit DateShippedDBEdit{*this, "DateShippedDBEdit", kBilling, "DateShipped"};
  Label Label5{*this, "Label5", "Packed By"};
  DBEdit PackedByByDBEdit{*this, "PackedByByDBEdit", kBilling, "PackedBy"};
  Label Label6{*this, "Label6", "Shipped Via"};
  DBEdit ShippedViaDBEdit{*this, "ShippedViaDBEdit", kBilling, "ShippedVia"};
  Label Label7{*this, "Label7", "Shipping Charge"};
  ShippingChargeEdit ShippingChargeDBEdit{*this, "ShippingChargeDBEdit", kBilling,
                                          "ShippingCharge"};
  Label Label8{*this, "Label8",
               "Hint: check shipping status first  then enter shipping information"};

  DBNavigator DBNavigator1{*this, "DBNavigator1", kBilling, {NavButton::Prior, NavButton::Next}};

  Button cmdEnterShippinginformation{*this, "cmdEnterShippinginformation",
                                     "Enter Shipping information",
                                     "cmdEnterShippinginformationClick"};
  Button cmdCheckShippingStatus{*this, "cmdCheckShippingStatus", "Check Shipping Status",
                                "cmdCheckShippingStatusClick"};
  Button cmdPrintPackagingSlip{*this, "cmdPrintPackagingSlip", "Print Packaging Slip",
                               "cmdPrintPackagingSlipClick"};
  Button cmdHelp{*this, "cmdHelp", "Help", "cmdHelpClick"};
  Button cmdClose{*this, "cmdClose", "&Close", "cmdCloseClick"};

  ReportComponent PackagingslipReport;

  // Enter Shipping information: the shipping information dialog, shown without blocking, on
  // the current record, which is put into edit state; the dialog takes the charge the grand
  // total holds.  An empty table: "Cannot perform this operation on an empty dataset".
  void cmdEnterShippinginformationClick();
  // Check Shipping Status: the billing and shipping search dialog.
  void cmdCheckShippingStatusClick();
  // The packing slip of the order on show; with no order on show a message, nothing printed.
  void cmdPrintPackagingSlipClick();
  void cmdHelpClick();
  // The charge typed here moves the grand total with it, as in the shipping information
  // dialog.
  void ShippingChargeDBEditExit();
  // Hides the window; a change pending on the record is neither posted nor discarded.
  void cmdCloseClick() { close(); }
};

}  // namespace corvanta
