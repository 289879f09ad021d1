// corvanta-screenshots DIR [FORM...]: starts the program on a fresh data directory, sets a
// tax rate through the real widgets and saves pictures of the main window, the about window,
// the set tax rate dialog and the splash into DIR, then of each FORM named (FORM.png), so
// that a window's look can be checked.  "sale-printouts" keeps the receipt and the invoice of
// the sale that pictures the sales windows, as PDF files; "services" pictures the help window,
// the open-file dialog and the print preview of the stock report.  Run it under xvfb-run for the
// desktop's fonts, on a screen of 1366x768 (scripts/screenshots.sh).
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <cstdio>
#include <set>
#include <string>

#include "GuiHarness.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "gui/HelpWindow.h"
#include "inventory/InventoryForm.h"
#include "sales/SalesEntryForm.h"
#include "sales/SetFirstOrderNumberForm.h"
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

// A few stock items and customers, so that the windows are seen as a shop sees them.
void seedShop(corvanta::CorvantaApp& app) {
  using corvanta::Table;
  Table& stock = app.g.DataModule2->InventoryTable1;
  const char* items[][8] = {
      {"A100", "Claw hammer, 16 oz", "12.50", "24", "6", "11.75", "11.00", "10.25"},
      {"B200", "Wood screws #8, box of 100", "5.00", "3", "10", "4.75", "4.50", "4.25"},
      {"C310", "Tape measure, 25 ft", "9.99", "15", "5", "9.49", "8.99", "8.49"},
      {"D420", "Cordless drill, 18 V", "89.00", "4", "2", "84.00", "79.00", "75.00"},
      {"E505", "Paint roller kit", "14.25", "11", "4", "13.50", "12.75", "12.00"}};
  for (auto& it : items) {
    stock.insert();
    const char* fields[] = {"PartNumber",     "Description",     "Price",
                            "Quantity",       "MinimumQuantity", "DiscountPrice1",
                            "DiscountPrice2", "DiscountPrice3"};
    for (int i = 0; i < 8; ++i) stock.fieldByName(fields[i]).setText(it[i]);
    stock.fieldByName("Category").setText("Hardware");
    stock.post();
  }
  stock.first();
  Table& clients = app.g.ClientDataModule->ClientsTable;
  const char* people[][8] = {
      {"Doe", "Jane", "12 Elm Street", "Springfield", "IL", "62701", "217", "555-0100"},
      {"Baker", "Bob", "4 Mill Road", "Riverton", "WY", "82501", "307", "555-0199"},
      {"Smith", "Ann", "77 Oak Avenue", "Fairview", "OR", "97024", "503", "555-0123"}};
  for (auto& p : people) {
    clients.insert();
    const char* fields[] = {"LastName", "FirstName", "Street",    "City",
                            "State",    "Zip",       "Area Code", "Phone"};
    for (int i = 0; i < 8; ++i) clients.fieldByName(fields[i]).setText(p[i]);
    clients.post();
  }
  clients.first();
}

// Two orders of three lines, completed with their billing records, for the order windows.
void seedOrders(corvanta::CorvantaApp& app) {
  using corvanta::Table;
  Table& sales = app.g.SalesDataModule->SalesTable;
  const char* lines[][8] = {{"1001", "1", "3/4/97", "A100", "2", "12.50", "25.00", "2.13"},
                            {"1001", "1", "3/4/97", "C310", "1", "9.99", "9.99", "0.85"},
                            {"1002", "2", "3/5/97", "D420", "1", "84.00", "84.00", "7.14"}};
  for (auto& l : lines) {
    sales.insert();
    const char* fields[] = {"OrderNumber",  "CustNum", "Date",  "PartNumber",
                            "QuantitySold", "Price",   "Total", "Tax"};
    for (int i = 0; i < 8; ++i) sales.fieldByName(fields[i]).setText(l[i]);
    sales.fieldByName("TypeOfSale").setText("cash");
    sales.fieldByName("PickUpShip").setText("PickUp");
    sales.post();
  }
  sales.first();
  Table& billing = app.g.ShippingBillingDataModule->ShippingBillingTable;
  const char* bills[][5] = {{"1001", "1", "3/4/97", "37.97", "2.98"},
                            {"1002", "2", "3/5/97", "91.14", "7.14"}};
  for (auto& b : bills) {
    billing.insert();
    const char* fields[] = {"OrderNumber", "CustNum", "Date", "GrandTotal", "TotalTax"};
    for (int i = 0; i < 5; ++i) billing.fieldByName(fields[i]).setText(b[i]);
    billing.fieldByName("PaymentStatus").setText("Paid");
    billing.post();
  }
  // The first line's product is the stock item on show, as after a correction.
  app.g.DataModule2->InventoryTable1.findKey("A100");
}

