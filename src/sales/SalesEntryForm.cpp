#include "sales/SalesEntryForm.h"

#include <map>

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "inventory/SearchForm.h"
#include "sales/ChoosePriceForm.h"
#include "sales/SaleFigures.h"

namespace corvanta {

TSalesEntryForm::TSalesEntryForm(Application& app)
    : Form(app, "SalesEntryForm", "Sales Entry Form"),
      RecieptReport1(shop(app).reports(), "RecieptReport1", "Reciept.rpt", kReportDirectory, false),
      InvoiceReport(shop(app).reports(), "InvoiceReport", "invoice.rpt", kReportDirectory, false) {
  layOut();
  addHandler("cmdFindProductClick", [this] { cmdFindProductClick(); });
  addHandler("cmdAddtoOrderClick", [this] { cmdAddtoOrderClick(); });
  addHandler("cmdHelpClick", [this] { cmdHelpClick(); });
  addHandler("Button1Click", [this] { Button1Click(); });
  addHandler("cmdEndofOrderWOPrintClick", [this] { cmdEndofOrderWOPrintClick(); });
  addHandler("cmdEndofOrderClick", [this] { cmdEndofOrderClick(); });
  addHandler("cmdEndofOrder2Click", [this] { cmdEndofOrder2Click(); });
  auto& variables = shop(app).variables;
  variables["RunningGrandTotal"] = [this] { return variableText(RunningGrandTotal); };
  variables["RunningTotalTax"] = [this] { return variableText(RunningTotalTax); };
  FormCreate();
}

void TSalesEntryForm::layOut() {
  border = BorderStyle::Dialog;
  clientWidth = 780;
  clientHeight = 430;

  // The order header on the left, the product on the right.
  auto row = [](Label& label, Edit& edit, int x, int y, int width) {
    label.setBounds(x, y + 3, 135, 20);
    edit.setBounds(x + 140, y, width, 24);
  };
  row(DateLabel, DateDBEdit, 12, 12, 100);
  row(OrderNumberLabel, OrderNumberDBEdit, 12, 44, 100);
  row(CustomerNumberLabel, CustomerNumberDBEdit, 12, 76, 100);
  row(PickupShipLabel, PickUpShipDBEdit, 12, 108, 100);
  row(TypeofSaleLabel, TypeofSaleDBEdit, 12, 140, 120);
  Label1.setBounds(152, 166, 220, 18);
  row(CreditCardNumberLabel, CreditCardNumberDBEdit, 12, 190, 180);
  row(CreditCardTypeLabel, CreditCardTypeDBEdit, 12, 222, 220);

  row(ProductLabel, PartNumberDBEdit, 400, 12, 220);
  row(ProductDescriptionLabel, ProductDescriptionDBEdit, 400, 44, 220);
  row(PriceLabel, InventoryPriceDBEdit, 400, 76, 90);
  row(DiscountPrice1Label, InventoryDiscountPrice1DBEdit, 400, 108, 90);
  row(DiscountPrice2Label, InventoryDiscountPrice2DBEdit, 400, 140, 90);
  row(DiscountPrice3Label, InventoryDiscountPrice3DBEdit, 400, 172, 90);
  row(QuantityInStockLabel, ProductQuantityInStockDBEdit, 400, 204, 90);
  DBNavigator1.setBounds(540, 236, 80, 26);
  row(QuantityLabel, QuantityToOrderEdit, 400, 270, 90);

  cmdFindProduct.setBounds(12, 270, 170, 30);
  cmdAddtoOrder.setBounds(192, 270, 170, 30);
  cmdEndofOrder.setBounds(12, 322, 170, 30);
  cmdEndofOrder2.setBounds(192, 322, 170, 30);
  cmdEndofOrderWOPrint.setBounds(372, 322, 396, 30);
  Button1.setBounds(12, 384, 350, 30);
  cmdHelp.setBounds(658, 384, 110, 30);
  cmdHelp.glyph = Button::Glyph::Help;
  // Selling from the keyboard: the quantity typed, Enter opens the price choice (whose Enter
  // is Continue).
  cmdAddtoOrder.isDefault = true;

  // The customer and the product are shown, not typed: they change when their tables move.
  for (DBEdit* e :
       {&CustomerNumberDBEdit, &PartNumberDBEdit, &InventoryPriceDBEdit,
        &InventoryDiscountPrice1DBEdit, &InventoryDiscountPrice2DBEdit,
        &InventoryDiscountPrice3DBEdit, &ProductDescriptionDBEdit, &ProductQuantityInStockDBEdit})
    e->readOnly = true;
}

Table& TSalesEntryForm::sales() const {
  return shop(app()).g.SalesDataModule->SalesTable;
}

void TSalesEntryForm::FormCreate() {
  RunningGrandTotal = 0;
  RunningTotalTax = 0;
}

void TSalesEntryForm::cmdFindProductClick() {
  shop(app()).g.SearchForm->show();
}

void TSalesEntryForm::cmdAddtoOrderClick() {
  shop(app()).g.ChoosePriceForm->show();
}

void TSalesEntryForm::cmdHelpClick() {
  app().setHelpFile("Corvanta.HLP");
  app().helpCommand(3, 0);
}

OrderHeader TSalesEntryForm::headerTexts() const {
  return {CustomerNumberDBEdit.text(),   DateDBEdit.text(),           TypeofSaleDBEdit.text(),
          CreditCardNumberDBEdit.text(), CreditCardTypeDBEdit.text(), OrderNumberDBEdit.text(),
          PickUpShipDBEdit.text()};
}

void TSalesEntryForm::setHeaderTexts(const OrderHeader& h) {
  CustomerNumberDBEdit.setText(h.customerNumber);
  DateDBEdit.setText(h.date);
  TypeofSaleDBEdit.setText(h.typeOfSale);
  CreditCardNumberDBEdit.setText(h.creditCardNumber);
  CreditCardTypeDBEdit.setText(h.creditCardType);
  OrderNumberDBEdit.setText(h.orderNumber);
  PickUpShipDBEdit.setText(h.pickUpShip);
}

void TSalesEntryForm::lineStored(std::int64_t item, bool stockTaken) {
  lines_.push_back({item, stockTaken});
}

void TSalesEntryForm::forgetOrder() {
  lines_.clear();
  orderEnd_.reset();
  FormCreate();
}

void TSalesEntryForm::Button1Click() {
  if (!lines_.empty()) {
    const std::size_t n = lines_.size();
    const std::string question = "Leave order " + OrderNumberDBEdit.text() + " and take its " +
                                 std::to_string(n) + (n == 1 ? " line" : " lines") + " back out?";
    if (!app().dialogs().confirm("Exit w/o Entering an Order", question)) return;
  }
  leaveOrder();
}

void TSalesEntryForm::leaveOrder() {
  Table& t = sales();
  const bool pending = t.state() == TableState::Insert;
  const OrderHeader header = headerTexts();
  t.cancel();
  // The order will not end: its recorded end is closed, and goes with the first line taken
  // out (in the same file), so that a start never bills an order being taken apart.
  orderEnd_.reset();
  try {
    takeLinesBackOut();
  } catch (...) {
    // The lines not taken out are still an order, and it goes on with its pending record.
    if (pending && !lines_.empty()) {
      t.insert();
      setHeaderTexts(header);
    }
    throw;
  }
  forgetOrder();
  close();
}

void TSalesEntryForm::takeLinesBackOut() {
  Table& t = sales();
  Table& stock = shop(app()).g.DataModule2->InventoryTable1;
  // The products are looked up by part number; the stock table's order and current product
  // (what the inventory window shows) come back afterwards.
  const std::string stockIndex = stock.indexName();
  const std::int64_t stockRowid = stock.currentRowid();
  const auto restoreStock = [&] {
    stock.selectIndex(stockIndex);
    if (stockRowid != 0) stock.moveToRowid(stockRowid);
  };

  // Every step is worked out before anything changes (a stock figure out of range is
  // refused here), last line first, and recorded with the first line taken out: a crash
  // half-way is finished at the next start.
  struct Step {
    std::int64_t item = 0;
    bool there = false;        // a line deleted meanwhile has nothing left to take out
    std::int64_t product = 0;  // the stock record its items go back to (0: none)
    std::string part, returned;
    Value before;  // the quantity in stock the return was worked out from
    double quantity = 0;
    int lineStep = 0, stockStep = 0;
  };
  std::vector<Step> steps;
  std::map<std::int64_t, std::string> stockAfter;  // a product sold on two lines
  try {
    for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) {
      Step step;
      step.item = it->item;
      if (auto row = t.file().byRowid(it->item)) {
        step.there = true;
        const Value& part = row->values[static_cast<size_t>(t.def().fieldIndex("PartNumber"))];
        const Value& sold = row->values[static_cast<size_t>(t.def().fieldIndex("QuantitySold"))];
        if (const auto* p = std::get_if<std::string>(&part)) step.part = *p;
        const double quantity = std::holds_alternative<double>(sold) ? std::get<double>(sold) : 0;
        step.quantity = quantity;
        if (it->stockTaken) {
          stock.selectIndex("");
          if (stock.findKey(step.part)) {
            step.product = stock.currentRowid();
            auto known = stockAfter.find(step.product);
            const std::string now =
                known != stockAfter.end() ? known->second : ProductQuantityInStockDBEdit.text();
            step.returned = stockAfterSale(now, -quantity);
            step.before = floatOfText(now);
            stockAfter[step.product] = step.returned;
          }
        }
      }
      steps.push_back(std::move(step));
    }
  } catch (...) {
    restoreStock();
    throw;
  }

