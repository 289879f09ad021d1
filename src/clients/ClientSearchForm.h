#pragma once
// ClientSearchForm: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TClientSearchForm : public Form {
 public:
  explicit TClientSearchForm(Application& app) : Form(app, "ClientSearchForm", "Search") { border = BorderStyle::Dialog; }
};

}  // namespace corvanta
