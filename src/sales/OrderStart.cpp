// The start of an order: after the customer was found, the sales table receives the pending
// line record of a new order, numbered one above every order number stored.
#include <cmath>
#include <optional>

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "data/numbers/Numbers.h"
#include "sales/CustomerChoiceForm.h"
#include "sales/PreSalesEntryForm.h"
#include "sales/SaleFigures.h"
#include "sales/SalesEntryForm.h"
#include "sales/SetFirstOrderNumberForm.h"

namespace corvanta {

namespace {

std::optional<double> orderNumberOf(const Value& v) {
  if (!std::holds_alternative<double>(v)) return std::nullopt;
  return std::get<double>(v);
}

// The highest order number of the billing records, read from the file without moving the
// billing window's cursor.
std::optional<double> highestBilled(Table& billing) {
  auto row = billing.file().last(*billing.def().findIndex(""));
  if (!row) return std::nullopt;
  return orderNumberOf(row->values[billing.def().fieldIndex("OrderNumber")]);
}

std::optional<double> higher(std::optional<double> a, std::optional<double> b) {
  if (a && b) return *a > *b ? a : b;
  return a ? a : b;
}

}  // namespace

void selectIndexOnce(Table& table, std::string_view name) {
  if (!equalsNoCase(table.indexName(), name)) table.selectIndex(name);
}

bool TSalesEntryForm::settleOrderInProgress() {
  auto& g = shop(app()).g;
  if (!lines_.empty()) {
    // The search moved the clients table to the new customer; the order being entered must
    // keep its own, or its billing record would name the wrong one.
    Table& clients = g.ClientDataModule->ClientsTable;
    if (customerRowid_ != 0 && clients.currentRowid() != customerRowid_)
      clients.moveToRowid(customerRowid_);
    app().dialogs().showMessage("Order " + OrderNumberDBEdit.text() +
                                " is still being entered: finish it or leave it first.");
    show();
    return false;
  }
  // Nothing of it is stored yet: its pending record goes without a trace (and is never
  // stored as a line by the index change that follows).
  Table& t = sales();
  if (t.state() == TableState::Insert) t.cancel();
  FormCreate();
  return true;
}

void TSalesEntryForm::insertPendingRecord(const std::string& orderNumber) {
  Table& t = sales();
  t.insert();
  // Texts after the insert: entering insert state resets the bound edits.
  OrderNumberDBEdit.setText(orderNumber);
  DateDBEdit.setText(shop(app()).writeDate());
  PickUpShipDBEdit.setText("PickUp");
  TypeofSaleDBEdit.setText("cash");
  lines_.clear();
  customerRowid_ = shop(app()).g.ClientDataModule->ClientsTable.currentRowid();
}

void TSalesEntryForm::StartOrder(OrderRoad road) {
  auto& g = shop(app()).g;
  if (!settleOrderInProgress()) return;
  // The order's lines and its end rely on this index and on the record the pending one is
  // inserted after: the last line in order number order, which holds the highest number of
  // the lines (empty numbers sort first).  An order whose lines were all deleted later keeps
  // its billing record, and its number is taken too.
  Table& t = sales();
  selectIndexOnce(t, "ByOrderNumber");
  t.last();
  const std::optional<double> highest =
      higher(orderNumberOf(t.bufferValue(t.def().fieldIndex("OrderNumber"))),
             highestBilled(g.ShippingBillingDataModule->ShippingBillingTable));
  if (!highest) {
    if (road == OrderRoad::CustomerGrid) g.CustomerChoiceForm->close();
    g.SetFirstOrderNumberForm->show();
    return;
  }
  // Two workstations on one database may read the same highest number at the same moment:
  // the number is reserved for this one, and the other is given the next.
  const std::string number =
      std::to_string(t.file().reserveNumber("OrderNumber", std::stoll(nextOrderNumber(*highest))));
  show();
  insertPendingRecord(number);
  g.PreSalesEntryForm->close();
  if (road == OrderRoad::CustomerGrid) g.CustomerChoiceForm->close();
}

bool TSalesEntryForm::StartFirstOrder(const std::string& orderNumber) {
  if (!settleOrderInProgress()) return false;
  // The typed number is reserved as the highest one is: another workstation starting its
  // own first order at the same moment with the same number is given the next.
  std::string number = orderNumber;
  double typed = 0;
  if (parseFloatStrict(orderNumber, typed) && typed == std::floor(typed) && typed >= 1 &&
      typed < 9e15) {
    const auto wanted = static_cast<std::int64_t>(typed);
    const std::int64_t given = sales().file().reserveNumber("OrderNumber", wanted);
    if (given != wanted) {
      number = std::to_string(given);
      app().dialogs().showMessage("Order number " + orderNumber +
                                  " was given to an order at another workstation; this order "
                                  "is number " +
                                  number + ".");
    }
  }
  show();
  insertPendingRecord(number);
  return true;
}

}  // namespace corvanta
