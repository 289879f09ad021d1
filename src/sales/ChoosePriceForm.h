#pragma once
// The price choice: which of the product's four prices an order line charges.  Its Continue
// stores the line (price, quantity, total, tax and the order header), lowers the product's
// stock, adds the line to the running totals and opens the next pending line record with the
// same header.  It keeps the price level chosen last from one line to the next.
#include "ui/Form.h"
#include "ui/OptionGroup.h"

namespace corvanta {

class DBEdit;

class TChoosePriceForm : public Form {
 public:
  explicit TChoosePriceForm(Application& app);

  GroupBox ChoosePriceGroupBox{*this, "ChoosePriceGroupBox", "Choose Price Level"};
  OptionButton OptRetailPrice{*this, "OptRetailPrice", "Retail Price", "", &ChoosePriceGroupBox};
  OptionButton OptDiscountPrice1{*this, "OptDiscountPrice1", "Discount Price1", "",
                                 &ChoosePriceGroupBox};
  OptionButton OptDiscountPrice2{*this, "OptDiscountPrice2", "Discount Price2", "",
                                 &ChoosePriceGroupBox};
  OptionButton OptDiscountPrice3{*this, "OptDiscountPrice3", "Discount Price3", "",
                                 &ChoosePriceGroupBox};
  Button cmdContinue{*this, "cmdContinue", "Continue", "cmdContinueClick"};
  Button BitBtn1{*this, "BitBtn1", "Cancel", "BitBtn1Click"};
  // "Retail Price" chosen at start; the level chosen last stays for the next line.  Continue
  // is the default button (Enter), Cancel the cancel button (Esc).
  OptionGroup options{ChoosePriceGroupBox,
                      {&OptRetailPrice, &OptDiscountPrice1, &OptDiscountPrice2, &OptDiscountPrice3},
                      cmdContinue,
                      BitBtn1,
                      {.width = 260}};

  // Posts the line.  Refused before anything changes when there is no product (an empty
  // stock list) or no order being entered, or when a figure cannot be stored (a stock quantity
  // out of range, an overflow).  The running totals take the line only once it is stored; a
  // stock change that fails after that is shown, and the order goes on with the line counted.
  void cmdContinueClick();
  void BitBtn1Click() { close(); }

 private:
  // The inventory window's edit of the chosen price level: it shows the current product.
  DBEdit& chosenPrice() const;
};

}  // namespace corvanta
