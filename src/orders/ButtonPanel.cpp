#include "orders/ButtonPanel.h"

#include "ui/Form.h"

namespace corvanta {

void seatButtonsInPanel(Panel& panel, Button& ok, Button& cancel) {
  constexpr int kMargin = 12, kPad = 8;
  const Bounds a = ok.bounds(), b = cancel.bounds();
  panel.setBounds(kMargin, a.top - kPad, panel.form().clientWidth - 2 * kMargin,
                  a.height + 2 * kPad);
  ok.setBounds(a.left - kMargin, kPad, a.width, a.height);
  cancel.setBounds(b.left - kMargin, kPad, b.width, b.height);
}

}  // namespace corvanta
