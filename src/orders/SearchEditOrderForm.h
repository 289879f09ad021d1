#pragma once
// SearchEditOrderForm: the window exists from start-up with its caption; its controls and commands
// are built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TSearchEditOrderForm : public Form {
 public:
  explicit TSearchEditOrderForm(Application& app)
      : Form(app, "SearchEditOrderForm", "Search/ Edit Order Form") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
