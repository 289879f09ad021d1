#pragma once
// Windows that fit the screen: no window or dialog opens larger than the screen's free area
// (a 1366x768 laptop leaves about 1366x730 to windows), and the big ones open centred.
#include <QSize>

class QWidget;

namespace corvanta {

// wanted, cut to the primary screen's free area less room for a window frame.
QSize fitToScreen(QSize wanted);
// Sizes the window to wanted (cut to the screen) and centres it on the screen.
void placeCentred(QWidget* window, QSize wanted);

}  // namespace corvanta
