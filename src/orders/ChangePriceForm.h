#pragma once
// The price change dialog of the order correction window: charges the line on show one of the
// four price levels of its product.  The line is priced anew (price, total, tax at today's
// rate) and the order's totals move by the difference; the stock quantity is not touched.
// OK leaves the dialog open, so levels can be tried one after another; the level chosen last
// stays chosen for the whole run.
#include <string>

#include "ui/Form.h"
#include "ui/OptionGroup.h"

namespace corvanta {

class TChangePriceForm : public Form {
 public:
  explicit TChangePriceForm(Application& app);

  GroupBox PriceChoicesGroupBox{*this, "PriceChoicesGroupBox", "Price Choices"};
  OptionButton optRetailPrice{*this, "optRetailPrice", "Retail Price", "", &PriceChoicesGroupBox};
  OptionButton optDiscountPrice1{*this, "optDiscountPrice1", "Discount Price1", "",
                                 &PriceChoicesGroupBox};
  OptionButton optDiscountPrice2{*this, "optDiscountPrice2", "Discount Price2", "",
                                 &PriceChoicesGroupBox};
  OptionButton optDiscountPrice3{*this, "optDiscountPrice3", "Discount Price3", "",
                                 &PriceChoicesGroupBox};
  Panel Panel1{*this, "Panel1"};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick", &Panel1};
  Button cmdCancel{*this, "cmdCancel", "Cancel", "cmdCancelClick", &Panel1};
  OptionGroup options{PriceChoicesGroupBox,
                      {&optRetailPrice, &optDiscountPrice1, &optDiscountPrice2, &optDiscountPrice3},
                      cmdOK,
                      cmdCancel,
                      {.width = 240}};

  // Finds the line's product again (the stock table may have moved since the dialog opened)
  // and the order's billing record, both before anything changes; then the billing record's
  // totals and the line's price, total and tax are posted.  The new price is the chosen
  // level's text as the inventory window shows it (two decimals); an empty level gives an
  // empty price and a zero total.
  void cmdOKClick();
  void cmdCancelClick() { close(); }

 private:
  // The text of the chosen level's edit in the inventory window.
  std::string chosenPriceText() const;
};

}  // namespace corvanta
