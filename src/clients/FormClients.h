#pragma once
// FormClients: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TFormClients : public Form {
 public:
  explicit TFormClients(Application& app) : Form(app, "FormClients", "Morvane") { border = BorderStyle::Dialog; }
};

}  // namespace corvanta
