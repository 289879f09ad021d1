#pragma once
// SearchShippingBillingDBForm: the window exists from start-up with its caption; its controls and
// commands are built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TSearchShippingBillingDBForm : public Form {
 public:
  explicit TSearchShippingBillingDBForm(Application& app)
      : Form(app, "SearchShippingBillingDBForm", "Search") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
