#pragma once
// ChangePriceForm: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TChangePriceForm : public Form {
 public:
  explicit TChangePriceForm(Application& app) : Form(app, "ChangePriceForm", "Change Price ") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
