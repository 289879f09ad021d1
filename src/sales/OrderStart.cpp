// The start of an order: after the customer was found, the sales table receives the pending
// line record of a new order, numbered one above every order number stored.
#include <optional>

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "sales/CustomerChoiceForm.h"
#include "sales/PreSalesEntryForm.h"
#include "sales/SaleFigures.h"
#include "sales/SalesEntryForm.h"
#include "sales/SetFirstOrderNumberForm.h"

namespace corvanta {

namespace {

// The highest order number in one table, read from its file without moving the shared cursor
// (empty numbers sort first, so the last entry holds the highest if any has one).
std::optional<double> highestIn(Table& table, const char* index) {
  const IndexDef& ix = *table.def().findIndex(index);
  auto row = table.file().last(ix);
  if (!row) return std::nullopt;
  const Value& v = row->values[table.def().fieldIndex("OrderNumber")];
  if (!std::holds_alternative<double>(v)) return std::nullopt;
  return std::get<double>(v);
}

// The highest order number stored, over the order lines and the billing records: an order
// whose lines were all deleted later still has its billing record, and its number is taken.
std::optional<double> highestOrderNumber(const Globals& g) {
  std::optional<double> sales = highestIn(g.SalesDataModule->SalesTable, "ByOrderNumber");
  std::optional<double> billing = highestIn(g.ShippingBillingDataModule->ShippingBillingTable, "");
  if (sales && billing) return *sales > *billing ? *sales : *billing;
  return sales ? sales : billing;
}

}  // namespace

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
  const std::optional<double> highest = highestOrderNumber(g);
  if (!highest) {
    if (road == OrderRoad::CustomerGrid) g.CustomerChoiceForm->close();
    g.SetFirstOrderNumberForm->show();
    return;
  }
  const std::string number = nextOrderNumber(*highest);
  show();
  // The order's lines and its end rely on this index and on the record the pending one was
  // inserted after.
  Table& t = sales();
  t.selectIndex("ByOrderNumber");
  t.last();
  insertPendingRecord(number);
  g.PreSalesEntryForm->close();
  if (road == OrderRoad::CustomerGrid) g.CustomerChoiceForm->close();
}

bool TSalesEntryForm::StartFirstOrder(const std::string& orderNumber) {
  if (!settleOrderInProgress()) return false;
  show();
  insertPendingRecord(orderNumber);
  return true;
}

}  // namespace corvanta
