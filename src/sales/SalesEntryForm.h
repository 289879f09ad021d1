#pragma once
// The sales entry window: one order, entered line by line.
//
// It shows the order header of the sales table's current record (during entry: the pending
// line record, the one unposted record of the order), the customer number of the clients
// table's current record (the customer of the sale) and the stock table's current record (the
// product).  It owns the order's two running totals and knows which stored lines belong to the
// order being entered, so that leaving or ending the order never strands a line and the totals
// always equal the sums over those lines.
//
// The order start (customer selection, first order number), the line posting (price choice)
// and the end of the order all run through this window's controls.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "data/engine/CommandRecord.h"
#include "data/numbers/Numbers.h"
#include "reports/ReportComponent.h"
#include "ui/Form.h"

namespace corvanta {

class Table;

// Selects an index unless it is selected already: selecting it again would only make every
// control and grid bound to the table read its record again.
void selectIndexOnce(Table& table, std::string_view name);

// How the customer of a new order was chosen.
enum class OrderRoad { CustomerNumber, CustomerGrid };

// The texts of the order header as the window shows them, kept while a line is posted.
struct OrderHeader {
  std::string customerNumber, date, typeOfSale, creditCardNumber, creditCardType, orderNumber,
      pickUpShip;
};

class TSalesEntryForm : public Form {
 public:
  explicit TSalesEntryForm(Application& app);

  static constexpr const char* kSales = "SalesDataModule.SalesDataSource";
  static constexpr const char* kClients = "ClientDataModule.ClientsDataSource";
  static constexpr const char* kStock = "DataModule2.DataSource1";

  // Controls in tab order; each label sits beside its edit.
  Label DateLabel{*this, "DateLabel", "Date"};
  DBEdit DateDBEdit{*this, "DateDBEdit", kSales, "Date"};
  Label CustomerNumberLabel{*this, "CustomerNumberLabel", "Customer Number"};
  DBEdit CustomerNumberDBEdit{*this, "CustomerNumberDBEdit", kClients, "CustNum"};
  Label TypeofSaleLabel{*this, "TypeofSaleLabel", "Type of Sale "};
  DBEdit TypeofSaleDBEdit{*this, "TypeofSaleDBEdit", kSales, "TypeOfSale"};
  Label Label1{*this, "Label1", "( Cash, Credit Card,  Invoice)"};
  Label CreditCardNumberLabel{*this, "CreditCardNumberLabel", "Credit Card Number"};
  DBEdit CreditCardNumberDBEdit{*this, "CreditCardNumberDBEdit", kSales, "CreditCardNumber"};
  Label CreditCardTypeLabel{*this, "CreditCardTypeLabel", "Credit Card Type"};
  DBEdit CreditCardTypeDBEdit{*this, "CreditCardTypeDBEdit", kSales, "CreditCardType"};
  Label PickupShipLabel{*this, "PickupShipLabel", "Pickup/Ship"};
  DBEdit PickUpShipDBEdit{*this, "PickUpShipDBEdit", kSales, "PickUpShip"};
  Label PriceLabel{*this, "PriceLabel", "Price"};
  DBEdit InventoryPriceDBEdit{*this, "InventoryPriceDBEdit", kStock, "Price"};
  Label QuantityLabel{*this, "QuantityLabel", "Quantity to Order"};
  Edit QuantityToOrderEdit{*this, "QuantityToOrderEdit"};
  Label DiscountPrice1Label{*this, "DiscountPrice1Label", "Discount1"};
  DBEdit InventoryDiscountPrice1DBEdit{*this, "InventoryDiscountPrice1DBEdit", kStock,
                                       "DiscountPrice1"};
  Label DiscountPrice2Label{*this, "DiscountPrice2Label", "Discount2"};
  DBEdit InventoryDiscountPrice2DBEdit{*this, "InventoryDiscountPrice2DBEdit", kStock,
                                       "DiscountPrice2"};
  Label DiscountPrice3Label{*this, "DiscountPrice3Label", "Discount3"};
  DBEdit InventoryDiscountPrice3DBEdit{*this, "InventoryDiscountPrice3DBEdit", kStock,
                                       "DiscountPrice3"};
  Label ProductLabel{*this, "ProductLabel", "Product"};
  DBEdit PartNumberDBEdit{*this, "PartNumberDBEdit", kStock, "PartNumber"};
  Label ProductDescriptionLabel{*this, "ProductDescriptionLabel", "Product Description"};
  DBEdit ProductDescriptionDBEdit{*this, "ProductDescriptionDBEdit", kStock, "Description"};
  Label QuantityInStockLabel{*this, "QuantityInStockLabel", "Quantity In Stock"};
  DBEdit ProductQuantityInStockDBEdit{*this, "ProductQuantityInStockDBEdit", kStock, "Quantity"};
  Button cmdAddtoOrder{*this, "cmdAddtoOrder", "Add to Order", "cmdAddtoOrderClick"};
  Button cmdFindProduct{*this, "cmdFindProduct", "Find Product", "cmdFindProductClick"};
  Button cmdEndofOrder{*this, "cmdEndofOrder", "Print Reciept", "cmdEndofOrderClick"};
  corvanta::DBNavigator DBNavigator1{
      *this, "DBNavigator1", kStock, {NavButton::Prior, NavButton::Next}};
  Label OrderNumberLabel{*this, "OrderNumberLabel", "Order Number"};
  DBEdit OrderNumberDBEdit{*this, "OrderNumberDBEdit", kSales, "OrderNumber"};
  Button cmdEndofOrder2{*this, "cmdEndofOrder2", "Print Invoice", "cmdEndofOrder2Click"};
  Button cmdHelp{*this, "cmdHelp", "Help", "cmdHelpClick"};
  Button cmdEndofOrderWOPrint{*this, "cmdEndofOrderWOPrint",
                              "End of Order w/o Printing Invoice/Reciept",
                              "cmdEndofOrderWOPrintClick"};
  Button Button1{*this, "Button1", "Exit w/o Entering an Order", "Button1Click"};

