// The program used with the keyboard alone, through the real widgets: focus where the typing
// goes, Tab through grids, dialogs that stay with their window, F1, and the question at Exit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QWindow>

#include "GuiHarness.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "gui/HelpWindow.h"
#include "sales/SalesEntryForm.h"

namespace corvanta::test {
namespace {

QWidget* focused() {
  return QApplication::focusWidget();
}

// Keys go where the focus is, as a person's keys do.
void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  ASSERT_NE(focused(), nullptr) << "a key pressed with the focus nowhere";
  QTest::keyClick(focused(), k, mods);
  settle();
}

void typeKeys(const QString& text) {
  ASSERT_NE(focused(), nullptr) << "typing with the focus nowhere";
  QTest::keyClicks(focused(), text);
  settle();
}

// An accelerator (Alt+letter) clicks its button after the button's short press animation.
void accelerator(Qt::Key letter) {
  key(letter, Qt::AltModifier);
  QTest::qWait(200);
  settle();
}

QString focusName() {
  return focused() ? focused()->objectName() : QStringLiteral("(nothing)");
}

TEST(Keyboard, AnItemIsAddedAndEditedWithTheKeyboardAlone) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  // The main window opens on its first button; Tab and Space open the inventory.
  EXPECT_EQ(focusName(), "Morvane");
  key(Qt::Key_Tab);
  EXPECT_EQ(focusName(), "Talvesk");
  key(Qt::Key_Space);
  ASSERT_EQ(QApplication::activeWindow(), &shop.window("InventoryForm"));

  accelerator(Qt::Key_A);  // Add Item: the typing goes into the part number at once
  EXPECT_EQ(focusName(), "EditItemNumber");
  typeKeys("H200");
  key(Qt::Key_Tab);
  EXPECT_EQ(focusName(), "EditDescription");
  typeKeys("Hand saw");
  key(Qt::Key_Tab);
  typeKeys("19.5");
  accelerator(Qt::Key_V);  // Save Entry
  Table& stock = shop.app().g.DataModule2->InventoryTable1;
  EXPECT_EQ(stock.state(), TableState::Browse);
  EXPECT_EQ(stock.recordCount(), 1);
  EXPECT_EQ(stock.fieldByName("PartNumber").displayText(), "H200");
  EXPECT_EQ(stock.fieldByName("Description").displayText(), "Hand saw");
  EXPECT_EQ(stock.fieldByName("Price").displayText(), "19.50");

  // Edit Entry: the first field again, its text selected, so typing replaces it.
  accelerator(Qt::Key_E);
  EXPECT_EQ(focusName(), "EditItemNumber");
  typeKeys("H201");
  accelerator(Qt::Key_V);
  EXPECT_EQ(stock.fieldByName("PartNumber").displayText(), "H201");
  EXPECT_EQ(stock.recordCount(), 1);
  EXPECT_TRUE(shop.boxes.isEmpty()) << shop.boxes.join("\n").toStdString();
}

TEST(Keyboard, ACustomerIsAddedWithTheKeyboardAloneAndTabLeavesTheGrid) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  key(Qt::Key_Return);  // the focused first button: the clients window
  ASSERT_EQ(QApplication::activeWindow(), &shop.window("FormClients"));
  accelerator(Qt::Key_A);  // Add New Customer
  EXPECT_EQ(focusName(), "DBEdit1");
  typeKeys("Doe");
  key(Qt::Key_Tab);
  EXPECT_EQ(focusName(), "DBEdit2");
  typeKeys("Jane");
  accelerator(Qt::Key_R);  // Save Record
  Table& clients = shop.app().g.ClientDataModule->ClientsTable;
  EXPECT_EQ(clients.state(), TableState::Browse);
  EXPECT_EQ(clients.fieldByName("CustNum").displayText(), "1");
  EXPECT_EQ(clients.fieldByName("LastName").displayText(), "Doe");
  EXPECT_EQ(clients.fieldByName("FirstName").displayText(), "Jane");

  // Tab and Shift+Tab leave the grid for the controls around it instead of walking its cells.
  auto* grid = shop.widget<QTableView>("FormClients", "DBGrid1");
  ASSERT_NE(grid, nullptr);
  grid->setFocus(Qt::MouseFocusReason);
  settle();
  ASSERT_EQ(focused(), grid);
  key(Qt::Key_Tab);
  EXPECT_NE(focused(), grid);
  EXPECT_EQ(focused()->window(), &shop.window("FormClients"));
  key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(focused(), grid);
  key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_NE(focused(), grid);
  EXPECT_TRUE(shop.boxes.isEmpty()) << shop.boxes.join("\n").toStdString();
}

