#pragma once
// The payment status dialog: the order number, payment status and date payment was received of
// the billing record on show.  The person types "recieved" (or leaves it blank) and the date,
// and OK posts the record.  Enter Payment Status of the billing window has put the record into
// edit state when it showed the dialog.
#include "data/controls/DBEdit.h"
#include "ui/Form.h"

namespace corvanta {

class TPaymentStatusDatePaymentRecievedForm : public Form {
 public:
  explicit TPaymentStatusDatePaymentRecievedForm(Application& app);

  static constexpr const char* kBilling = "ShippingBillingDataModule.ShippingBillingDataSource";

  Label Label1{*this, "Label1", "Order Number"};
  DBEdit OrderNumberDBEdit{*this, "OrderNumberDBEdit", kBilling, "OrderNumber"};
  Label Label2{*this, "Label2", "Payment Status"};
  DBEdit PaymentStatusDBEdit{*this, "PaymentStatusDBEdit", kBilling, "PaymentStatus"};
  Label Label3{*this, "Label3", "(Enter recieved or leave blank if not recieved)"};
  Label Label4{*this, "Label4", "Date Recieved"};
  DBEdit DataRecievedDBEdit{*this, "DataRecievedDBEdit", kBilling, "DatePaymentRecieved"};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick"};
  Button cmdCancel{*this, "cmdCancel", "Cancel", "cmdCancelClick"};

  // Posts the billing table, then closes.  A record no longer in edit state (moved in the
  // window behind) is refused with "Dataset not in edit or insert mode" and the dialog stays.
  void cmdOKClick();
  // Closes; what was typed stays pending and is saved by the next post or move.
  void cmdCancelClick() { close(); }
};

}  // namespace corvanta
