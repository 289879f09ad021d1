#include "billing/BillingRecord.h"

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "reports/ReportComponent.h"
#include "ui/Error.h"

namespace corvanta {

Table& billingTable(Application& app) {
  TShippingBillingDataModule* module = shop(app).g.ShippingBillingDataModule;
  if (!module) throw Error("Cannot perform this operation on a closed dataset");
  return module->ShippingBillingTable;
}

void requireBillingRecord(Table& billing) {
  if (billing.isEmpty()) throw Error("Cannot perform this operation on an empty dataset");
}

std::optional<std::string> storedText(Table& billing, const std::string& fieldName) {
  if (!billing.active() || billing.isEmpty() || billing.state() == TableState::Insert)
    return std::nullopt;
  const std::optional<Row> row = billing.file().byRowid(billing.currentRowid());
  if (!row) return std::nullopt;
  const Field& field = billing.fieldByName(fieldName);
  return displayTextOf(field.def(), row->values[field.index()]);
}

void printOrderOnShow(Application& app, ReportComponent& report) {
  Table& billing = billingTable(app);
  // The order as the files hold it: the report reads the files, and a number half-typed into
  // the window must not print somebody else's order.
  const std::optional<std::string> order = storedText(billing, "OrderNumber");
  if (!order || order->empty()) {
    app.dialogs().showMessage(kNoOrderToPrint);
    return;
  }
  report.Run({{"OrderNumber", *order}, {"CustNum", *storedText(billing, "CustNum")}});
}

}  // namespace corvanta
