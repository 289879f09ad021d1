#pragma once
// ShippingForm: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TShippingForm : public Form {
 public:
  explicit TShippingForm(Application& app)
      : Form(app, "ShippingForm", "Shipping Database Manager") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
