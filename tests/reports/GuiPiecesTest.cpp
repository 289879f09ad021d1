// The two windows of this layer on real Qt widgets (offscreen): the help window and the
// print preview.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <cstdlib>

#include "ReportTestShop.h"
#include "gui/HelpWindow.h"
#include "gui/ReportPreview.h"
#include "ui/Error.h"

namespace corvanta::test {
namespace {

TEST(HelpWindow, ShowsTheFileOnItsContentsPageInOneWindow) {
  EngineConfig config;
  HelpWindowViewer viewer(config);
  EXPECT_EQ(viewer.window(), nullptr) << "made on first use";
  viewer.showHelp("C:\\windows\\help\\Inventory.HLP", 3, 0);
  HelpWindow* window = viewer.window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "Talvesk Inventory Help");
  EXPECT_TRUE(window->browser()->toPlainText().contains("Print List of Items to Re-Order"));
  EXPECT_EQ(window->browser()->verticalScrollBar()->value(), 0) << "opens at the contents";
  if (const char* dir = std::getenv("CORVANTA_REPORT_SAMPLES"); dir && *dir)  // to look at it
    window->grab().save(QString::fromUtf8(dir) + "/help-window.png");

  window->browser()->scrollToAnchor("menus");
  window->close();
  viewer.showHelp("Corvanta.HLP", 3, 0);
  EXPECT_EQ(viewer.window(), window) << "one help window for the whole program";
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "Corvanta Help");
  EXPECT_EQ(window->browser()->verticalScrollBar()->value(), 0);

  EXPECT_THROW(viewer.showHelp("C:\\windows\\help\\Missing.HLP", 3, 0), Error);
  EXPECT_EQ(window->windowTitle(), "Corvanta Help") << "a missing file changes nothing";
}

QDialog* shownPreview() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<QDialog*>(w);
        d && d->isVisible() && d->objectName() == "ReportPreview")
      return d;
  return nullptr;
}

ReportRun stockPreviewRun() {
  ReportRun run;
  run.component = "PreviewReport";
  run.reportName = "stock.rpt";
  run.directory = kReportDirectory;
  run.preview = true;
  return run;
}

TEST(ReportPreview, PaintsThePagesInAPreviewThatFitsTheScreen) {
  ReportTestShop shop(0);
  int painted = 0;
  QString caption;
  QRect frame;
  shop.runtime.setPreviewHook([&](const reports::PreviewRequest& r) {
    reports::PreviewRequest counted = r;
    counted.paint = [&](QPrinter& p) {
      ++painted;
      r.paint(p);
    };
    QTimer::singleShot(200, [&] {
      if (QDialog* d = shownPreview()) {
        caption = d->windowTitle();
        frame = d->geometry();
        d->reject();
      }
    });
    showReportPreview(counted);
  });
  shop.runtime.run(stockPreviewRun());
  EXPECT_GE(painted, 1);
  EXPECT_EQ(caption, "Print Preview - Stock Report");
  EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(frame))
      << "a preview larger than the screen hides its own buttons";
  EXPECT_FALSE(shop.dialogs.hasUnread()) << "closing the preview prints nothing";
  EXPECT_TRUE(shop.runtime.lastPdf().empty());
}

TEST(ReportPreview, CtrlPPrintsLikeEveryOtherReportAndClosesThePreview) {
  ReportTestShop shop(0);
  bool stillShown = true;
  shop.runtime.setPreviewHook([&](const reports::PreviewRequest& r) {
    QTimer::singleShot(200, [&] {
      QDialog* d = shownPreview();
      ASSERT_NE(d, nullptr);
      d->activateWindow();
      QTest::keyClick(d, Qt::Key_P, Qt::ControlModifier);
      stillShown = shownPreview() != nullptr;
      if (stillShown) d->reject();
    });
    showReportPreview(r);
  });
  shop.runtime.run(stockPreviewRun());
  EXPECT_FALSE(stillShown);
  // No printer here: the same PDF file in the report folder, and the same message, as a
  // report printed without a preview.
  ASSERT_FALSE(shop.runtime.lastPdf().empty());
  EXPECT_EQ(shop.runtime.lastPdf().parent_path(), shop.runtime.outputDirectory());
  EXPECT_TRUE(std::filesystem::exists(shop.runtime.lastPdf()));
  EXPECT_TRUE(pdfText(shop.runtime.lastPdf()).find("Stock Report") != std::string::npos);
  const std::string told = shop.dialogs.takeMessage();
  EXPECT_NE(told.find("was saved as a PDF file"), std::string::npos) << told;
}

}  // namespace
}  // namespace corvanta::test
