#pragma once
// The billing window: the per-order billing and shipping records of the shared billing table,
// one at a time.  The office finds an order's record (through the search dialog it shares with
// the shipping window), records whether and when payment was received (through the payment
// status dialog), and prints the order's invoice or receipt.
//
// Every edit is bound to ShippingBillingDataModule.ShippingBillingDataSource, whose AutoEdit
// is on: typing into any of them puts the record into edit state, and a move to the prior or
// next record posts what was typed.
#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "reports/ReportComponent.h"
#include "ui/Form.h"

namespace corvanta {

class TBillingForm : public Form {
 public:
  explicit TBillingForm(Application& app);

  static constexpr const char* kBilling = "ShippingBillingDataModule.ShippingBillingDataSource";

  // Record controls, in tab order.
  Label Label1{*this, "Label1", "Date"};
  DBEdit DateDBEdit{*this, "DateDBEdit", kBilling, "Date"};
  Label Label2{*this, "Label2", "Order Number"};
  DBEdit OrderNumberDBEdit{*this, "OrderNumberDBEdit", kBilling, "OrderNumber"};
  Label Label3{*this, "Label3", "Customer Number"};
  DBEdit CustomerNumberDBEdit{*this, "CustomerNumberDBEdit", kBilling, "CustNum"};
  Label Label4{*this, "Label4", "Payment Status"};
  DBEdit PaymentStatusDBEdit{*this, "PaymentStatusDBEdit", kBilling, "PaymentStatus"};
  Label Label5{*this, "Label5", "Date Payment Recieved"};
  DBEdit DatePaymentRecievedDBEdit{*this, "DatePaymentRecievedDBEdit", kBilling,
                                   "DatePaymentRecieved"};
  Label Label6{*this, "Label6", "Grand Total"};
  DBEdit DBEdit1{*this, "DBEdit1", kBilling, "GrandTotal"};
  Label Label7{*this, "Label7", "Total Tax"};
  DBEdit DBEdit2{*this, "DBEdit2", kBilling, "TotalTax"};
  Label Label8{*this, "Label8", "Credit Card Type"};
  DBEdit DBEdit3{*this, "DBEdit3", kBilling, "Credit Card Type"};
  Label Label9{*this, "Label9", "Credit Card Number"};
  DBEdit DBEdit4{*this, "DBEdit4", kBilling, "Credit Card Number"};
  Label Label10{*this, "Label10",
                "Hint: Check payment status first then Enter Payment status  and Date recieved"};

  DBNavigator DBNavigator1{*this, "DBNavigator1", kBilling, {NavButton::Prior, NavButton::Next}};

  Button cmdEnterPaymentStatusDateRecieved{*this, "cmdEnterPaymentStatusDateRecieved",
                                           "Enter Payment Status/ Date Recieved",
                                           "cmdEnterPaymentStatusDateRecievedClick"};
  Button cmdCheckPaymentStatus{*this, "cmdCheckPaymentStatus", "Check Payment Status",
                               "cmdCheckPaymentStatusClick"};
  Button cmdPrintInvoice{*this, "cmdPrintInvoice", "Print Invoice", "cmdPrintInvoiceClick"};
  Button cmdPrintReciept{*this, "cmdPrintReciept", "Print Reciept", "cmdPrintRecieptClick"};
  Button cmdHelp{*this, "cmdHelp", "Help", "cmdHelpClick"};
  Button cmdClose{*this, "cmdClose", "&Close", "cmdCloseClick"};

  ReportComponent InvoiceReport1;
  ReportComponent RecieptReport;

  // Enter Payment Status: the payment status dialog, shown without blocking, on the current
  // record, which is put into edit state so that the dialog's OK posts what was typed.  An
  // empty table: "Cannot perform this operation on an empty dataset".
  void cmdEnterPaymentStatusDateRecievedClick();
  // Check Payment Status: the billing and shipping search dialog.
  void cmdCheckPaymentStatusClick();
  // The invoice or receipt of the order on show, told its order and customer number; with no
  // order on show a message and nothing printed.
  void cmdPrintInvoiceClick();
  void cmdPrintRecieptClick();
  void cmdHelpClick();
  // Hides the window; a change pending on the record is neither posted nor discarded.
  void cmdCloseClick() { close(); }
};

}  // namespace corvanta
