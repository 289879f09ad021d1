#include "inventory/InventoryAboutBox.h"

namespace corvanta {

TInventoryAboutBox::TInventoryAboutBox(Application& app) : Form(app, "InventoryAboutBox", "About") {
  border = BorderStyle::Dialog;
  clientWidth = 300;
  clientHeight = 140;
  Label1.setBounds(20, 18, 260, 26);
  Label1.fontSize = 14;
  Label1.bold = true;
  Label2.setBounds(20, 52, 260, 20);
  OKButton.setBounds(110, 96, 80, 30);
  OKButton.isCancel = true;
  OKButton.setKind(Button::Glyph::Ok);
  addHandler("OKButtonClick", [this] { OKButtonClick(); });
}

}  // namespace corvanta
