#pragma once
// InventoryAboutBox: the window exists from start-up with its caption; its controls and commands are
// built with its own window.
#include "ui/Form.h"

namespace corvanta {

class TInventoryAboutBox : public Form {
 public:
  explicit TInventoryAboutBox(Application& app) : Form(app, "InventoryAboutBox", "About") { border = BorderStyle::Dialog; }
};

}  // namespace corvanta
