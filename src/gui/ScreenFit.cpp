#include "gui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace corvanta {

namespace {
// What a window manager typically adds around a window: borders and a title bar.
const QSize kFrame(16, 40);
}  // namespace

QSize fitToScreen(QSize wanted) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return wanted;
  return wanted.boundedTo(screen->availableGeometry().size() - kFrame);
}

void placeCentred(QWidget* window, QSize wanted) {
  window->resize(fitToScreen(wanted));
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize outer = window->size() + kFrame;
  window->move(area.left() + std::max(0, (area.width() - outer.width()) / 2),
               area.top() + std::max(0, (area.height() - outer.height()) / 2));
}

}  // namespace corvanta
