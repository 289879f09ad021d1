#pragma once
// PreSalesEntryForm: the window exists from start-up with its caption; its controls and commands
// are built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TPreSalesEntryForm : public Form {
 public:
  explicit TPreSalesEntryForm(Application& app)
      : Form(app, "PreSalesEntryForm", "Find Customer Form") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
