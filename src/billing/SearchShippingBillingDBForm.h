#pragma once
// The billing and shipping search dialog, shared by the billing and the shipping window.  It
// finds an order's record by order number (primary index) or the first of a customer's records
// by customer number (index "byCustomerNumber"), and leaves that index selected: the
// navigators of both windows then step in its order.  The option chosen stays chosen between
// openings.
#include "ui/Form.h"
#include "ui/OptionGroup.h"

namespace corvanta {

class TSearchShippingBillingDBForm : public Form {
 public:
  explicit TSearchShippingBillingDBForm(Application& app);

  GroupBox GroupBox1{*this, "GroupBox1", "Search Criteria"};
  OptionButton optOrderNumber{*this, "optOrderNumber", "Order Number", "", &GroupBox1};
  OptionButton optCustNum{*this, "optCustNum", "Customer Number", "", &GroupBox1};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick"};
  Button cmdCancel{*this, "cmdCancel", "Cancel", "cmdCancelClick"};
  // "Order Number" chosen at start.
  OptionGroup options{GroupBox1, {&optOrderNumber, &optCustNum}, cmdOK, cmdCancel, {.width = 260}};

  // Selects the chosen option's index, asks for the number and searches exactly; found: that
  // record is current; not found: the message, and the record stays.  Then the dialog closes.
  // A customer number left empty (or Cancel) searches nothing; an order number left empty
  // searches for a record without one.  A text the key field cannot take is refused with the
  // conversion message and the dialog stays open, its index selected.
  void cmdOKClick();
  void cmdCancelClick() { close(); }
};

}  // namespace corvanta
