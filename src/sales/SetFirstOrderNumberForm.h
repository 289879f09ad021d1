#pragma once
// SetFirstOrderNumberForm: the window exists from start-up with its caption; its controls and
// commands are built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TSetFirstOrderNumberForm : public Form {
 public:
  explicit TSetFirstOrderNumberForm(Application& app)
      : Form(app, "SetFirstOrderNumberForm", "Set First Order Number") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
