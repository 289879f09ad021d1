#pragma once
// The order dialogs keep their OK and Cancel buttons in a panel under the option group.
#include "ui/Control.h"

namespace corvanta {

// Moves the panel to the row where the option group placed the two buttons (the buttons'
// bounds are then taken as the window's), and the buttons to the same place inside the panel.
void seatButtonsInPanel(Panel& panel, Button& ok, Button& cancel);

}  // namespace corvanta