  ReportComponent RecieptReport1;
  ReportComponent InvoiceReport;

  // The order's running totals: sums over the lines stored so far in the order being entered
  // of line total plus line tax, and of line tax.  Short reals; 0 when no order is open.
  ShortReal RunningGrandTotal;
  ShortReal RunningTotalTax;

  // Handlers.
  void FormCreate();  // zeroes the running totals
  void cmdFindProductClick();
  void cmdAddtoOrderClick();
  void cmdHelpClick();
  // Exit w/o Entering an Order: the pending line record is dropped and the window hides.  When
  // lines of the order are stored already, asks first whether to take them back out (their
  // stock returned); No changes nothing.
  void Button1Click();
  // Leaves the order being entered without asking, as Exit w/o Entering an Order does after
  // Yes: the pending record dropped, the stored lines taken back out, the window hidden.
  void leaveOrder();
  // The three ends of an order (see endOrder()).
  void cmdEndofOrderWOPrintClick();
  void cmdEndofOrderClick();
  void cmdEndofOrder2Click();

  // The order start, after a customer was found (the clients table is on them).  An order
  // still being entered is settled first: without stored lines its pending record is dropped
  // quietly; with stored lines nothing starts, the person is told and the window comes to the
  // front (the clients table goes back to that order's customer).  Then the next order number
  // is one above the highest stored in the sales and billing tables; with none stored yet,
  // the first order number dialog is shown instead.  After it, the sales table is in insert
  // state on the new pending line record under the index "ByOrderNumber".
  void StartOrder(OrderRoad road);
  // The first order of all, with the number as typed (the first order number dialog).
  // False when an order still being entered stopped it.
  bool StartFirstOrder(const std::string& orderNumber);

  // The line posting's view of the order.
  OrderHeader headerTexts() const;
  void setHeaderTexts(const OrderHeader& header);
  // A line of the order was stored under this row id; stockTaken: its product's stock was
  // lowered for it.
  void lineStored(std::int64_t item, bool stockTaken);
  std::size_t storedLineCount() const { return lines_.size(); }
  // With the line about to be posted (the sales table in insert state on it): how the order
  // ends should the program stop before the person ends it, namely its billing record as
  // "End of Order w/o Printing Invoice/Reciept" writes it, with the running totals through
  // that line.  Stored with the line's post, it replaces the one stored with the line before;
  // the next start writes the billing record of an order left open, so that no stored line
  // is ever without one.
  void recordOrderEnd(const OrderHeader& header, ShortReal grandTotal, ShortReal totalTax);

 private:
  struct StoredLine {
    std::int64_t item;
    bool stockTaken;
  };
  Table& sales() const;
  void layOut();
  // False (and the person told) when an order with stored lines is still being entered.
  bool settleOrderInProgress();
  // The pending line record of a new order with this number, today's date, "PickUp", "cash".
  void insertPendingRecord(const std::string& orderNumber);
  // The end-of-order steps; the report (when given) runs once the order is safely stored.
  void endOrder(ReportComponent* report);
  void writeBillingRecord(const std::string& grandTotal, const std::string& totalTax);
  // Deletes the order's stored lines and returns their stock, last line first.
  void takeLinesBackOut();
  // The running totals again from the order's stored lines (after some were taken out).
  void recomputeTotals();
  void forgetOrder();

  std::vector<StoredLine> lines_;
  // The order's end as recorded with its last line (null before the first line), and the
  // number of its billing step.
  std::unique_ptr<CommandRecord> orderEnd_;
  int billingStep_ = 0;
  std::int64_t customerRowid_ = 0;  // the customer of the order being entered
};

}  // namespace corvanta
