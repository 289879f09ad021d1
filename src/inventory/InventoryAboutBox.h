#pragma once
// The inventory window's about box.
#include "ui/Form.h"

namespace corvanta {

class TInventoryAboutBox : public Form {
 public:
  explicit TInventoryAboutBox(Application& app);

  Label Label1{*this, "Label1", "Talvesk v 1.0"};
  Label Label2{*this, "Label2", "Stock manager of the Corvanta back office"};
  Button OKButton{*this, "OKButton", "OK", "OKButtonClick"};

  void OKButtonClick() { close(); }
};

}  // namespace corvanta
