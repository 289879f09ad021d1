#include "orders/SearchEditOrderForm.h"

#include "app/CorvantaApp.h"
#include "data/ProcessingForm.h"
#include "data/engine/CommandRecord.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "inventory/InventoryForm.h"
#include "orders/ChangePriceForm.h"
#include "orders/CorrectionSteps.h"
#include "orders/OrderArithmetic.h"
#include "orders/SalesSearchForm.h"
#include "ui/Error.h"
#include "ui/FormLayout.h"

namespace corvanta {

namespace {

constexpr const char* kSaleInProgress =
    "An order is being entered in the Sales Entry Form. Finish it before correcting orders.";

// A stored value's text as a bound control shows it.
std::string storedText(const Table& t, const Row& row, std::string_view field) {
  const int i = t.def().fieldIndex(field);
  return displayTextOf(t.def().fields[i], row.values[i]);
}

double storedNumber(const Table& t, const Row& row, std::string_view field) {
  const Value& v = row.values[t.def().fieldIndex(field)];
  if (const double* d = std::get_if<double>(&v)) return *d;
  return 0;
}

}  // namespace

void SalesLineNavigator::bindDataSources(Application& app) {
  DBNavigator::bindDataSources(app);
  if (onStateChange) onStateChange();
}

void SalesLineNavigator::dataEvent(DataEvent event, const Field* field) {
  DBNavigator::dataEvent(event, field);
  if (event == DataEvent::StateChanged && onStateChange) onStateChange();
}

TSearchEditOrderForm::TSearchEditOrderForm(Application& app)
    : Form(app, "SearchEditOrderForm", "Search/ Edit Order Form") {
  layOut();
  DBNavigator1.onStateChange = [this] { followSaleInProgress(); };
  addHandler("cmdSearchClick", [this] { cmdSearchClick(); });
  addHandler("cmdChangePriceChargedClick", [this] { cmdChangePriceChargedClick(); });
  addHandler("cmdDeleteEntryClick", [this] { cmdDeleteEntryClick(); });
  addHandler("cmdDecreaseQuantitySoldClick", [this] { cmdDecreaseQuantitySoldClick(); });
  addHandler("cmdIncreaseQuantitySoldClick", [this] { cmdIncreaseQuantitySoldClick(); });
  addHandler("cmdHelpClick", [this] { cmdHelpClick(); });
  addHandler("cmdCancelClick", [this] { cmdCancelClick(); });
}

void TSearchEditOrderForm::layOut() {
  border = BorderStyle::Dialog;
  clientWidth = 600;
  clientHeight = 330;

  Panel1.setBounds(0, 0, 600, 222);
  layFieldRows({{DateLabel, DateDBEdit, 100},
                {OrderNumberLabel, OrderNumberDBEdit, 100},
                {CustomerNumberLabel, CustomerNumberDBEdit, 100},
                {PartNumberLabel, PartNumberDBEdit, 190},
                {QuantitySoldLabel, QuantitySoldDBEdit, 100},
                {PriceChargedLabel, PriceChargedDBEdit, 100},
                {TotalLabel, TotalDBEdit, 100}},
               {.labelLeft = 14, .labelWidth = 110, .fieldLeft = 128, .rowHeight = 29}, 10);
  Label1.setBounds(350, 13, 236, 20);
  std::pair<Label*, DBText*> prices[] = {{&RetailLabel, &DBText1},
                                         {&DiscountPrice1Label, &DBText2},
                                         {&DiscontPrice2Label, &DBText3},
                                         {&DiscountPrice3Label, &DBText4}};
  int y = 45;
  for (auto [label, text] : prices) {
    label->setBounds(362, y, 120, 20);
    text->setBounds(490, y, 90, 20);
    y += 29;
  }

  Panel2.setBounds(0, 222, 600, 108);
  DBNavigator1.setBounds(14, 12, 72, 30);
  cmdSearch.setBounds(100, 12, 150, 30);
  cmdChangePriceCharged.setBounds(260, 12, 170, 30);
  cmdDeleteEntry.setBounds(440, 12, 146, 30);
  cmdDecreaseQuantitySold.setBounds(100, 60, 150, 30);
  cmdIncreaseQuantitySold.setBounds(260, 60, 170, 30);
  cmdHelp.setBounds(440, 60, 68, 30);
  cmdHelp.glyph = Button::Glyph::Help;
  cmdCancel.setBounds(514, 60, 72, 30);
  cmdCancel.setKind(Button::Glyph::Close);
}

Table& TSearchEditOrderForm::sales() const {
  return shop(app()).g.SalesDataModule->SalesTable;
}
Table& TSearchEditOrderForm::stock() const {
  return shop(app()).g.DataModule2->InventoryTable1;
}
Table& TSearchEditOrderForm::billing() const {
  return shop(app()).g.ShippingBillingDataModule->ShippingBillingTable;
}

void TSearchEditOrderForm::followSaleInProgress() {
  const Table* t = DBNavigator1.link().table();
  const bool open = !t || t->state() != TableState::Insert;
  DBNavigator1.setEnabled(open);
  for (DBEdit* e : {&DateDBEdit, &OrderNumberDBEdit, &CustomerNumberDBEdit, &PartNumberDBEdit,
                    &QuantitySoldDBEdit, &PriceChargedDBEdit, &TotalDBEdit})
    e->setEnabled(open);
}

bool TSearchEditOrderForm::refusedDuringSale() {
  if (sales().state() != TableState::Insert) return false;
  app().dialogs().showMessage(kSaleInProgress);
  return true;
}

bool TSearchEditOrderForm::requireStoredLine() {
  if (refusedDuringSale()) return false;
  Table& t = sales();
  // On an empty table, entering edit state would start an insert and the correction would
  // store a line nobody sold.
  if (t.isEmpty()) throw Error("Cannot perform this operation on an empty dataset");
  return true;
}

bool TSearchEditOrderForm::findLineProduct(const std::string& partNumber) {
  Table& t = stock();
  // Moving the stock table would store the new item as it stands, half typed, or throw it
  // away when its part number is taken: the person entering it decides that.
  if (t.state() == TableState::Insert)
    throw Error(
        "A new stock item is being entered in the inventory window: save it or cancel it first");
  // The part number is the key of the stock table's primary index; the index a person chose
  // for the inventory window stays selected.
  std::optional<Row> row;
  if (!partNumber.empty()) row = t.file().findEqual(t.def().indexes.front(), partNumber);
  if (!row || !t.moveToRowid(row->rowid)) {
    app().dialogs().showMessage("Item Number not found !");
    return false;
  }
  return true;
}

bool TSearchEditOrderForm::findOrderBilling(const std::string& orderNumber) {
  Table& t = billing();
  t.selectIndex("");
  if (!t.findKey(orderNumber)) {
    app().dialogs().showMessage("Order Number not found !");
    return false;
  }
  return true;
}

void TSearchEditOrderForm::postTypedChange() {
  if (sales().state() == TableState::Edit) sales().post();
}

void TSearchEditOrderForm::cmdSearchClick() {
  if (refusedDuringSale()) return;
  shop(app()).g.SalesSearchForm->show();
}

void TSearchEditOrderForm::cmdChangePriceChargedClick() {
  if (!requireStoredLine()) return;
  if (!findLineProduct(PartNumberDBEdit.text())) return;
  shop(app()).g.ChangePriceForm->show();
}

void TSearchEditOrderForm::changeQuantitySold(int sign) {
  if (!requireStoredLine()) return;
  std::string typed;
  if (!app().dialogs().inputQuery("Decrease Quantity sold", "Enter Amount", typed) || typed.empty())
    return;
  postTypedChange();
  auto& g = shop(app()).g;
  TSalesProcessingForm& processing = *g.SalesProcessingForm;
  TInventoryForm& inventory = *g.InventoryForm;

  // Every lookup and every figure comes before the first change, so that a missing record or
  // a figure out of range leaves everything as it was.
  if (!findLineProduct(PartNumberDBEdit.text())) return;
  if (!findOrderBilling(OrderNumberDBEdit.text())) return;
  const std::int64_t amount = std::int64_t{readWholeNumber(typed)} * sign;
  const std::int32_t sold =
      movedQuantity(readWholeNumber(QuantitySoldDBEdit.text()), amount, "quantity sold");
  const std::int32_t inStock =
      movedQuantity(readWholeNumber(inventory.EditQuantity.text()), -amount, "stock quantity");
  LineFigures in;
  // The line's quantity as it reads once posted: the whole number, exactly.
  in.quantity = readNumber(writeWholeNumber(sold));
  in.price = readNumber(PriceChargedDBEdit.text());
  in.oldTotal = readNumber(TotalDBEdit.text());
  in.oldTax = readNumber(processing.TaxDBEdit.text());
  in.grandTotal = readNumber(processing.GrandTotalDBEdit.text());
  in.taxRate = readNumber(processing.SalesTaxDBEdit.text());
  in.totalTax = readNumber(processing.TotalTaxDBEdit.text());
  const LineRepricing out = repriceLine(in);

  Table& line = sales();
  Table& item = stock();
  Table& order = billing();
  // Four posts in three files, one command: every later value is recorded with the first
  // post, so that a crash part-way is finished at the next start.
  const std::string part = PartNumberDBEdit.text(), orderNumber = OrderNumberDBEdit.text();
  CommandRecord record("Decrease Quantity sold", "part " + part + " of order " + orderNumber +
                                                     ", quantity sold " + writeWholeNumber(sold));
  const int stockStep = record.plan(
      {.table = "stock.db",
       .rowid = item.currentRowid(),
       .fields = {{"Quantity", floatOfText(writeWholeNumber(inStock))}},
       .what = "the quantity in stock of part " + part + " set to " + writeWholeNumber(inStock),
       .from = {{"Quantity", item.fieldByName("Quantity").value()}}});
  const int orderStep = record.plan({"BillingShipping",
                                     order.currentRowid(),
                                     {{"GrandTotal", floatOfText(writeNumber(out.grandTotal))},
                                      {"TotalTax", floatOfText(writeNumber(out.totalTax))}},
                                     "the totals of order " + orderNumber});
  const int lineStep = record.plan(
      {"NewSales",
       line.currentRowid(),
       {{"Tax", floatOfText(writeNumber(out.tax))}, {"Total", floatOfText(writeNumber(out.total))}},
       "the tax and total of the line"});

  const CorrectionSteps steps{&line, &item, &order};
  line.edit();
  QuantitySoldDBEdit.setText(writeWholeNumber(sold));
  record.recordWithFirstPost(line);
  line.post();
  line.refresh();

  item.edit();
  inventory.EditQuantity.setText(writeWholeNumber(inStock));
  record.markWithPost(item, stockStep);
  item.post();

  order.edit();
  processing.GrandTotalDBEdit.setText(writeNumber(out.grandTotal));
  processing.TotalTaxDBEdit.setText(writeNumber(out.totalTax));
  record.markWithPost(order, orderStep);
  order.post();

  line.edit();
  processing.TaxDBEdit.setText(writeNumber(out.tax));
  TotalDBEdit.setText(writeNumber(out.total));
  record.markWithPost(line, lineStep);
  line.post();
}

void TSearchEditOrderForm::cmdDeleteEntryClick() {
  if (!requireStoredLine()) return;
  Table& line = sales();
  // The stored line, not a change typed into it: the delete discards such a change.
  const std::optional<Row> stored = line.file().byRowid(line.currentRowid());
  if (!stored) throw Error("Record/Key deleted.");
  const std::string part = storedText(line, *stored, "PartNumber");
  const std::string orderNumber = storedText(line, *stored, "OrderNumber");
  if (!app().dialogs().confirm(
          "Delete Entry", "Delete the line of part " + part + " from order " + orderNumber + "?"))
    return;

  if (!findLineProduct(part)) return;
  if (!findOrderBilling(orderNumber)) return;
  TInventoryForm& inventory = *shop(app()).g.InventoryForm;
  TSalesProcessingForm& processing = *shop(app()).g.SalesProcessingForm;
  const std::int32_t inStock =
      movedQuantity(readWholeNumber(inventory.EditQuantity.text()),
                    readWholeNumber(storedText(line, *stored, "QuantitySold")), "stock quantity");
  Table& order = billing();
  const OrderTotals totals = totalsWithoutLine(
      order.fieldByName("GrandTotal").asFloat(), order.fieldByName("TotalTax").asFloat(),
      storedNumber(line, *stored, "Total"), storedNumber(line, *stored, "Tax"));

  Table& item = stock();
  // Three files, one command: the later steps are recorded with the stock's post.
  CommandRecord record("Delete Entry", "the line of part " + part + " from order " + orderNumber);
  const int orderStep = record.plan({"BillingShipping",
                                     order.currentRowid(),
                                     {{"GrandTotal", floatOfText(writeNumber(totals.grandTotal))},
                                      {"TotalTax", floatOfText(writeNumber(totals.totalTax))}},
                                     "the totals of order " + orderNumber});
  PlannedUpdate removal{"NewSales", line.currentRowid(), {}, "the line deleted"};
  removal.remove = true;
  const int lineStep = record.plan(std::move(removal));

  const CorrectionSteps steps{&line, &item, &order};
  item.edit();
  inventory.EditQuantity.setText(writeWholeNumber(inStock));
  record.recordWithFirstPost(item);
  item.post();

  order.edit();
  processing.GrandTotalDBEdit.setText(writeNumber(totals.grandTotal));
  processing.TotalTaxDBEdit.setText(writeNumber(totals.totalTax));
  record.markWithPost(order, orderStep);
  order.post();

  record.markWithPost(line, lineStep);
  line.remove();
}

void TSearchEditOrderForm::cmdHelpClick() {
  app().setHelpFile("Corvanta.HLP");
  app().helpCommand(3, 0);
}

}  // namespace corvanta