// Orders after the sale: one paid at the counter, one shipped, one paid by card.
void seedBilling(corvanta::CorvantaApp& app) {
  using corvanta::Table;
  Table& billing = app.g.ShippingBillingDataModule->ShippingBillingTable;
  const char* orders[][13] = {
      {"1003", "1", "3/6/97", "recieved", "3/6/97", "", "", "", "0", "27.06", "2.06", "", ""},
      {"1004", "2", "3/7/97", "", "", "Ann", "3/8/97", "Parcel post", "7.50", "104.79", "7.29", "",
       ""},
      {"1005", "3", "3/9/97", "recieved", "3/9/97", "", "", "", "", "15.46", "1.22", "Visa",
       "4111111111111111"}};
  for (auto& o : orders) {
    billing.insert();
    for (int i = 0; i < 13; ++i) billing.fields()[i]->setText(o[i]);
    billing.post();
  }
  // The order that was shipped is on show.
  billing.findKey("1004");
}

// The PDF file the last box said a report was saved as, copied into DIR under `name`.
bool keepPdf(GuiShop& shop, const QString& dir, const char* name) {
  const QString box = shop.boxes.isEmpty() ? QString() : shop.boxes.takeLast();
  const qsizetype at = box.indexOf(":\n");
  const QString pdf = at < 0 ? QString() : box.mid(at + 2).section('\n', 0, 0);
  const QString target = QDir(dir).filePath(name);
  QFile::remove(target);
  if (pdf.isEmpty() || !QFile::copy(pdf, target)) {
    std::fprintf(stderr, "no PDF for %s: %s\n", name, qPrintable(box));
    return false;
  }
  std::printf("%s\n", qPrintable(target));
  return true;
}

// The sales windows are pictured along a sale, through the real widgets: the find-customer
// dialog, the search, the grid of a last-name search, the price choice over the order window
// with one line sold, and the first order number dialog.  Only the windows asked for are saved.
bool pictureSale(GuiShop& shop, const QString& dir, const std::set<std::string>& wanted) {
  bool ok = true;
  auto picture = [&](const char* form) {
    if (wanted.count(form))
      ok &= save(shop.window(form), dir, (std::string(form) + ".png").c_str());
  };
  shop.press("CorvantaMainForm", "SalesEntryForm");
  picture("PreSalesEntryForm");
  shop.press("PreSalesEntryForm", "cmdContinue");
  picture("PreSalesEntryCustomerSearchForm");
  shop.answers << "Smith";
  shop.press("PreSalesEntryCustomerSearchForm", "cmdOK");
  // The search's input box is part of the road, not a box that went wrong.
  shop.boxes.removeAll("Search: Enter Last Name to Search for");
  picture("CustomerChoiceForm");
  shop.press("CustomerChoiceForm", "cmdOK");
  auto* quantity = shop.widget<QLineEdit>("SalesEntryForm", "QuantityToOrderEdit");
  QTest::keyClicks(quantity, "2");
  shop.press("SalesEntryForm", "cmdAddtoOrder");
  shop.press("ChoosePriceForm", "cmdContinue");
  shop.app().g.SalesEntryForm->DBNavigator1.click(corvanta::NavButton::Next);
  settle();
  QTest::keyClicks(quantity, "1");
  picture("SalesEntryForm");
  shop.press("SalesEntryForm", "cmdAddtoOrder");
  picture("ChoosePriceForm");
  shop.press("ChoosePriceForm", "BitBtn1");
  // The order is finished with a second line and a printed receipt, and its invoice printed
  // too; both PDF files are kept beside the pictures (sale-receipt.pdf, sale-invoice.pdf).
  if (wanted.count("sale-printouts")) {
    shop.press("SalesEntryForm", "cmdAddtoOrder");
    QTest::mouseClick(shop.widget<QRadioButton>("ChoosePriceForm", "OptDiscountPrice1"),
                      Qt::LeftButton);
    shop.press("ChoosePriceForm", "cmdContinue");
    const std::string order =
        shop.widget<QLineEdit>("SalesEntryForm", "OrderNumberDBEdit")->text().toStdString();
    const std::string customer =
        shop.widget<QLineEdit>("SalesEntryForm", "CustomerNumberDBEdit")->text().toStdString();
    shop.press("SalesEntryForm", "cmdEndofOrder");
    ok &= keepPdf(shop, dir, "sale-receipt.pdf");
    shop.app().g.SalesEntryForm->InvoiceReport.Run({{"OrderNumber", order}, {"CustNum", customer}});
    settle();
    ok &= keepPdf(shop, dir, "sale-invoice.pdf");
  }
  auto& first = *shop.app().g.SetFirstOrderNumberForm;
  first.Edit1.setText("1001");
  first.show();
  picture("SetFirstOrderNumberForm");
  first.close();
  return ok;
}

