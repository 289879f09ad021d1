#pragma once
// OrderForm: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TOrderForm : public Form {
 public:
  explicit TOrderForm(Application& app) : Form(app, "OrderForm", "Order") { border = BorderStyle::Dialog; }
};

}  // namespace corvanta
