#include "sales/ChoosePriceForm.h"

#include <exception>

#include "app/CorvantaApp.h"
#include "data/ProcessingForm.h"
#include "data/engine/CommandRecord.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "inventory/InventoryForm.h"
#include "sales/SaleFigures.h"
#include "sales/SalesEntryForm.h"
#include "ui/Error.h"

namespace corvanta {

TChoosePriceForm::TChoosePriceForm(Application& app)
    : Form(app, "ChoosePriceForm", "Choose Price Form") {
  cmdContinue.glyph = Button::Glyph::None;  // a plain button, though the default one
  addHandler("cmdContinueClick", [this] { cmdContinueClick(); });
  addHandler("BitBtn1Click", [this] { BitBtn1Click(); });
}

DBEdit& TChoosePriceForm::chosenPrice() const {
  TInventoryForm& inventory = *shop(app()).g.InventoryForm;
  if (OptDiscountPrice1.checked()) return inventory.DiscountPrice1DBEdit;
  if (OptDiscountPrice2.checked()) return inventory.DiscountPrice2DBEdit;
  if (OptDiscountPrice3.checked()) return inventory.DiscountPrice3DBEdit;
  return inventory.EditPrice;
}

void TChoosePriceForm::cmdContinueClick() {
  auto& g = shop(app()).g;
  TSalesEntryForm& entry = *g.SalesEntryForm;
  TSalesProcessingForm& p = *g.SalesProcessingForm;
  Table& sales = g.SalesDataModule->SalesTable;
  Table& stock = g.DataModule2->InventoryTable1;

  // Without a product the stock step would store a nameless stock item, and a new item not
  // saved yet in the inventory window is no product either; without a pending line record
  // the post would overwrite a stored line (or fail).  Refused before anything.
  if (stock.isEmpty()) throw Error("Cannot perform this operation on an empty dataset");
  if (stock.state() == TableState::Insert)
    throw Error("The product is a new item not saved yet: save it in the inventory window first");
  if (sales.state() == TableState::Edit) throw Error("Dataset not in insert mode");

  // The header of the pending record, for the next one.
  const OrderHeader header = entry.headerTexts();
  // Every figure first: one that cannot be stored stops the command here.
  const std::string priceText = chosenPrice().text();
  const LineFigures f = figureLine(
      priceText, entry.QuantityToOrderEdit.text(), entry.ProductQuantityInStockDBEdit.text(),
      p.SalesTaxDBEdit.text(), entry.RunningGrandTotal, entry.RunningTotalTax);

  // The line's own fields, through the processing form.
  p.QuantityOrderedDBEdit.setText(writeNumber(f.quantity));
  p.TotalDBEdit.setText(writeNumber(f.total));
  p.PriceDBEdit.setText(priceText);
  p.PartNumberDBEdit.setText(entry.PartNumberDBEdit.text());
  p.CustomerNumbertDBEdit.setText(entry.CustomerNumberDBEdit.text());
  p.TaxDBEdit.setText(writeNumber(f.tax));
  // The line and its stock change are one command across two files: the stock's new
  // quantity is recorded with the line, so that a crash between the two posts is finished
  // at the next start.
  CommandRecord record("Continue", "a line of order " + header.orderNumber + ", part " +
                                       entry.PartNumberDBEdit.text());
  const int stockStep =
      record.plan({.table = "stock.db",
                   .rowid = stock.currentRowid(),
                   .fields = {{"Quantity", floatOfText(f.stockText)}},
                   .what = "the quantity in stock of part " + entry.PartNumberDBEdit.text() +
                           " set to " + f.stockText,
                   .from = {{"Quantity", stock.fieldByName("Quantity").value()}}});
  record.recordWithFirstPost(sales);
  entry.recordOrderEnd(header, f.grandTotal, f.totalTax);
  // The line is stored; only now does anything else change, so a refused post leaves the
  // totals, the stock and the quantity typed as they were.
  sales.post();
  entry.QuantityToOrderEdit.setText("");
  const std::int64_t item = sales.currentRowid();
  entry.RunningGrandTotal = f.grandTotal;
  entry.RunningTotalTax = f.totalTax;

  // The stock.  A failure here is shown once the order is ready for its next line: the
  // line is stored and counted either way.
  std::exception_ptr stockFailure;
  bool stockTaken = false;
  try {
    stock.edit();
    entry.ProductQuantityInStockDBEdit.setText(f.stockText);
    record.markWithPost(stock, stockStep);
    stock.post();
    stockTaken = true;
    stock.refresh();
  } catch (...) {
    stockFailure = std::current_exception();
    if (stock.state() != TableState::Browse) stock.cancel();
  }
  entry.lineStored(item, stockTaken);

  // The next pending line record, with the same header.
  sales.insert();
  entry.setHeaderTexts(header);
  close();
  if (stockFailure) std::rethrow_exception(stockFailure);
}

}  // namespace corvanta
