// The order correction window's commands at a decade's data, each as a person gives it, side by
// side with raw SQLite running the statements the command needs on the same files.
//
// Every command that writes is followed, in the same iteration, by raw SQLite putting the
// records back as they were with the same statements (the same lookups, the same updates, each
// its own durable transaction; an INSERT of the line where the delete removed it).  That raw
// restore is the baseline, and the tables keep their contents from one run to the next.
#include <chrono>
#include <memory>
#include <string>

#include "BenchData.h"
#include "Raw.h"
#include "WindowShop.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "orders/ChangePriceForm.h"
#include "orders/SalesSearchForm.h"
#include "orders/SearchEditOrderForm.h"

namespace corvanta::bench {

namespace {

Globals& g() {
  return windowShop().g();
}
Table& sales() {
  return g().SalesDataModule->SalesTable;
}
Table& stock() {
  return g().DataModule2->InventoryTable1;
}
Table& billing() {
  return g().ShippingBillingDataModule->ShippingBillingTable;
}
TSearchEditOrderForm& orderWindow() {
  return *g().SearchEditOrderForm;
}
const Keys& lineKeys() {
  return windowShop().source.keysOf("NewSales", "");
}

// Raw SQLite on the run's copy, with the statements prepared once.
struct RawOrders {
  RawDb salesDb{windowShop().file("NewSales")};
  RawDb stockDb{windowShop().file("stock.db")};
  RawDb billingDb{windowShop().file("BillingShipping")};
  RawStmt lineByOrder{salesDb,
                      selectAll("NewSales") + "WHERE OrderNumber = ?1 ORDER BY rowid LIMIT 1"};
  RawStmt lineByCustomer{salesDb,
                         selectAll("NewSales") + "WHERE CustNum = ?1 ORDER BY rowid LIMIT 1"};
  RawStmt nextLine{salesDb, selectAll("NewSales") +
                                "WHERE (OrderNumber, rowid) > (?1, ?2) "
                                "ORDER BY OrderNumber, rowid LIMIT 1"};
  RawStmt priorLine{salesDb, selectAll("NewSales") +
                                 "WHERE (OrderNumber, rowid) < (?1, ?2) "
                                 "ORDER BY OrderNumber DESC, rowid DESC LIMIT 1"};
  RawStmt lineByRowid{salesDb, selectAll("NewSales") + "WHERE rowid = ?1"};
  RawStmt itemByPart{stockDb, selectAll("stock.db") + "WHERE PartNumber = ?1"};
  RawStmt orderBill{billingDb, selectAll("BillingShipping") + "WHERE OrderNumber = ?1"};
  RawStmt setQuantitySold{salesDb, "UPDATE NewSales SET QuantitySold = ?1 WHERE rowid = ?2"};
  RawStmt setLineFigures{salesDb, "UPDATE NewSales SET Tax = ?1, Total = ?2 WHERE rowid = ?3"};
  RawStmt setLinePrice{salesDb,
                       "UPDATE NewSales SET Price = ?1, Total = ?2, Tax = ?3 WHERE rowid = ?4"};
  RawStmt setStock{stockDb, "UPDATE stock SET Quantity = ?1 WHERE rowid = ?2"};
  RawStmt setTotals{billingDb,
                    "UPDATE BillingShipping SET GrandTotal = ?1, TotalTax = ?2 WHERE rowid = ?3"};
  RawStmt insertLine{salesDb,
                     "INSERT INTO NewSales (Item, PartNumber, QuantitySold, Price, CustNum, "
                     "OrderNumber, Date, TypeOfSale, CreditCardNumber, CreditCardType, Tax, "
                     "Total, PickUpShip) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
                     "?12, ?13)"};
  std::vector<Value> row;
};

RawOrders& raw() {
  static std::unique_ptr<RawOrders> r;
  if (!r) r = std::make_unique<RawOrders>();
  return *r;
}

// The window as it opens from the main window: order number search chosen, lines in order
// number order, the dialogs closed, nothing pending.
void ordersHome() {
  sales().cancel();
  stock().cancel();
  billing().cancel();
  g().SalesSearchForm->close();
  g().SalesSearchForm->optOrderNumber.setChecked(true);
  g().ChangePriceForm->close();
  g().ChangePriceForm->optDiscountPrice1.setChecked(true);
  sales().selectIndex("byOrderNumber");
  orderWindow().show();
}

// A stored record of a table's file by its row id (outside the timing).
Row storedRow(Table& t, std::int64_t rowid) {
  auto row = t.file().byRowid(rowid);
  return row ? *row : Row{};
}
const Value& valueOf(Table& t, const Row& row, const char* field) {
  return row.values[static_cast<size_t>(t.def().fieldIndex(field))];
}

// Everything a correction of one line touches, as stored before it (outside the timing).
struct LineBefore {
  Row line, item, bill;
  bool complete = false;
};

LineBefore lineAt(size_t i) {
  LineBefore b;
  const auto rowid = std::get<std::int64_t>(lineKeys().typed[i % lineKeys().size()]);
  if (!sales().moveToRowid(rowid)) return b;
  b.line = storedRow(sales(), rowid);
  auto item = stock().file().findEqual(stock().def().indexes.front(),
                                       valueOf(sales(), b.line, "PartNumber"));
  auto bill = billing().file().findEqual(billing().def().indexes.front(),
                                         valueOf(sales(), b.line, "OrderNumber"));
  if (!item || !bill) return b;
  b.item = *item;
  b.bill = *bill;
  b.complete = true;
  return b;
}

// The lookups every correction starts with, raw.
void rawLookups(RawOrders& r, const LineBefore& b) {
  r.itemByPart.bind(1, valueOf(sales(), b.line, "PartNumber")).fetch(r.row);
  r.orderBill.bind(1, valueOf(sales(), b.line, "OrderNumber")).fetch(r.row);
}

void putTotalsBack(RawOrders& r, const LineBefore& b) {
  r.setTotals.bind(1, valueOf(billing(), b.bill, "GrandTotal"))
      .bind(2, valueOf(billing(), b.bill, "TotalTax"))
      .bind(3, b.bill.rowid)
      .run();
}

void searchOrder(benchmark::State& state, Figure& fig, bool found) {
  WindowShop& w = windowShop();
  RawOrders& r = raw();
  ordersHome();
  const Keys& keys = w.source.keysOf("NewSales", "ByOrderNumber");
  CommandTimer time(state, fig);
  RawTimer rawTime(rawFigure(fig));
  size_t i = 0;
  for (auto _ : state) {
    const size_t k = i++ % keys.size();
    // Past the last order number: a miss that still reaches the index's leaf pages.
    const std::string key = found ? keys.text[k] : keys.text[k] + "000";
    w.dialogs.queueAnswer(key);
    time([&] {
      orderWindow().cmdSearch.click();
      g().SalesSearchForm->cmdOK.click();
    });
    bool rawFound = false;
    rawTime([&] {
      rawFound = r.lineByOrder.bind(1, found ? keys.typed[k] : Value(std::stod(key))).fetch(r.row);
    });
    const std::vector<std::string> told = w.dialogs.takeMessages();
    const bool rightOutcome =
        found ? told.empty() : told == std::vector<std::string>{"Order Number not found !"};
    if (!w.quiet(state) || !expect(state, rawFound == found, "raw search disagrees") ||
        !expect(state, rightOutcome, "wrong search outcome"))
      break;
  }
  ordersHome();
}

void searchOrderFound(benchmark::State& s, Figure& f) {
  searchOrder(s, f, true);
}
void searchOrderNotFound(benchmark::State& s, Figure& f) {
  searchOrder(s, f, false);
}

void searchCustomer(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  RawOrders& r = raw();
  ordersHome();
  const Keys& keys = w.source.keysOf("NewSales", "byCustNum");
  CommandTimer time(state, fig);
  RawTimer rawTime(rawFigure(fig));
  size_t i = 0;
  for (auto _ : state) {
    const size_t k = i++ % keys.size();
    w.dialogs.queueAnswer(keys.text[k]);
    time([&] {
      orderWindow().cmdSearch.click();
      g().SalesSearchForm->optCustomerNumber.choose();
      g().SalesSearchForm->cmdOK.click();
    });
    bool rawFound = false;
    rawTime([&] { rawFound = r.lineByCustomer.bind(1, keys.typed[k]).fetch(r.row); });
    if (!w.quiet(state) || !expect(state, rawFound, "raw search found nothing")) break;
  }
  ordersHome();
}

void step(benchmark::State& state, Figure& fig, NavButton button) {
  WindowShop& w = windowShop();
  RawOrders& r = raw();
  ordersHome();
  CommandTimer time(state, fig);
  RawTimer rawTime(rawFigure(fig));
  RawStmt& rawStep = button == NavButton::Next ? r.nextLine : r.priorLine;
  size_t i = 0;
  for (auto _ : state) {
    const auto rowid = std::get<std::int64_t>(lineKeys().typed[i++ % lineKeys().size()]);
    sales().moveToRowid(rowid);
    const Value order = sales().fieldByName("OrderNumber").value();
    time([&] { orderWindow().DBNavigator1.click(button); });
    bool moved = false;
    rawTime([&] { moved = rawStep.bind(1, order).bind(2, rowid).fetch(r.row); });
    if (!w.quiet(state) ||
        !expect(state, !moved || sales().currentRowid() == std::get<std::int64_t>(r.row[0]),
                "raw step landed elsewhere"))
      break;
  }
  ordersHome();
}

void stepNext(benchmark::State& s, Figure& f) {
  step(s, f, NavButton::Next);
}
void stepPrior(benchmark::State& s, Figure& f) {
  step(s, f, NavButton::Prior);
}

// Decrease or Increase Quantity Sold by one; raw SQLite puts line, stock and totals back.
void changeQuantity(benchmark::State& state, Figure& fig, Button& command) {
  WindowShop& w = windowShop();
  RawOrders& r = raw();
  ordersHome();
  CommandTimer time(state, fig);
  RawTimer rawTime(rawFigure(fig));
  size_t i = 0;
  for (auto _ : state) {
    const LineBefore b = lineAt(i++);
    if (!b.complete) continue;
    w.dialogs.queueAnswer("1");
    time([&] { command.click(); });
    rawTime([&] {
      rawLookups(r, b);
      r.setQuantitySold.bind(1, valueOf(sales(), b.line, "QuantitySold"))
          .bind(2, b.line.rowid)
          .run();
      r.lineByRowid.bind(1, b.line.rowid).fetch(r.row);
      r.setStock.bind(1, valueOf(stock(), b.item, "Quantity")).bind(2, b.item.rowid).run();
      putTotalsBack(r, b);
      r.setLineFigures.bind(1, valueOf(sales(), b.line, "Tax"))
          .bind(2, valueOf(sales(), b.line, "Total"))
          .bind(3, b.line.rowid)
          .run();
    });
    // A refusal shows a message, which quiet() does not let pass.
    if (!w.quiet(state)) break;
  }
  ordersHome();
}

void decreaseQuantity(benchmark::State& s, Figure& f) {
  changeQuantity(s, f, orderWindow().cmdDecreaseQuantitySold);
}
void increaseQuantity(benchmark::State& s, Figure& f) {
  changeQuantity(s, f, orderWindow().cmdIncreaseQuantitySold);
}

// OK of the price change (Discount Price1), the dialog open on the line's product.
void changePrice(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  RawOrders& r = raw();
  ordersHome();
  CommandTimer time(state, fig);
  RawTimer rawTime(rawFigure(fig));
  size_t i = 0;
  for (auto _ : state) {
    const LineBefore b = lineAt(i++);
    if (!b.complete) continue;
    orderWindow().cmdChangePriceCharged.click();
    time([&] { g().ChangePriceForm->cmdOK.click(); });
    rawTime([&] {
      rawLookups(r, b);
      putTotalsBack(r, b);
      r.setLinePrice.bind(1, valueOf(sales(), b.line, "Price"))
          .bind(2, valueOf(sales(), b.line, "Total"))
          .bind(3, valueOf(sales(), b.line, "Tax"))
          .bind(4, b.line.rowid)
          .run();
    });
    // A refusal shows a message, which quiet() does not let pass.
    if (!w.quiet(state)) break;
  }
  ordersHome();
}

// Delete Entry, confirmed; raw SQLite writes the line back where it was, with stock and totals.
void deleteEntry(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  RawOrders& r = raw();
  ordersHome();
  CommandTimer time(state, fig);
  RawTimer rawTime(rawFigure(fig));
  size_t i = 0;
  for (auto _ : state) {
    const LineBefore b = lineAt(i++);
    if (!b.complete) continue;
    w.dialogs.queueConfirmation(true);
    time([&] { orderWindow().cmdDeleteEntry.click(); });
    rawTime([&] {
      rawLookups(r, b);
      r.setStock.bind(1, valueOf(stock(), b.item, "Quantity")).bind(2, b.item.rowid).run();
      putTotalsBack(r, b);
      r.insertLine.bind(1, b.line.rowid);
      for (size_t f = 1; f < b.line.values.size(); ++f)
        r.insertLine.bind(static_cast<int>(f + 1), b.line.values[f]);
      r.insertLine.run();
      r.nextLine.bind(1, valueOf(sales(), b.line, "OrderNumber"))
          .bind(2, b.line.rowid)
          .fetch(r.row);
    });
    // A refusal shows a message, which quiet() does not let pass.
    if (!w.quiet(state)) break;
  }
  ordersHome();
}

}  // namespace

void registerOrderCommands() {
  struct Command {
    const char* name;
    const char* label;
    int runs;
    void (*fn)(benchmark::State&, Figure&);
  };
  const Command commands[] = {
      {"Orders/SearchOrderFound", "Search by order number, found", 2000, searchOrderFound},
      {"Orders/SearchOrderNotFound", "Search by order number, not found", 2000,
       searchOrderNotFound},
      {"Orders/SearchCustomer", "Search by customer number, found", 2000, searchCustomer},
      {"Orders/NavigatorNext", "Navigator Next (order number order)", 3000, stepNext},
      {"Orders/NavigatorPrior", "Navigator Prior (order number order)", 3000, stepPrior},
      {"Orders/DecreaseQuantity", "Decrease Quantity Sold by 1", 1000, decreaseQuantity},
      {"Orders/IncreaseQuantity", "Increase Quantity Sold by 1", 1000, increaseQuantity},
      {"Orders/ChangePrice", "Change Price, Discount Price1, OK", 1000, changePrice},
      {"Orders/DeleteEntry", "Delete Entry, confirmed", 1000, deleteEntry},
  };
  for (const Command& c : commands) {
    registerCommand(c.name, c.label, c.runs, c.fn);
    rawFigure(figure(c.name, c.label));  // listed beside its command
  }
}

}  // namespace corvanta::bench