TEST(Keyboard, ASearchDialogStaysAboveItsWindowAndEnterRunsTheChosenOption) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  shop.press("CorvantaMainForm", "Talvesk");
  for (const char* part : {"A100", "B200"}) {
    accelerator(Qt::Key_A);
    typeKeys(part);
    accelerator(Qt::Key_V);
  }
  accelerator(Qt::Key_S);  // Search
  FormWindow& search = shop.window("SearchForm");
  FormWindow& inventory = shop.window("InventoryForm");
  ASSERT_TRUE(search.isVisible());
  // Kept above the inventory window by the window manager, yet not modal.
  ASSERT_NE(search.windowHandle(), nullptr);
  EXPECT_EQ(search.windowHandle()->transientParent(), inventory.windowHandle());
  EXPECT_EQ(search.windowType(), Qt::Dialog);
  EXPECT_EQ(search.windowModality(), Qt::NonModal);
  // The focus is on the chosen option, so Enter runs it.
  EXPECT_EQ(focusName(), "optSearchItemNumber");
  shop.answers << "A100";
  key(Qt::Key_Return);
  ASSERT_EQ(shop.boxes.size(), 1) << shop.boxes.join("\n").toStdString();
  EXPECT_TRUE(shop.boxes[0].contains("Part Number"));
  EXPECT_EQ(shop.app().g.DataModule2->InventoryTable1.fieldByName("PartNumber").displayText(),
            "A100");

  // Windows opened from the main window are windows of their own.
  shop.press("CorvantaMainForm", "Morvane");
  FormWindow& clients = shop.window("FormClients");
  EXPECT_EQ(clients.windowType(), Qt::Window);
  EXPECT_EQ(clients.windowHandle()->transientParent(), nullptr);
}

TEST(Keyboard, F1ShowsTheWindowsHelpInAWindowThatFitsTheScreen) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  shop.press("CorvantaMainForm", "Talvesk");
  key(Qt::Key_F1);
  EXPECT_EQ(shop.app().helpFile(), "C:\\windows\\help\\Inventory.HLP");
  HelpWindow* help = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* h = dynamic_cast<HelpWindow*>(w); h && h->isVisible()) help = h;
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(help->geometry()));

  // The inventory menu draws its separators as lines, never as a "-" item.
  auto* bar = shop.window("InventoryForm").findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  int separators = 0;
  for (QAction* top : bar->actions())
    if (top->menu())
      for (QAction* a : top->menu()->actions()) {
        EXPECT_NE(a->text(), "-");
        separators += a->isSeparator();
      }
  EXPECT_GE(separators, 2);
}

// A dialog the window manager keeps above `window`, while staying modeless.
void expectDialogOf(FormWindow& dialog, FormWindow& window) {
  ASSERT_TRUE(dialog.isVisible());
  ASSERT_NE(dialog.windowHandle(), nullptr);
  EXPECT_EQ(dialog.windowHandle()->transientParent(), window.windowHandle());
  EXPECT_EQ(dialog.windowType(), Qt::Dialog);
  EXPECT_EQ(dialog.windowModality(), Qt::NonModal);
}

