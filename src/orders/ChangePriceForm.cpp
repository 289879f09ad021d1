#include "orders/ChangePriceForm.h"

#include "app/CorvantaApp.h"
#include "data/ProcessingForm.h"
#include "data/engine/CommandRecord.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "inventory/InventoryForm.h"
#include "orders/ButtonPanel.h"
#include "orders/CorrectionSteps.h"
#include "orders/OrderArithmetic.h"
#include "orders/SearchEditOrderForm.h"

namespace corvanta {

TChangePriceForm::TChangePriceForm(Application& app)
    : Form(app, "ChangePriceForm", "Change Price ") {
  seatButtonsInPanel(Panel1, cmdOK, cmdCancel);  // Retail Price chosen first
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdCancelClick", [this] { cmdCancelClick(); });
}

std::string TChangePriceForm::chosenPriceText() const {
  const TInventoryForm& inventory = *shop(app()).g.InventoryForm;
  switch (options.chosenIndex()) {
    case 0:
      return inventory.EditPrice.text();
    case 1:
      return inventory.DiscountPrice1DBEdit.text();
    case 2:
      return inventory.DiscountPrice2DBEdit.text();
    default:
      return inventory.DiscountPrice3DBEdit.text();
  }
}

void TChangePriceForm::cmdOKClick() {
  auto& g = shop(app()).g;
  TSearchEditOrderForm& lineWindow = *g.SearchEditOrderForm;
  TSalesProcessingForm& processing = *g.SalesProcessingForm;
  if (!lineWindow.requireStoredLine()) return;
  lineWindow.postTypedChange();
  if (!lineWindow.findLineProduct(lineWindow.PartNumberDBEdit.text())) return;
  if (!lineWindow.findOrderBilling(lineWindow.OrderNumberDBEdit.text())) return;

  const std::string price = chosenPriceText();
  LineFigures in;
  in.quantity = readNumber(lineWindow.QuantitySoldDBEdit.text());
  in.price = readNumber(price);
  in.oldTotal = readNumber(lineWindow.TotalDBEdit.text());
  in.oldTax = readNumber(processing.TaxDBEdit.text());
  in.grandTotal = readNumber(processing.GrandTotalDBEdit.text());
  in.taxRate = readNumber(processing.SalesTaxDBEdit.text());
  in.totalTax = readNumber(processing.TotalTaxDBEdit.text());
  const LineRepricing out = repriceLine(in);

  Table& order = g.ShippingBillingDataModule->ShippingBillingTable;
  Table& line = g.SalesDataModule->SalesTable;
  // Two files, one command: the line's new figures are recorded with the order's post.
  const std::string orderNumber = lineWindow.OrderNumberDBEdit.text();
  CommandRecord record("Change Price", "part " + lineWindow.PartNumberDBEdit.text() + " of order " +
                                           orderNumber + ", price " + price);
  const int lineStep = record.plan({"NewSales",
                                    line.currentRowid(),
                                    {{"Price", floatOfText(price)},
                                     {"Total", floatOfText(writeNumber(out.total))},
                                     {"Tax", floatOfText(writeNumber(out.tax))}},
                                    "the price, total and tax of the line"});
  const CorrectionSteps steps{&order, &line};
  order.edit();
  processing.GrandTotalDBEdit.setText(writeNumber(out.grandTotal));
  processing.TotalTaxDBEdit.setText(writeNumber(out.totalTax));
  record.recordWithFirstPost(order);
  order.post();

  line.edit();
  lineWindow.PriceChargedDBEdit.setText(price);
  lineWindow.TotalDBEdit.setText(writeNumber(out.total));
  processing.TaxDBEdit.setText(writeNumber(out.tax));
  record.markWithPost(line, lineStep);
  line.post();
}

}  // namespace corvanta
