// The end of an order: the pending line record goes, the order's billing and shipping record
// is written with its grand total and total tax, and the totals start again from 0.
#include "app/CorvantaApp.h"
#include "data/ProcessingForm.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "sales/SaleFigures.h"
#include "sales/SalesEntryForm.h"

namespace corvanta {

void TSalesEntryForm::endOrder(ReportComponent* report) {
  Table& t = sales();
  if (lines_.empty()) {
    // Nothing was sold: there is no order to bill, only the pending record to drop.
    t.cancel();
    forgetOrder();
    close();
    return;
  }
  // The header now shows the order's last stored line; what was typed after it goes.
  t.cancel();
  // The record the pending one was inserted after is that line, unless another window moved
  // the sales table meanwhile: the billing record must be the order's own.
  if (t.currentRowid() != lines_.back().item) t.moveToRowid(lines_.back().item);
  const OrderHeader lastLine = headerTexts();
  // The totals as texts, never rounded to cents.
  const std::string grandTotal = writeNumber(RunningGrandTotal);
  const std::string totalTax = writeNumber(RunningTotalTax);
  try {
    writeBillingRecord(grandTotal, totalTax);
  } catch (...) {
    // The order is not ended: its totals stay, and its pending record comes back with the
    // last line's header, so that the person can go on with it or try again.
    Table& billing = shop(app()).g.ShippingBillingDataModule->ShippingBillingTable;
    if (billing.state() == TableState::Insert) billing.cancel();
    t.insert();
    setHeaderTexts(lastLine);
    throw;
  }
  // The report is told the order and the customer; everything it prints it reads from the
  // records just stored.
  const std::string orderNumber = lastLine.orderNumber;
  const std::string customerNumber = lastLine.customerNumber;
  forgetOrder();
  close();
  if (report) report->Run({{"OrderNumber", orderNumber}, {"CustNum", customerNumber}});
}

void TSalesEntryForm::writeBillingRecord(const std::string& grandTotal,
                                         const std::string& totalTax) {
  auto& g = shop(app()).g;
  TSalesProcessingForm& p = *g.SalesProcessingForm;
  Table& billing = g.ShippingBillingDataModule->ShippingBillingTable;
  // The pick-up and type of sale controls show their texts in lower case afterwards, as the
  // comparisons read them; the stored line keeps its own (the sales table is in browse state).
  billing.insert();
  p.OrderNumberDBEdit.setText(OrderNumberDBEdit.text());
  PickUpShipDBEdit.setText(lowerCaseAscii(PickUpShipDBEdit.text()));
  if (isPickUp(PickUpShipDBEdit.text())) p.FreightDBEdit.setText("0");
  p.BillingCustomerNumberDBEdit.setText(CustomerNumberDBEdit.text());
  p.DateDBEdit.setText(DateDBEdit.text());
  TypeofSaleDBEdit.setText(lowerCaseAscii(TypeofSaleDBEdit.text()));
  if (isPaidAtSale(TypeofSaleDBEdit.text())) p.PaymentStatusDBEdit.setText("recieved");
  p.CreditCardTypeDBEdit.setText(CreditCardTypeDBEdit.text());
  p.CreditCardNumberDBEdit.setText(CreditCardNumberDBEdit.text());
  p.GrandTotalDBEdit.setText(grandTotal);
  p.TotalTaxDBEdit.setText(totalTax);
  billing.post();
}

}  // namespace corvanta
