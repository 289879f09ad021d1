#pragma once
// BillingForm: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TBillingForm : public Form {
 public:
  explicit TBillingForm(Application& app) : Form(app, "BillingForm", "Billing Database Manager") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
