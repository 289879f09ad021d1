#pragma once
// The order correction window: one stored sales line at a time (the shared sales table's
// current record), the prices of the stock table's current item beside it, and the commands
// that correct the line: its quantity sold, the price level charged, its deletion.  Every
// correction keeps the line, its product's stock quantity and the order's billing record
// (GrandTotal, TotalTax) in step.
//
// A correction is all or nothing as far as the tables allow: the line's product and the
// order's billing record are both looked up before the first change, and a direct change typed
// into the line is posted first, so that none of them can stop the command half-way.
//
// A sale being entered keeps its next line unposted in the sales table (insert state), and
// that record is then the line on show.  Nothing here may store it or move away from it:
// while it lasts the commands refuse with a message, the navigator and the edits are disabled.
#include <functional>
#include <string>

#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "ui/Form.h"

namespace corvanta {

class Table;

// The window's record navigator.  Besides moving the sales table it tells the window of every
// change of the table's state, so that the window can follow a sale that starts or ends while
// it is open.
class SalesLineNavigator : public DBNavigator {
 public:
  using DBNavigator::DBNavigator;
  std::function<void()> onStateChange;
  void bindDataSources(Application& app) override;
  void dataEvent(DataEvent event, const Field* field) override;
};

class TSearchEditOrderForm : public Form {
 public:
  explicit TSearchEditOrderForm(Application& app);

  static constexpr const char* kSales = "SalesDataModule.SalesDataSource";
  static constexpr const char* kStock = "DataModule2.DataSource1";

  // Upper panel: the sales line, and the prices it may be changed to.
  Panel Panel1{*this, "Panel1"};
  Label DateLabel{*this, "DateLabel", "Date", &Panel1};
  DBEdit DateDBEdit{*this, "DateDBEdit", kSales, "Date", &Panel1};
  Label OrderNumberLabel{*this, "OrderNumberLabel", "Order Number", &Panel1};
  DBEdit OrderNumberDBEdit{*this, "OrderNumberDBEdit", kSales, "OrderNumber", &Panel1};
  Label CustomerNumberLabel{*this, "CustomerNumberLabel", "Customer Number", &Panel1};
  DBEdit CustomerNumberDBEdit{*this, "CustomerNumberDBEdit", kSales, "CustNum", &Panel1};
  Label PartNumberLabel{*this, "PartNumberLabel", "Part Number", &Panel1};
  DBEdit PartNumberDBEdit{*this, "PartNumberDBEdit", kSales, "PartNumber", &Panel1};
  Label QuantitySoldLabel{*this, "QuantitySoldLabel", "Quantity Sold", &Panel1};
  DBEdit QuantitySoldDBEdit{*this, "QuantitySoldDBEdit", kSales, "QuantitySold", &Panel1};
  Label PriceChargedLabel{*this, "PriceChargedLabel", "Price Charged", &Panel1};
  DBEdit PriceChargedDBEdit{*this, "PriceChargedDBEdit", kSales, "Price", &Panel1};
  Label TotalLabel{*this, "TotalLabel", "Total", &Panel1};
  DBEdit TotalDBEdit{*this, "TotalDBEdit", kSales, "Total", &Panel1};
  Label Label1{*this, "Label1", "Available Prices to change to:", &Panel1};
  Label RetailLabel{*this, "RetailLabel", "Retail", &Panel1};
  DBText DBText1{*this, "DBText1", kStock, "Price", &Panel1};
  Label DiscountPrice1Label{*this, "DiscountPrice1Label", "Discount Price1", &Panel1};
  DBText DBText2{*this, "DBText2", kStock, "DiscountPrice1", &Panel1};
  Label DiscontPrice2Label{*this, "DiscontPrice2Label", "Discount Price2", &Panel1};
  DBText DBText3{*this, "DBText3", kStock, "DiscountPrice2", &Panel1};
  Label DiscountPrice3Label{*this, "DiscountPrice3Label", "Discount Price 3", &Panel1};
  DBText DBText4{*this, "DBText4", kStock, "DiscountPrice3", &Panel1};

  // Lower panel: the navigator and the commands.
  Panel Panel2{*this, "Panel2"};
  SalesLineNavigator DBNavigator1{
      *this, "DBNavigator1", kSales, {NavButton::Prior, NavButton::Next}, &Panel2};
  Button cmdSearch{*this, "cmdSearch", "Search", "cmdSearchClick", &Panel2};
  Button cmdChangePriceCharged{*this, "cmdChangePriceCharged", "Change Price Charged",
                               "cmdChangePriceChargedClick", &Panel2};
  Button cmdDeleteEntry{*this, "cmdDeleteEntry", "Delete Entry", "cmdDeleteEntryClick", &Panel2};
  Button cmdDecreaseQuantitySold{*this, "cmdDecreaseQuantitySold", "Decrease Quantity Sold",
                                 "cmdDecreaseQuantitySoldClick", &Panel2};
  Button cmdIncreaseQuantitySold{*this, "cmdIncreaseQuantitySold", "Increase Quantity Sold",
                                 "cmdIncreaseQuantitySoldClick", &Panel2};
  Button cmdHelp{*this, "cmdHelp", "Help", "cmdHelpClick", &Panel2};
  Button cmdCancel{*this, "cmdCancel", "&Close", "cmdCancelClick", &Panel2};

  // Shows the sales search dialog; the search runs on its OK.
  void cmdSearchClick();
  // Makes the line's own product the current stock record, so that the prices on show and
  // the price charged are that product's, then shows the price change dialog.
  void cmdChangePriceChargedClick();
  // Asks first; then the line's whole-number quantity goes back to its product's stock, its
  // stored total and tax come out of the order's totals, and the line is deleted.  The line
  // on show afterwards is the next one in the selected index's order.
  void cmdDeleteEntryClick();
  // Asks for an amount (whole-number reading; Cancel or nothing typed changes nothing) and
  // moves it from the line back into stock, or from stock onto the line; the line is priced
  // anew at today's tax rate and the order's totals move by the difference.
  void cmdDecreaseQuantitySoldClick() { changeQuantitySold(-1); }
  void cmdIncreaseQuantitySoldClick() { changeQuantitySold(+1); }
  void cmdHelpClick();
  void cmdCancelClick() { close(); }

  // The steps the search and price change dialogs share with this window's commands.
  // True, after a message saying so, while a sale being entered holds its pending line.
  bool refusedDuringSale();
  // A stored line is on show: false (with a message) while a sale is being entered, an Error
  // on an empty sales table.  Asks nothing and changes nothing.
  bool requireStoredLine();
  // The line's product by its part number becomes the current stock record, whatever index
  // the stock table has selected; false, with "Item Number not found !", when there is none.
  // Refused (an Error) while a new stock item not saved yet is being entered.
  bool findLineProduct(const std::string& partNumber);
  // The order's billing record becomes current (on the billing table's primary index); false,
  // with "Order Number not found !", when the order has none.
  bool findOrderBilling(const std::string& orderNumber);
  // Posts a change typed straight into the line, so that a text the line cannot take stops a
  // correction before it has changed anything else.
  void postTypedChange();

 private:
  Table& sales() const;
  Table& stock() const;
  Table& billing() const;
  void layOut();
  void changeQuantitySold(int sign);
  // A sale's pending line is on show: the navigator and the edits must leave it alone.
  void followSaleInProgress();
};

}  // namespace corvanta
