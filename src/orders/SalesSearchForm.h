#pragma once
// The sales search dialog of the order correction window: finds the first line of an order or
// of a customer.  The index it selects stays selected, so that the navigator then walks that
// order's or that customer's lines as neighbours.  The dialog lives for the whole run, so the
// option chosen last is still chosen when it opens again.
#include "ui/Form.h"
#include "ui/OptionGroup.h"

namespace corvanta {

class Table;

class TSalesSearchForm : public Form {
 public:
  explicit TSalesSearchForm(Application& app);

  GroupBox SearchCriteriaGroupBox{*this, "SearchCriteriaGroupBox", "Search Criteria"};
  OptionButton optCustomerNumber{*this, "optCustomerNumber", "Customer Number", "",
                                 &SearchCriteriaGroupBox};
  OptionButton optOrderNumber{*this, "optOrderNumber", "Order Number", "", &SearchCriteriaGroupBox};
  Panel Panel1{*this, "Panel1"};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick", &Panel1};
  Button cmdCancel{*this, "cmdCancel", "Cancel", "cmdCancelClick", &Panel1};
  OptionGroup options{SearchCriteriaGroupBox,
                      {&optCustomerNumber, &optOrderNumber},
                      cmdOK,
                      cmdCancel,
                      {.width = 260}};

  // By customer number: selects "byCustNum" and asks; an empty answer (or Cancel) searches
  // nothing.  By order number: selects "byOrderNumber" and asks; the answer is searched even
  // when empty (a line without an order number).  A key that is not there gives the "not
  // found" message and leaves the line on show; either way the dialog closes.  An answer that
  // is not a number is refused by the table with its conversion message and the dialog stays
  // open with the new index selected.  Refused with a message while a sale is being entered:
  // any move would store the sale's unfinished line.
  void cmdOKClick();
  // Closes; nothing is searched and the index stays as it was.
  void cmdCancelClick() { close(); }

 private:
  Table& sales() const;
};

}  // namespace corvanta
