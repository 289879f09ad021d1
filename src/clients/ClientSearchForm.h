#pragma once
// The clients search dialog: the person picks last name or customer number and presses OK;
// the search itself belongs to the clients window (SearchByLastName, SearchByCustNum).
#include "ui/Form.h"
#include "ui/OptionGroup.h"

namespace corvanta {

class TClientSearchForm : public Form {
 public:
  explicit TClientSearchForm(Application& app);

  GroupBox raSearchBy{*this, "raSearchBy", "Search Criteria"};
  OptionButton optSearchLastName{*this, "optSearchLastName", "Last &Name", "", &raSearchBy};
  OptionButton optSearchCustNum{*this, "optSearchCustNum", "C&ustomer Number", "", &raSearchBy};
  Button BitBtn1{*this, "BitBtn1", "OK", "BitBtn1Click"};
  Button BitBtn2{*this, "BitBtn2", "Cancel", "BitBtn2Click"};
  OptionGroup options{
      raSearchBy, {&optSearchLastName, &optSearchCustNum}, BitBtn1, BitBtn2, {.width = 260}};

  // Runs the chosen search, then hides the dialog.  A search that fails with an error stops
  // before that, so the dialog stays open for another try.
  void BitBtn1Click();
  void BitBtn2Click() { close(); }
};

}  // namespace corvanta