TEST(Keyboard, ASaleIsEnteredWithTheKeyboardAloneAndThePriceChoiceStaysAboveIt) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  auto& g = shop.app().g;
  fill(g.ClientDataModule->ClientsTable, {{"LastName", "Doe"}, {"FirstName", "Jane"}});
  fill(g.SalesTaxDataModule->SalesTaxTable, {{"TaxRate", "7"}});
  Table& stock = g.DataModule2->InventoryTable1;
  fill(stock, {{"PartNumber", "A100"},
               {"Description", "Claw hammer"},
               {"Price", "12.5"},
               {"Quantity", "24"}});
  fill(g.SalesDataModule->SalesTable, {{"OrderNumber", "1005"}, {"PartNumber", "A100"}});

  key(Qt::Key_Tab);
  key(Qt::Key_Tab);
  EXPECT_EQ(focusName(), "SalesEntryForm");
  key(Qt::Key_Space);
  EXPECT_EQ(focusName(), "cmdContinue");  // the find-customer dialog: an existing customer
  key(Qt::Key_Return);
  EXPECT_EQ(focusName(), "optSearchLastName");  // the chosen option of the customer search
  key(Qt::Key_Down);
  EXPECT_EQ(focusName(), "optSearchCustNum");
  shop.answers << "1";
  key(Qt::Key_Return);
  FormWindow& sale = shop.window("SalesEntryForm");
  ASSERT_TRUE(sale.isVisible());
  // The order's header is filled in already: the typing goes into the quantity.
  EXPECT_EQ(focusName(), "QuantityToOrderEdit");
  typeKeys("3");
  key(Qt::Key_Return);  // Add to Order
  FormWindow& price = shop.window("ChoosePriceForm");
  expectDialogOf(price, sale);
  EXPECT_EQ(focusName(), "OptRetailPrice");
  key(Qt::Key_Return);  // Continue
  EXPECT_FALSE(price.isVisible());
  EXPECT_EQ(stock.fieldByName("Quantity").displayText(), "21");
  // 3 x 12.50 and its tax at 7%.
  EXPECT_NEAR(static_cast<double>(g.SalesEntryForm->RunningGrandTotal.value()), 40.125, 1e-9);
  ASSERT_EQ(QApplication::activeWindow(), &sale);
  key(Qt::Key_F1);
  EXPECT_EQ(shop.app().helpFile(), "Corvanta.HLP");
  shop.boxes.removeAll("Search: Enter Customer Number to Search for");
  EXPECT_TRUE(shop.boxes.isEmpty()) << shop.boxes.join("\n").toStdString();
}

// The correction, billing and shipping windows show stored orders: they open on their first
// command, never in a field of the order on show, and the dialogs that change an order open
// above their window in the first field a person fills in, past the order number.
TEST(Keyboard, OrderWindowsOpenOnTheirFirstCommandAndTheirDialogsPastTheOrderNumber) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  auto& g = shop.app().g;
  fill(g.ClientDataModule->ClientsTable, {{"LastName", "Doe"}});
  fill(g.SalesDataModule->SalesTable,
       {{"OrderNumber", "1005"}, {"CustNum", "1"}, {"QuantitySold", "1"}, {"Date", "3/4/97"}});
  fill(g.ShippingBillingDataModule->ShippingBillingTable,
       {{"OrderNumber", "1005"}, {"CustNum", "1"}, {"Date", "3/4/97"}});

  const struct {
    const char* opener;  // the main window's button
    const char* window;
    const char* first;  // where the focus is when it opens
    const char* command;
    const char* dialog;
    const char* field;
  } roads[] = {
      {"cmdSearchEditOrder", "SearchEditOrderForm", "cmdSearch", "cmdSearch", "SalesSearchForm",
       "optOrderNumber"},
      {"cmdShippingDatabaseManager", "ShippingForm", "cmdEnterShippinginformation",
       "cmdEnterShippinginformation", "ShippingInformationForm", "DataShippedDBEdit"},
      {"cmdBilling", "BillingForm", "cmdEnterPaymentStatusDateRecieved",
       "cmdEnterPaymentStatusDateRecieved", "PaymentStatusDatePaymentRecievedForm",
       "PaymentStatusDBEdit"},
  };
  for (const auto& r : roads) {
    SCOPED_TRACE(r.window);
    shop.press("CorvantaMainForm", r.opener);
    FormWindow& window = shop.window(r.window);
    ASSERT_EQ(QApplication::activeWindow(), &window);
    EXPECT_EQ(focusName().toStdString(), r.first);
    key(Qt::Key_F1);
    EXPECT_NE(shop.app().helpFile().find("Corvanta.HLP"), std::string::npos);
    window.activateWindow();
    settle();
    shop.press(r.window, r.command);
    FormWindow& dialog = shop.window(r.dialog);
    expectDialogOf(dialog, window);
    EXPECT_EQ(focusName().toStdString(), r.field);
    key(Qt::Key_Escape);  // Cancel
    EXPECT_FALSE(dialog.isVisible());
    window.close();
    settle();
  }
  // The order number was never typed over.  (Cancel in the payment dialog leaves the record
  // in edit state, to be saved by the next move: that is the dialog's rule.)
  Table& billing = g.ShippingBillingDataModule->ShippingBillingTable;
  EXPECT_EQ(billing.fieldByName("OrderNumber").displayText(), "1005");
  EXPECT_TRUE(shop.boxes.isEmpty()) << shop.boxes.join("\n").toStdString();
}