  const std::string orderNumber = OrderNumberDBEdit.text();
  std::size_t count = 0;
  for (const Step& s : steps) count += s.there ? 1 : 0;
  CommandRecord record("Exit w/o Entering an Order",
                       "order " + orderNumber + ", " + std::to_string(count) +
                           (count == 1 ? " line" : " lines") + " taken back out");
  bool first = true;
  for (Step& s : steps) {
    if (!s.there) continue;
    // The first line's removal carries the record; it needs no step of its own.
    if (!first)
      s.lineStep = record.plan({t.def().tableName,
                                s.item,
                                {},
                                "the line of part " + s.part + " taken out of order " + orderNumber,
                                true});
    first = false;
    if (s.product != 0)
      s.stockStep =
          record.plan({.table = stock.def().tableName,
                       .rowid = s.product,
                       .fields = {{"Quantity", floatOfText(s.returned)}},
                       .what = "the quantity in stock of part " + s.part + " set to " + s.returned,
                       .from = {{"Quantity", s.before}}});
  }

  try {
    first = true;
    for (const Step& s : steps) {
      // The line goes before its stock comes back, so that no moment counts the same items
      // twice.
      if (s.there && t.moveToRowid(s.item)) {
        if (first)
          record.recordWithFirstPost(t);
        else
          record.markWithPost(t, s.lineStep);
        first = false;
        t.remove();
        if (s.product != 0 && stock.moveToRowid(s.product)) {
          stock.edit();
          // From the figure just read, not the planned one: the edit adds what it changes to
          // what is stored, and another till may have sold the item since the plan was made.
          ProductQuantityInStockDBEdit.setText(
              stockAfterSale(ProductQuantityInStockDBEdit.text(), -s.quantity));
          record.markWithPost(stock, s.stockStep);
          stock.post();
        }
      }
      lines_.pop_back();
    }
  } catch (...) {
    // What is left of the order stays an order, with totals that match its lines.
    recomputeTotals();
    if (stock.state() != TableState::Browse) stock.cancel();
    restoreStock();
    throw;
  }
  restoreStock();
}

void TSalesEntryForm::recomputeTotals() {
  Table& t = sales();
  ShortReal grand = 0, tax = 0;
  for (const StoredLine& line : lines_) {
    auto row = t.file().byRowid(line.item);
    if (!row) continue;
    // Total and Tax were written with 15 digits from short reals: they read back exactly.
    const auto value = [&](const char* field) {
      const Value& v = row->values[t.def().fieldIndex(field)];
      return std::holds_alternative<double>(v) ? ShortReal(std::get<double>(v)) : ShortReal(0);
    };
    grand = (grand + value("Total")) + value("Tax");
    tax = tax + value("Tax");
  }
  RunningGrandTotal = grand;
  RunningTotalTax = tax;
}

void TSalesEntryForm::cmdEndofOrderWOPrintClick() {
  endOrder(nullptr);
}

void TSalesEntryForm::cmdEndofOrderClick() {
  endOrder(&RecieptReport1);
}

void TSalesEntryForm::cmdEndofOrder2Click() {
  endOrder(&InvoiceReport);
}

}  // namespace corvanta
