// corvanta-screenshots DIR [FORM...]: starts the program on a fresh data directory, sets a
// tax rate through the real widgets and saves pictures of the main window, the about window,
// the set tax rate dialog and the splash into DIR, then of each FORM named (FORM.png), so
// that a window's look can be checked.  Run it under xvfb-run for the desktop's fonts.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <cstdio>
#include <string>

#include "GuiHarness.h"
#include "ui/Form.h"

using namespace corvanta::test;

namespace {

bool save(QWidget& w, const QString& dir, const char* name) {
  settle();
  QTest::qWait(100);
  const QString file = QDir(dir).filePath(name);
  if (!w.grab().save(file)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
  }
  std::printf("%s\n", qPrintable(file));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("docs/screenshots");
  QDir().mkpath(dir);
  GuiShop shop;
  if (!shop.started()) {
    std::fprintf(stderr, "start-up failed: %s\n", qPrintable(shop.boxes.join(" / ")));
    return 1;
  }
  bool ok = true;

  shop.press("CorvantaMainForm", "cmdSalesTax");
  auto* edit = shop.widget<QLineEdit>("SetTaxRateForm", "Edit1");
  QTest::keyClicks(edit, "8.5");
  QTest::keyClick(edit, Qt::Key_Return);
  ok &= save(shop.window("CorvantaMainForm"), dir, "main-window.png");

  shop.press("CorvantaMainForm", "cmdSalesTax");
  ok &= save(shop.window("SetTaxRateForm"), dir, "set-tax-rate.png");
  shop.press("SetTaxRateForm", "cmdCancel");

  shop.press("CorvantaMainForm", "cmdAbout");
  ok &= save(shop.window("AboutForm"), dir, "about.png");
  shop.press("AboutForm", "cmdOK");

  shop.app().splash()->show();
  ok &= save(shop.window("SplashScreenForm"), dir, "splash.png");
  shop.app().splash()->close();

  for (int i = 2; i < argc; ++i) {
    corvanta::Form* form = shop.app().form(argv[i]);
    if (!form) {
      std::fprintf(stderr, "no window %s\n", argv[i]);
      ok = false;
      continue;
    }
    form->show();
    ok &= save(shop.window(argv[i]), dir, (std::string(argv[i]) + ".png").c_str());
    form->close();
  }
  return ok && shop.boxes.isEmpty() ? 0 : 1;
}