TEST(Keyboard, TheTaxRateDialogSelectsTheOldRateSoTypingReplacesIt) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  auto* shown = shop.widget<QLineEdit>("CorvantaMainForm", "DBEdit1");
  ASSERT_NE(shown, nullptr);
  // The main window's rate takes no typing and looks it; Tab passes it by.
  EXPECT_TRUE(shown->isReadOnly());
  EXPECT_EQ(shown->palette().color(QPalette::Base), shown->palette().color(QPalette::Window));
  EXPECT_EQ(shown->focusPolicy() & Qt::TabFocus, 0);
  EXPECT_NE(shop.widget<QLineEdit>("FormClients", "DBEdit1")->palette().color(QPalette::Base),
            shown->palette().color(QPalette::Window))
      << "an edit that takes typing keeps the look of an input field";

  for (const char* rate : {"7.25", "8.5"}) {
    shop.press("CorvantaMainForm", "cmdSalesTax");
    EXPECT_EQ(focusName(), "Edit1");
    typeKeys(rate);
    key(Qt::Key_Return);
    EXPECT_FALSE(shop.window("SetTaxRateForm").isVisible());
  }
  EXPECT_EQ(shown->text(), "8.50");
  EXPECT_TRUE(shop.boxes.isEmpty()) << shop.boxes.join("\n").toStdString();
}

TEST(Keyboard, ExitWithUnsavedTypingAsksAndNoKeepsEverything) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  shop.press("CorvantaMainForm", "Morvane");
  accelerator(Qt::Key_A);
  typeKeys("Unfinished");  // still in the edit: not even in the record yet
  Table& clients = shop.app().g.ClientDataModule->ClientsTable;

  shop.replies << "No";
  shop.window("CorvantaMainForm").close();  // the close box
  settle();
  ASSERT_EQ(shop.boxes.size(), 1);
  EXPECT_TRUE(shop.boxes[0].startsWith("Exit: ")) << shop.boxes[0].toStdString();
  EXPECT_TRUE(shop.boxes[0].contains("a new customer")) << shop.boxes[0].toStdString();
  EXPECT_FALSE(shop.app().terminated());
  EXPECT_TRUE(shop.window("CorvantaMainForm").isVisible());
  EXPECT_EQ(clients.state(), TableState::Insert);
  EXPECT_EQ(shop.widget<QLineEdit>("FormClients", "DBEdit1")->text(), "Unfinished");

  shop.replies << "No";
  shop.press("CorvantaMainForm", "cmdClose");
  EXPECT_EQ(shop.boxes.size(), 2);
  EXPECT_FALSE(shop.app().terminated());

  // Saved, there is nothing to ask about.
  shop.press("FormClients", "cmdSaveRecord");
  EXPECT_EQ(clients.recordCount(), 1);
  shop.press("CorvantaMainForm", "cmdClose");
  EXPECT_EQ(shop.boxes.size(), 2) << shop.boxes.join("\n").toStdString();
  EXPECT_TRUE(shop.app().terminated());
}

TEST(Keyboard, ExitWithUnsavedTypingAnsweredYesEndsWithoutTheRecord) {
  GuiShop shop;
  ASSERT_TRUE(shop.started());
  shop.press("CorvantaMainForm", "Morvane");
  accelerator(Qt::Key_A);
  typeKeys("Unfinished");
  shop.replies << "Yes";
  shop.press("CorvantaMainForm", "cmdClose");
  ASSERT_EQ(shop.boxes.size(), 1);
  EXPECT_TRUE(shop.app().terminated());
  shop.program().shutdown();
  Table& clients = shop.app().g.ClientDataModule->ClientsTable;
  clients.open();
  EXPECT_EQ(clients.recordCount(), 0);
}

}  // namespace
}  // namespace corvanta::test
