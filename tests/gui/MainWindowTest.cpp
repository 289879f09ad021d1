// The program's real main window, driven through its real buttons and edits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <utility>
#include <vector>

#include "GuiHarness.h"
#include "ui/Error.h"
#include "ui/Form.h"

namespace corvanta::test {
namespace {

int visibleWindows() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (dynamic_cast<FormWindow*>(w) && w->isVisible()) ++n;
  return n;
}

TEST(MainWindow, EachButtonShowsItsOneWindowAndBringsItBackToTheFront) {
  GuiShop shop;
  ASSERT_TRUE(shop.started()) << shop.boxes.join("\n").toStdString();
  EXPECT_TRUE(shop.window("CorvantaMainForm").isVisible());
  EXPECT_EQ(shop.app().mainForm()->showCount(), 1);
  EXPECT_FALSE(shop.window("SplashScreenForm").isVisible());
  EXPECT_EQ(visibleWindows(), 1);

  const std::vector<std::pair<std::string, std::string>> opens = {
      {"Morvane", "FormClients"},
      {"Talvesk", "InventoryForm"},
      {"SalesEntryForm", "PreSalesEntryForm"},
      {"cmdSearchEditOrder", "SearchEditOrderForm"},
      {"cmdShippingDatabaseManager", "ShippingForm"},
      {"cmdBilling", "BillingForm"},
      {"cmdSalesTax", "SetTaxRateForm"},
      {"cmdAbout", "AboutForm"},
  };
  for (const auto& [button, form] : opens) {
    SCOPED_TRACE(button);
    shop.press("CorvantaMainForm", button);
    EXPECT_TRUE(shop.app().form(form)->visible());
    EXPECT_TRUE(shop.window(form).isVisible());
    EXPECT_EQ(shop.app().form(form)->showCount(), 1);
    EXPECT_EQ(QApplication::activeWindow(), &shop.window(form));
  }
  EXPECT_EQ(visibleWindows(), 1 + static_cast<int>(opens.size()));

  // Pressed again, each comes to the front once more: the same window, not a second one.
  for (auto it = opens.rbegin(); it != opens.rend(); ++it) {
    SCOPED_TRACE(it->first);
    shop.press("CorvantaMainForm", it->first);
    EXPECT_EQ(shop.app().form(it->second)->showCount(), 2);
    EXPECT_EQ(QApplication::activeWindow(), &shop.window(it->second));
  }
  EXPECT_EQ(visibleWindows(), 1 + static_cast<int>(opens.size()));

  // A window closed with its close box is hidden and comes back on the next press.
  shop.window("AboutForm").close();
  QApplication::processEvents();
  EXPECT_FALSE(shop.app().form("AboutForm")->visible());
  EXPECT_FALSE(shop.window("AboutForm").isVisible());
  shop.press("AboutForm", "cmdOK");  // hidden: a click on a hidden button does nothing
  shop.press("CorvantaMainForm", "cmdAbout");
  EXPECT_TRUE(shop.window("AboutForm").isVisible());
  shop.press("AboutForm", "cmdOK");
  EXPECT_FALSE(shop.window("AboutForm").isVisible());

  // Without a printer the sales report is written as a PDF and the person told where; help
  // comes up in the help window.  Nothing else changes.
  shop.press("CorvantaMainForm", "PrintSalesReport");
  ASSERT_EQ(shop.boxes.size(), 1) << shop.boxes.join("\n").toStdString();
  EXPECT_TRUE(shop.boxes[0].startsWith("Corvanta: ")) << shop.boxes[0].toStdString();
  EXPECT_TRUE(shop.boxes[0].contains(".pdf")) << shop.boxes[0].toStdString();
  shop.press("CorvantaMainForm", "cmdHelp");
  EXPECT_EQ(shop.boxes.size(), 1) << shop.boxes.join("\n").toStdString();
  EXPECT_EQ(shop.app().helpFile(), "C:\\windows\\help\\Corvanta.HLP");
  EXPECT_FALSE(shop.app().terminated());
}

TEST(MainWindow, ExitAndTheCloseBoxEndTheApplication) {
  {
    // The program's own loop ends when Exit is pressed (a stuck loop is ended with 1).
    GuiShop shop;
    QTimer::singleShot(0, [&] { shop.press("CorvantaMainForm", "cmdClose"); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(shop.program().run(), 0);
    EXPECT_TRUE(shop.app().terminated());
    EXPECT_FALSE(shop.window("CorvantaMainForm").isVisible());
  }
  GuiShop shop;
  shop.window("CorvantaMainForm").close();
  QApplication::processEvents();
  EXPECT_TRUE(shop.app().terminated());
  EXPECT_TRUE(shop.boxes.isEmpty()) << shop.boxes.join("\n").toStdString();
}

TEST(MainWindow, AFileThatIsNoTableStopsStartUpWithItsName) {
  GuiShop shop([](const Engine& engine, const std::filesystem::path& dir) {
    engine.createMissingTables();
    std::ofstream(dir / "DatabaseFiles" / "clients.DB", std::ios::trunc) << "not a table\n";
  });
  EXPECT_FALSE(shop.started());
  EXPECT_TRUE(shop.app().terminated());
  ASSERT_EQ(shop.boxes.size(), 1);
  EXPECT_TRUE(shop.boxes[0].startsWith("Error: ")) << shop.boxes[0].toStdString();
  EXPECT_TRUE(shop.boxes[0].contains("clients.DB")) << shop.boxes[0].toStdString();
  EXPECT_FALSE(shop.window("CorvantaMainForm").isVisible());
}

// An error quoting a damaged name or a typed value shows whole in the real error box: a NUL
// in it neither ends the text nor vanishes.
TEST(MainWindow, TheErrorBoxShowsTheWholeTextOfAnError) {
  using namespace std::string_literals;
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  const std::string text = "Cannot open table 'sto\0ck.DB' <b>now</b>"s;
  EXPECT_FALSE(shop.app().dispatch([&] { throw Error(text); }));
  ASSERT_EQ(shop.boxes.size(), 1);
  EXPECT_EQ(shop.boxes[0].toStdString(), "Error: Cannot open table 'sto\u2400ck.DB' <b>now</b>");
}

TEST(SetTaxRate, RateTypedAndEnteredShowsOnTheMainWindowAtOnce) {
  GuiShop shop;
  auto* shown = shop.widget<QLineEdit>("CorvantaMainForm", "DBEdit1");
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->isReadOnly());
  EXPECT_EQ(shown->text(), "");

  shop.press("CorvantaMainForm", "cmdSalesTax");
  auto* edit = shop.widget<QLineEdit>("SetTaxRateForm", "Edit1");
  ASSERT_NE(edit, nullptr);
  QTest::keyClicks(edit, "8.5");
  QTest::keyClick(edit, Qt::Key_Return);
  settle();
  EXPECT_EQ(shown->text(), "8.50");
  EXPECT_FALSE(shop.app().form("SetTaxRateForm")->visible());
  EXPECT_FALSE(shop.window("SetTaxRateForm").isVisible());
  EXPECT_TRUE(shop.boxes.isEmpty()) << shop.boxes.join("\n").toStdString();

  // Reopened, the dialog keeps what was typed.  A text that is no number is refused with the
  // field's message, the dialog stays open and the rate in force stays.
  shop.press("CorvantaMainForm", "cmdSalesTax");
  EXPECT_EQ(edit->text(), "8.5");
  edit->selectAll();
  QTest::keyClicks(edit, "abc");
  QTest::keyClick(edit, Qt::Key_Return);
  settle();
  EXPECT_EQ(shop.boxes,
            QStringList{"Error: 'abc' is not a valid floating point value for field 'TaxRate'"});
  EXPECT_TRUE(shop.window("SetTaxRateForm").isVisible());
  EXPECT_EQ(shown->text(), "8.50");

  // Esc presses Cancel.
  QTest::keyClick(edit, Qt::Key_Escape);
  settle();
  EXPECT_FALSE(shop.window("SetTaxRateForm").isVisible());
  EXPECT_EQ(shown->text(), "8.50");
}

}  // namespace
}  // namespace corvanta::test
