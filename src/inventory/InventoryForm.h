#pragma once
// InventoryForm: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TInventoryForm : public Form {
 public:
  explicit TInventoryForm(Application& app) : Form(app, "InventoryForm", "Talvesk") { border = BorderStyle::Dialog; }
};

}  // namespace corvanta
