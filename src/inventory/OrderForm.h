#pragma once
// The sort-order dialog of the inventory window: the order of the shared stock table, which
// the grid and the navigator of every window showing stock follow.
#include "ui/Form.h"
#include "ui/OptionGroup.h"

namespace corvanta {

class TOrderForm : public Form {
 public:
  explicit TOrderForm(Application& app);

  GroupBox GroupBox1{*this, "GroupBox1", "Order"};
  OptionButton optOrderbyItemNumber{*this, "optOrderbyItemNumber", "Order by Part Number", "",
                                    &GroupBox1};
  OptionButton optOrderbyDescription{*this, "optOrderbyDescription", "Order by Description", "",
                                     &GroupBox1};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick"};
  Button cmdClose{*this, "cmdClose", "&Close", "cmdCloseClick"};
  OptionGroup options{GroupBox1,
                      {&optOrderbyItemNumber, &optOrderbyDescription},
                      cmdOK,
                      cmdClose,
                      {.cancelKind = Button::Glyph::Close}};

  // Selects the chosen order's index, refreshes and closes; the current record stays current.
  void cmdOKClick();
  // Closes and changes nothing.
  void cmdCloseClick() { close(); }
};

}  // namespace corvanta
