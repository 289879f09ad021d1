#pragma once
// The find-customer dialog that begins every sale: the customer exists (Continue: search for
// them) or is new (Enter New: the clients window, then Continue).
#include "ui/Form.h"

namespace corvanta {

class TPreSalesEntryForm : public Form {
 public:
  explicit TPreSalesEntryForm(Application& app);

  Label Label1{*this, "Label1", "If Customer Exists in Database then hit continue button"};
  Label Label2{*this, "Label2", "If not then Hit Enter new button"};
  Button cmdContinue{*this, "cmdContinue", "Continue", "cmdContinueClick"};
  Button cmdEnterNew{*this, "cmdEnterNew", "Enter New", "cmdEnterNewClick"};
  Button BitBtn1{*this, "BitBtn1", "Cancel", "BitBtn1Click"};

  void cmdContinueClick();
  // The clients window, to add the customer; this dialog stays open for the search after.
  void cmdEnterNewClick();
  void BitBtn1Click() { close(); }
};

}  // namespace corvanta
