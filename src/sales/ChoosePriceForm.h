#pragma once
// ChoosePriceForm: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TChoosePriceForm : public Form {
 public:
  explicit TChoosePriceForm(Application& app) : Form(app, "ChoosePriceForm", "Choose Price Form") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
