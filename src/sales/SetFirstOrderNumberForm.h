#pragma once
// The first order number dialog: shown by the order start while no order number is stored
// anywhere.  OK starts the order with the number as typed (a fraction included); an empty
// text or one that the order number field cannot take is refused there and the dialog stays.
#include "ui/Form.h"

namespace corvanta {

class TSetFirstOrderNumberForm : public Form {
 public:
  explicit TSetFirstOrderNumberForm(Application& app);

  Label Label1{*this, "Label1", "There are no Order Numbers in the Database"};
  Label Label2{*this, "Label2", "Enter an Order Number :"};
  Edit Edit1{*this, "Edit1"};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick"};
  Button cmdClose{*this, "cmdClose", "Close", "cmdCloseClick"};

  void cmdOKClick();
  // Starts nothing; the find-customer dialog stays open.
  void cmdCloseClick() { close(); }
};

}  // namespace corvanta
