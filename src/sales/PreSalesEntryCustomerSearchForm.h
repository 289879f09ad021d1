#pragma once
// PreSalesEntryCustomerSearchForm: the window exists from start-up with its caption; its controls
// and commands are built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TPreSalesEntryCustomerSearchForm : public Form {
 public:
  explicit TPreSalesEntryCustomerSearchForm(Application& app)
      : Form(app, "PreSalesEntryCustomerSearchForm", "Search") {
    border = BorderStyle::Dialog;
  }
};

}  // namespace corvanta
