#include "data/ProcessingForm.h"

namespace corvanta {

TSalesProcessingForm::TSalesProcessingForm(Application& app)
    : Form(app, "SalesProcessingForm", "SalesProcessingForm") {
  neverShown = true;
  // Labels sit left of their edits, one pair a row, should anyone ever draw it.
  int y = 8;
  for (Control* c : controls()) {
    if (c->kind() == ControlKind::Label) {
      c->setBounds(8, y + 3, 130, 17);
    } else {
      c->setBounds(140, y, 200, 21);
      y += 26;
    }
  }
  clientWidth = 350;
  clientHeight = y + 8;
}

}  // namespace corvanta
