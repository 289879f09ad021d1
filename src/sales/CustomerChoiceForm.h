#pragma once
// CustomerChoiceForm: the window exists from start-up with its caption; its controls and commands
// are built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TCustomerChoiceForm : public Form {
 public:
  explicit TCustomerChoiceForm(Application& app)
      : Form(app, "CustomerChoiceForm", "Customer Selection") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
