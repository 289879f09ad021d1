#pragma once
// SalesEntryForm: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TSalesEntryForm : public Form {
 public:
  explicit TSalesEntryForm(Application& app) : Form(app, "SalesEntryForm", "Sales Entry Form") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
