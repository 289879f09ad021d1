#pragma once
// The shipping information dialog: date shipped, packer, carrier and shipping charge of the
// billing record on show, keeping the order's grand total in step with the charge.  The grand
// total moves through the hidden processing form's GrandTotalDBEdit (bound to the same
// record's GrandTotal) and reaches the record with the next post.
//
// PreviousShippingCharge is the charge the grand total on show already holds: taken from the
// stored record when the dialog is opened on it (and again whenever no grand total written
// here is pending, so a record moved to behind the dialog brings its own charge), and set to
// the charge a grand total is written for.  OK and Change Shipping charge therefore move the
// grand total by the difference only: entering the same charge twice counts it once.
//
// A charge typed into any control bound to ShippingCharge (the two of this dialog and the
// shipping window's) moves the grand total as soon as the control is left, or, when the record
// is posted before the control was left, as the charge goes into its field; so whatever posts
// the record (OK, a move, the payment status dialog) stores the charge together with its total.
#include <string>

#include "billing/ShippingChargeEdit.h"
#include "data/controls/DBEdit.h"
#include "ui/Form.h"

namespace corvanta {

class TShippingInformationForm : public Form {
 public:
  explicit TShippingInformationForm(Application& app);

  static constexpr const char* kBilling = "ShippingBillingDataModule.ShippingBillingDataSource";

  // In tab order.
  Label Label1{*this, "Label1", "Order Number"};
  DBEdit OrderNumberDBEdit{*this, "OrderNumberDBEdit", kBilling, "OrderNumber"};
  Label Label2{*this, "Label2", "Date Shipped"};
  DBEdit DataShippedDBEdit{*this, "DataShippedDBEdit", kBilling, "DateShipped"};
  Label Label3{*this, "Label3", "Packed By"};
  DBEdit PackedByDBEdit{*this, "PackedByDBEdit", kBilling, "PackedBy"};
  Label Label4{*this, "Label4", "Shipped Via"};
  DBEdit ShippedByDBEdit{*this, "ShippedByDBEdit", kBilling, "ShippedVia"};
  Label Label5{*this, "Label5", "Shipping Charge"};
  ShippingChargeEdit ShippingChargeDBEdit{*this, "ShippingChargeDBEdit", kBilling,
                                          "ShippingCharge"};
  Label Label6{*this, "Label6", "Type new Shipping Charge here"};
  ShippingChargeEdit changeShippingChargeDbEdit{*this, "changeShippingChargeDbEdit", kBilling,
                                                "ShippingCharge"};
  Label Label7{*this, "Label7", "then click change shipping charge button"};
  Label Label8{*this, "Label8", "Customer Number"};
  DBEdit CustomerNumberDBEdit{*this, "CustomerNumberDBEdit", kBilling, "CustNum"};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick"};
  Button cmdchangeShippingCharge{*this, "cmdchangeShippingCharge", "Change Shipping charge",
                                 "cmdchangeShippingChargeClick"};
  Button cmdCancel{*this, "cmdCancel", "Cancel", "cmdCancelClick"};

  // The charge the grand total on show holds, as text ("0" when there is none).
  std::string PreviousShippingCharge = "0";

  // Creation: the charge on show, or "0".  (At start-up the billing data module does not
  // exist yet, so this is "0".)
  void FormCreate();
  // Moves the grand total by the difference between the charge in ShippingChargeDBEdit (empty
  // counts as 0) and PreviousShippingCharge, posts the billing table and closes.  A record
  // that is no longer in edit state is refused with "Dataset not in edit or insert mode"
  // before anything is written, and the dialog stays.
  void cmdOKClick();
  // The same move for the charge typed into changeShippingChargeDbEdit, without posting;
  // nothing when that control is empty.
  void cmdchangeShippingChargeClick();
  // Closes and discards the record's pending changes: a charge never stays without the grand
  // total computed for it.  Closing with the frame's close box does the same.
  void cmdCancelClick() { close(); }

  // Called by Enter Shipping information when it opens the dialog on a record.
  void takePreviousShippingCharge();
  // A control bound to ShippingCharge was left (its text is in the field): while the record
  // is being edited, the grand total follows the charge it shows.
  void followCharge(const DBEdit& chargeEdit);
  // A charge still typed into a control when the record is posted: the grand total on its way
  // to the file moves from the charge the record held to this one.
  void chargeStoredAtPost(const std::string& typed);
  void ShippingChargeDBEditExit() { followCharge(ShippingChargeDBEdit); }
  void changeShippingChargeDbEditExit() { followCharge(changeShippingChargeDbEdit); }

 protected:
  void onClose() override;

 private:
  // A typed charge still in a control goes into the field first, so that a text the field
  // cannot take is refused before the grand total moves.
  void settleTypedCharges();
  void moveGrandTotalTo(const std::string& charge);
};

}  // namespace corvanta
