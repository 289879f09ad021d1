#pragma once
// The stock search dialog, opened by the inventory window and by sales entry's Find Product.
// When it has done its work the shared stock table is on the item looked for (by part number:
// the item found, or where it was when nothing was found; by description: the nearest item)
// and its index is the one of the chosen option.  Sales entry relies on that position.
#include "ui/Form.h"
#include "ui/OptionGroup.h"

namespace corvanta {

class Table;

class TSearchForm : public Form {
 public:
  explicit TSearchForm(Application& app);

  GroupBox GroupBox1{*this, "GroupBox1", "Search Criteria"};
  OptionButton optSearchItemNumber{*this, "optSearchItemNumber", "Search by Part Number", "",
                                   &GroupBox1};
  OptionButton optSearchDescription{*this, "optSearchDescription", "Search by Description", "",
                                    &GroupBox1};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick"};
  Button cmdCancel{*this, "cmdCancel", "Cancel", "cmdCancelClick"};
  OptionGroup options{GroupBox1, {&optSearchItemNumber, &optSearchDescription}, cmdOK, cmdCancel};

  // By part number: asks for it (an empty answer does nothing, the dialog stays open), looks it
  // up exactly on the primary index, closes, and says "Item Number not found !" after closing
  // when there is no such item.  By description: selects "byDescription", asks, moves to the
  // first description at or after the text (the last item past every description) and stays
  // open without a word.
  void cmdOKClick();
  void cmdCancelClick() { close(); }
  // Selects the index of the chosen option and refreshes the stock table; the current record
  // stays current.
  void AdjustTable();

 private:
  Table& stock() const;
};

}  // namespace corvanta
