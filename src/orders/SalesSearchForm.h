#pragma once
// SalesSearchForm: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TSalesSearchForm : public Form {
 public:
  explicit TSalesSearchForm(Application& app) : Form(app, "SalesSearchForm", "Search") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
