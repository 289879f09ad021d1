// The GUI tests need one QApplication for the whole run; without a display they use Qt's
// offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

namespace {

QtMessageHandler standardHandler = nullptr;

// The offscreen platform says, for every window brought forward, that it cannot raise it.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.contains("This plugin does not support")) return;
  if (standardHandler) standardHandler(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  standardHandler = qInstallMessageHandler(quietHandler);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
