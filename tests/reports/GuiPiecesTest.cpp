// The two windows of this layer on real Qt widgets (offscreen): the help window and the
// print preview.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QScrollBar>
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

TEST(ReportPreview, PaintsThePagesInAPrintPreview) {
  ReportTestShop shop(0);
  int painted = 0;
  QString caption;
  shop.runtime.setPreviewHook([&](const reports::PreviewRequest& r) {
    reports::PreviewRequest counted = r;
    counted.paint = [&](QPrinter& p) {
      ++painted;
      r.paint(p);
    };
    QTimer::singleShot(200, [&] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QPrintPreviewDialog*>(w); d && d->isVisible()) {
          caption = d->windowTitle();
          d->reject();
        }
    });
    showReportPreview(counted);
  });
  ReportRun run;
  run.component = "PreviewReport";
  run.reportName = "stock.rpt";
  run.directory = kReportDirectory;
  run.preview = true;
  shop.runtime.run(run);
  EXPECT_GE(painted, 1);
  EXPECT_EQ(caption, "Print Preview - Stock Report");
  EXPECT_TRUE(shop.dialogs.messages.empty());
}

}  // namespace
}  // namespace corvanta::test