// The program's services as the inventory window reaches them: its help (the help window),
// and Print Preview, which asks for the report definition (the open-file dialog) and shows
// the stock report (the print preview).
bool pictureServices(GuiShop& shop, const QString& dir) {
  bool ok = true;
  shop.app().g.InventoryForm->show();
  settle();
  shop.press("InventoryForm", "cmdHelp");
  corvanta::HelpWindow* help = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* h = dynamic_cast<corvanta::HelpWindow*>(w); h && h->isVisible()) help = h;
  if (!help) {
    std::fprintf(stderr, "no help window\n");
    ok = false;
  } else {
    ok &= save(*help, dir, "help-window.png");
    help->close();
  }

  bool sawDialog = false, sawPreview = false;
  shop.onModal = [&](QWidget* modal) {
    if (auto* files = qobject_cast<QFileDialog*>(modal)) {
      QTest::qWait(400);  // the folder's files are listed in the background
      ok &= save(*files, dir, "open-file-dialog.png");
      sawDialog = true;
      static_cast<QDialog*>(files)->accept();  // on the definition it offers, stock.rpt
      return true;
    }
    if (auto* preview = qobject_cast<QDialog*>(modal)) {
      ok &= save(*preview, dir, "print-preview.png");
      sawPreview = true;
      preview->reject();
      return true;
    }
    return false;
  };
  shop.press("InventoryForm", "cmdPrintPreview");
  shop.onModal = nullptr;
  if (!sawDialog || !sawPreview) {
    std::fprintf(stderr, "Print Preview showed %s\n",
                 sawDialog ? "no preview" : "no open-file dialog");
    ok = false;
  }
  shop.app().g.InventoryForm->close();
  return ok;
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

  seedShop(shop.app());
  seedOrders(shop.app());
  seedBilling(shop.app());
  const std::set<std::string> salesWindows = {
      "PreSalesEntryForm",  "PreSalesEntryCustomerSearchForm",
      "CustomerChoiceForm", "SalesEntryForm",
      "ChoosePriceForm",    "SetFirstOrderNumberForm",
      "sale-printouts"};
  std::set<std::string> sale;
  for (int i = 2; i < argc; ++i) {
    if (std::string(argv[i]) == "services") {
      ok &= pictureServices(shop, dir);
      continue;
    }
    if (salesWindows.count(argv[i])) {
      sale.insert(argv[i]);
      continue;
    }
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
  if (!sale.empty()) ok &= pictureSale(shop, dir, sale);
  if (!shop.boxes.isEmpty())
    std::fprintf(stderr, "unexpected boxes: %s\n", qPrintable(shop.boxes.join(" / ")));
  return ok && shop.boxes.isEmpty() ? 0 : 1;
}
