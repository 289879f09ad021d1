#pragma once
// ShippingInformationForm: the window exists from start-up with its caption; its controls and
// commands are built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TShippingInformationForm : public Form {
 public:
  explicit TShippingInformationForm(Application& app)
      : Form(app, "ShippingInformationForm", "Shipping Information") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
