#pragma once
// The customer search of a sale: by last name (then the customer selection grid) or by
// customer number (then the order starts at once).  It closes after a search, whatever came of
// it; a customer number the table cannot take is refused with the table's message and the
// dialog stays.
#include "ui/Form.h"
#include "ui/OptionGroup.h"

namespace corvanta {

class Table;

class TPreSalesEntryCustomerSearchForm : public Form {
 public:
  explicit TPreSalesEntryCustomerSearchForm(Application& app);

  GroupBox SearchCriteriaGroupBox{*this, "SearchCriteriaGroupBox", "Search Criteria"};
  OptionButton optSearchLastName{*this, "optSearchLastName", "Last Name", "",
                                 &SearchCriteriaGroupBox};
  OptionButton optSearchCustNum{*this, "optSearchCustNum", "Customer Number", "",
                                &SearchCriteriaGroupBox};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick"};
  Button cmdCancel{*this, "cmdCancel", "Cancel", "cmdCancelClick"};
  // "Last Name" chosen at start; the choice stays between searches.
  OptionGroup options{SearchCriteriaGroupBox,
                      {&optSearchLastName, &optSearchCustNum},
                      cmdOK,
                      cmdCancel,
                      {.width = 260}};

  void cmdOKClick();
  void cmdCancelClick() { close(); }

  // Asks for a last name and looks it up exactly on "byLastName" (a prefix does not match);
  // found: the grid opens on the first client of that name.  An empty answer does nothing.
  void SearchByLastName();
  // Asks for a customer number and looks it up on the primary index; found: the order
  // starts.  An empty answer does nothing.
  void SearchByCustNum();

 private:
  Table& clients() const;
};

}  // namespace corvanta
