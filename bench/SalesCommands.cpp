// The road of a sale at a decade's data (100,000 stock items, 50,000 clients, 2,000,000 order
// lines, 500,000 billing records): the order start, the price choice's Continue and the three
// ends of an order, each given through the window models as a person gives it, side by side
// with raw SQLite running the same statements on the same files.
//
// Each iteration times the command and its raw statements back to back, in alternating order,
// so that both meet the same disk and cache; what is not the command (finding a product,
// typing the quantity, selling the line an end of order needs) runs outside the timing.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "BenchData.h"
#include "Raw.h"
#include "WindowShop.h"
#include "data/engine/AutomaticBackup.h"
#include "data/engine/CommandRecord.h"
#include "data/engine/Table.h"
#include "data/engine/TableFile.h"
#include "data/modules/DataModules.h"
#include "sales/ChoosePriceForm.h"
#include "sales/PreSalesEntryCustomerSearchForm.h"
#include "sales/PreSalesEntryForm.h"
#include "sales/SalesEntryForm.h"

namespace corvanta::bench {

namespace {

Globals& g() {
  return windowShop().g();
}
TSalesEntryForm& entry() {
  return *g().SalesEntryForm;
}
Table& sales() {
  return g().SalesDataModule->SalesTable;
}
Table& stock() {
  return g().DataModule2->InventoryTable1;
}

double seconds(const std::chrono::steady_clock::time_point& t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Raw SQLite on the application's own files, through connections of its own.
struct RawShop {
  RawDb clientsDb{dynamic_cast<TableFile&>(g().ClientDataModule->ClientsTable.file()).path()};
  RawDb salesDb{dynamic_cast<TableFile&>(sales().file()).path()};
  RawDb stockDb{dynamic_cast<TableFile&>(stock().file()).path()};
  RawDb billingDb{
      dynamic_cast<TableFile&>(g().ShippingBillingDataModule->ShippingBillingTable.file()).path()};
  RawStmt findClient{clientsDb, selectAll("clients") + "WHERE CustNum = ?"};
  RawStmt lastSale{salesDb,
                   selectAll("NewSales") + "ORDER BY OrderNumber DESC, rowid DESC LIMIT 1"};
  RawStmt lastBilling{billingDb,
                      selectAll("BillingShipping") + "ORDER BY OrderNumber DESC LIMIT 1"};
  RawStmt insertLine{salesDb,
                     "INSERT INTO NewSales (PartNumber, QuantitySold, Price, CustNum, OrderNumber, "
                     "Date, TypeOfSale, CreditCardNumber, CreditCardType, Tax, Total, PickUpShip) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"};
  RawStmt deleteLine{salesDb, "DELETE FROM NewSales WHERE rowid = ?"};
  RawStmt saleByRowid{salesDb, selectAll("NewSales") + "WHERE rowid = ?"};
  RawStmt setQuantity{stockDb, "UPDATE stock SET Quantity = ? WHERE rowid = ?"};
  RawStmt stockByRowid{stockDb, selectAll("stock") + "WHERE rowid = ?"};
  RawStmt insertBilling{billingDb,
                        "INSERT INTO BillingShipping (OrderNumber, CustNum, Date, PaymentStatus, "
                        "ShippingCharge, GrandTotal, TotalTax, \"Credit Card Type\", "
                        "\"Credit Card Number\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"};
  RawStmt deleteBilling{billingDb, "DELETE FROM BillingShipping WHERE rowid = ?"};
  std::vector<Value> row;

  // The order start: the customer, then the highest order number of lines and of bills.
  void orderStart(const Value& customer) {
    findClient.bind(1, customer).fetch(row);
    lastSale.fetch(row);
    lastBilling.fetch(row);
  }
  // The Continue: the line stored, the stock quantity stored, the product read again.
  std::int64_t storeLine(std::int64_t stockRowid, double quantity) {
    insertLine.bind(1, Value(std::string("A100")))
        .bind(2, Value(1.0))
        .bind(3, Value(12.5))
        .bind(4, Value(1.0))
        .bind(5, Value(999999999.0))
        .bind(6, Value(std::string("12/8/26")))
        .bind(7, Value(std::string("cash")))
        .bind(8, Value{})
        .bind(9, Value{})
        .bind(10, Value(0.875))
        .bind(11, Value(12.5))
        .bind(12, Value(std::string("PickUp")))
        .run();
    const std::int64_t line = sqlite3_last_insert_rowid(salesDb.handle());
    setQuantity.bind(1, Value(quantity)).bind(2, stockRowid).run();
    stockByRowid.bind(1, stockRowid).fetch(row);
    return line;
  }
  // The end of an order: the last line read again, the billing record stored.
  std::int64_t storeBilling(std::int64_t lastLine, double orderNumber) {
    saleByRowid.bind(1, lastLine).fetch(row);
    insertBilling.bind(1, Value(orderNumber))
        .bind(2, Value(1.0))
        .bind(3, Value(std::string("12/8/26")))
        .bind(4, Value(std::string("recieved")))
        .bind(5, Value(0.0))
        .bind(6, Value(13.375))
        .bind(7, Value(0.875))
        .bind(8, Value{})
        .bind(9, Value{})
        .run();
    return sqlite3_last_insert_rowid(billingDb.handle());
  }
};

RawShop& raw() {
  static RawShop shop;
  return shop;
}

// No order in progress, the sales dialogs closed, the search on customer numbers.
void salesHome() {
  WindowShop& w = windowShop();
  if (entry().storedLineCount() > 0) w.dialogs.queueConfirmation(true);
  entry().Button1.click();
  g().ChoosePriceForm->close();
  g().PreSalesEntryCustomerSearchForm->optSearchCustNum.setChecked(true);
  g().PreSalesEntryCustomerSearchForm->close();
  g().PreSalesEntryForm->close();
}

const Keys& customers() {
  return windowShop().source.keysOf("clients.DB", "");
}
const Keys& parts() {
  return windowShop().source.keysOf("stock.db", "");
}

// The search dialog's OK with a customer number answered: the order start runs from it.
void startOrder(const std::string& customer) {
  WindowShop& w = windowShop();
  g().PreSalesEntryForm->show();
  g().PreSalesEntryForm->cmdContinue.click();
  w.dialogs.queueAnswer(customer);
  g().PreSalesEntryCustomerSearchForm->cmdOK.click();
}

// One line of a random product, quantity 1, up to the price choice's Continue (not clicked).
void prepareLine(size_t i) {
  stock().selectIndex("");
  stock().findKey(parts().text[i % parts().size()]);
  entry().QuantityToOrderEdit.typeText("1");
  entry().QuantityToOrderEdit.leave();
  entry().cmdAddtoOrder.click();
}

void orderStart(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  Figure& rawFig = rawFigure(fig, "client by number, highest line, highest bill");
  salesHome();
  PairTimer time(state, fig, rawFig);
  size_t i = 0;
  for (auto _ : state) {
    const size_t k = (i++ * 7919) % customers().size();
    time([&] { startOrder(customers().text[k]); }, [&] { raw().orderStart(customers().typed[k]); });
    const bool started =
        sales().state() == TableState::Insert && !entry().OrderNumberDBEdit.text().empty();
    if (!w.quiet(state) || !expect(state, started, "no order started")) break;
    entry().Button1.click();  // left again at once: nothing stored
  }
  salesHome();
}

void priceContinue(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  Figure& rawFig = rawFigure(fig, "line inserted, stock quantity updated, product read");
  salesHome();
  startOrder(customers().text[0]);
  PairTimer time(state, fig, rawFig);
  std::vector<std::int64_t> rawLines;
  size_t i = 0;
  for (auto _ : state) {
    prepareLine(i * 31);
    ++i;
    const std::int64_t product = stock().currentRowid();
    const double quantity = stock().fieldByName("Quantity").asFloat();
    const size_t lines = entry().storedLineCount();
    time([&] { g().ChoosePriceForm->cmdContinue.click(); },
         [&] { rawLines.push_back(raw().storeLine(product, quantity - 1)); });
    const bool stored = entry().storedLineCount() == lines + 1 &&
                        sales().state() == TableState::Insert && !g().ChoosePriceForm->visible();
    if (!w.quiet(state) || !expect(state, stored, "line not stored")) break;
  }
  // The engine's lines go with Exit (their stock comes back); the raw ones are deleted.
  for (std::int64_t line : rawLines) raw().deleteLine.bind(1, line).run();
  salesHome();
}

// The Continue with its command record and without it, timed in the same iteration in
// alternating order, each after its own product was found and its quantity typed.
void continueRecordCost(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  Figure& plain = figure(fig.name + ".unrecorded", "Continue without the command record");
  fig.seconds.clear();
  plain.seconds.clear();
  salesHome();
  startOrder(customers().text[0]);
  size_t i = 0, turn = 0;
  const auto once = [&](bool recorded, double& took) {
    prepareLine(i++ * 31);
    const size_t lines = entry().storedLineCount();
    CommandRecord::setRecording(recorded);
    const auto t0 = std::chrono::steady_clock::now();
    g().ChoosePriceForm->cmdContinue.click();
    took = seconds(t0);
    CommandRecord::setRecording(true);
    return entry().storedLineCount() == lines + 1 && sales().state() == TableState::Insert;
  };
  for (auto _ : state) {
    double with = 0, without = 0;
    const bool stored = turn++ % 2 ? once(false, without) && once(true, with)
                                   : once(true, with) && once(false, without);
    state.SetIterationTime(with);
    fig.seconds.push_back(with);
    plain.seconds.push_back(without);
    if (!w.quiet(state) || !expect(state, stored, "line not stored")) break;
  }
  salesHome();
}

// The Continue while the day's automatic backup of the whole set runs on its thread, after 40
// Continues with no backup running.  A person's pace: a line every 50 ms.  Each iteration is
// one backup into a directory of its own; the backup's time is the iteration's.
void continueDuringBackup(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  Figure& idle = figure(fig.name + ".idle", "Continue, no backup running");
  fig.seconds.clear();
  idle.seconds.clear();
  salesHome();
  startOrder(customers().text[0]);
  size_t i = 0;
  bool stored = true;
  const auto once = [&](Figure& into) {
    prepareLine(i++ * 31);
    const size_t lines = entry().storedLineCount();
    const auto t0 = std::chrono::steady_clock::now();
    g().ChoosePriceForm->cmdContinue.click();
    into.seconds.push_back(seconds(t0));
    stored = stored && entry().storedLineCount() == lines + 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  };
  const std::filesystem::path root = w.file("stock.db").parent_path().parent_path() / "backups";
  int run = 0;
  for (auto _ : state) {
    // First the same pace with no backup running, after the disk has written out what the
    // run before left in the page cache (a backup's copy is written back after it ends).
    ::sync();
    for (int k = 0; k < 40; ++k) once(idle);
    EngineConfig config = w.engine().config();
    config.backups().automatic = true;
    config.backups().directory = root / std::to_string(run++);
    const Engine engine(config);
    const auto t0 = std::chrono::steady_clock::now();
    AutomaticBackup backup(engine);
    const bool started = backup.started();
    size_t during = 0;
    while (!backup.finished()) {
      once(fig);
      ++during;
    }
    backup.wait();
    state.SetIterationTime(seconds(t0));
    const auto failure = backup.takeFailure();
    if (failure) std::fprintf(stderr, "automatic backup failed: %s\n", failure->c_str());
    const bool backedUp = started && !failure && !backup.folder().empty();
    if (!stored) std::fprintf(stderr, "a line was not stored\n");
    std::filesystem::remove_all(config.backups().directory);
    if (!w.quiet(state) || !expect(state, backedUp && stored && during > 0, "no backup or line"))
      break;
  }
  std::filesystem::remove_all(root);
  salesHome();
}

void endOfOrder(benchmark::State& state, Figure& fig, Button& button, bool printed) {
  WindowShop& w = windowShop();
  Figure& rawFig = rawFigure(fig, fig.label + ": last line read, bill inserted");
  salesHome();
  PairTimer time(state, fig, rawFig);
  size_t i = 0;
  for (auto _ : state) {
    startOrder(customers().text[(i * 101) % customers().size()]);
    prepareLine(i * 17);
    g().ChoosePriceForm->cmdContinue.click();
    ++i;
    const std::int64_t lastLine = sales().currentRowid();
    const int runs = w.reports.runs;
    const size_t linesBefore = entry().storedLineCount();
    std::int64_t rawBill = 0;
    time([&] { button.click(); }, [&] { rawBill = raw().storeBilling(lastLine, 3e9 + i); });
    raw().deleteBilling.bind(1, rawBill).run();
    const bool ended = linesBefore == 1 && entry().storedLineCount() == 0 && !entry().visible() &&
                       w.reports.runs == runs + (printed ? 1 : 0);
    if (!w.quiet(state) || !expect(state, ended, "order not ended")) break;
  }
  salesHome();
}
void endWithoutPrint(benchmark::State& s, Figure& f) {
  endOfOrder(s, f, entry().cmdEndofOrderWOPrint, false);
}
void endPrintReciept(benchmark::State& s, Figure& f) {
  endOfOrder(s, f, entry().cmdEndofOrder, true);
}
void endPrintInvoice(benchmark::State& s, Figure& f) {
  endOfOrder(s, f, entry().cmdEndofOrder2, true);
}

}  // namespace

void registerSalesCommands() {
  registerCommand("Sales/OrderStart", "Order start: customer number searched, OK", 2000,
                  orderStart);
  registerCommand("Sales/PriceContinue", "Choose Price Form: Continue (a line stored)", 1000,
                  priceContinue);
  registerCommand("Sales/ContinueRecorded", "Continue with its command record", 1000,
                  continueRecordCost);
  registerCommand("Sales/ContinueDuringBackup", "Continue while the automatic backup runs", 3,
                  continueDuringBackup);
  registerCommand("Sales/EndOfOrderWOPrint", "End of Order w/o Printing Invoice/Reciept", 500,
                  endWithoutPrint);
  registerCommand("Sales/EndOfOrderPrintReciept", "Print Reciept (report recorded)", 500,
                  endPrintReciept);
  registerCommand("Sales/EndOfOrderPrintInvoice", "Print Invoice (report recorded)", 500,
                  endPrintInvoice);
}

}  // namespace corvanta::bench
