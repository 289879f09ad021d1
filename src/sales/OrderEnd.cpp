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
  // The order's end recorded with its lines is done with this post.
  if (orderEnd_) orderEnd_->markWithPost(billing, billingStep_);
  billing.post();
}

void TSalesEntryForm::recordOrderEnd(const OrderHeader& header, ShortReal grandTotal,
                                     ShortReal totalTax) {
  // The record of the line before is closed first, so that the post that stores this one
  // removes it: a start never finds two ends of one order.
  orderEnd_.reset();
  const auto text = [](const std::string& t) { return t.empty() ? Value{} : Value{t}; };
  const std::string grand = writeNumber(grandTotal);
  std::vector<std::pair<std::string, Value>> fields = {
      {"OrderNumber", floatOfText(header.orderNumber)},
      {"CustNum", floatOfText(header.customerNumber)},
      {"Date", text(header.date)},
      {"Credit Card Type", text(header.creditCardType)},
      {"Credit Card Number", text(header.creditCardNumber)},
      {"GrandTotal", floatOfText(grand)},
      {"TotalTax", floatOfText(writeNumber(totalTax))}};
  if (isPickUp(header.pickUpShip)) fields.push_back({"ShippingCharge", floatOfText("0")});
  if (isPaidAtSale(header.typeOfSale))
    fields.push_back({"PaymentStatus", Value{std::string("recieved")}});
  const std::size_t lineCount = lines_.size() + 1;
  orderEnd_ = std::make_unique<CommandRecord>(
      "Sales Entry", "order " + header.orderNumber + ", " + std::to_string(lineCount) +
                         (lineCount == 1 ? " line" : " lines") + " stored and not yet ended");
  PlannedUpdate billing;
  billing.table = "BillingShipping";
  billing.insert = true;
  billing.fields = std::move(fields);
  billing.what = "the billing record of order " + header.orderNumber +
                 " written as \"End of Order w/o Printing Invoice/Reciept\" writes it, grand "
                 "total " +
                 formatFixed2(static_cast<double>(grandTotal));
  billingStep_ = orderEnd_->plan(std::move(billing));
  orderEnd_->recordWithFirstPost(sales());
}

}  // namespace corvanta
