#pragma once
// SearchForm: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TSearchForm : public Form {
 public:
  explicit TSearchForm(Application& app) : Form(app, "SearchForm", "Search") { border = BorderStyle::Dialog; }
};

}  // namespace corvanta
