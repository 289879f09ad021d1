#pragma once
// The set tax rate dialog and the hidden form through which it writes the rate.
#include "data/controls/DBEdit.h"
#include "ui/Form.h"

namespace corvanta {

class TSetTaxRateForm : public Form {
 public:
  explicit TSetTaxRateForm(Application& app);
  Label EnterTaxRateLabel{*this, "EnterTaxRateLabel", "Enter Tax Rate"};
  Label Label1{*this, "Label1", "(Example:   8 1/2%  should be entered as 8.5)"};
  Edit Edit1{*this, "Edit1"};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick"};
  Button cmdCancel{*this, "cmdCancel", "Cancel", "cmdCancelClick"};

  // Replaces the rate in force with the rate typed, then closes.  An empty entry changes
  // nothing; a text that is not a number is refused with the conversion message and the
  // dialog stays open -- in both cases the rate in force stays the table's only record.
  void cmdOKClick();
  void cmdCancelClick() { close(); }
};

class TTaxRatePostingForm : public Form {
 public:
  explicit TTaxRatePostingForm(Application& app);
  Label TaxRateLabel{*this, "TaxRateLabel", "Tax Rate"};
  DBEdit TaxRateDBEdit{*this, "TaxRateDBEdit", "SalesTaxDataModule.SalesTaxDataSource", "TaxRate"};
};

}  // namespace corvanta
