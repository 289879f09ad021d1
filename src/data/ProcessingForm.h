#pragma once
// The hidden processing form: one data-aware edit for each sales, billing and tax field that
// the sales, correction and shipping commands write or read.  Those commands put a table into
// edit or insert state, write the texts of these edits and post; they read values as the
// edits' display texts.  Never shown.
#include "data/controls/DBEdit.h"
#include "ui/Form.h"

namespace corvanta {

class TSalesProcessingForm : public Form {
 public:
  explicit TSalesProcessingForm(Application& app);

  Label PartNumberLabel{*this, "PartNumberLabel", "Part Number"};
  DBEdit PartNumberDBEdit{*this, "PartNumberDBEdit", kSales, "PartNumber"};
  Label CustomerNumberLabel{*this, "CustomerNumberLabel", "Customer Number"};
  DBEdit CustomerNumbertDBEdit{*this, "CustomerNumbertDBEdit", kSales, "CustNum"};
  Label QuantityOrderedLabel{*this, "QuantityOrderedLabel", "Quantity Ordered"};
  DBEdit QuantityOrderedDBEdit{*this, "QuantityOrderedDBEdit", kSales, "QuantitySold"};
  Label PriceLabel{*this, "PriceLabel", "Price"};
  DBEdit PriceDBEdit{*this, "PriceDBEdit", kSales, "Price"};
  Label TotalLabel{*this, "TotalLabel", "Total"};
  DBEdit TotalDBEdit{*this, "TotalDBEdit", kSales, "Total"};
  Label TaxLabel{*this, "TaxLabel", "Tax"};
  DBEdit TaxDBEdit{*this, "TaxDBEdit", kSales, "Tax"};
  Label SalesTaxLabel{*this, "SalesTaxLabel", "Sales Tax Rate"};
  DBEdit SalesTaxDBEdit{*this, "SalesTaxDBEdit", kTax, "TaxRate"};
  Label GrandTotalLabel{*this, "GrandTotalLabel", "Grand Total"};
  DBEdit GrandTotalDBEdit{*this, "GrandTotalDBEdit", kBilling, "GrandTotal"};
  Label TotalTaxLabel{*this, "TotalTaxLabel", "Total Tax"};
  DBEdit TotalTaxDBEdit{*this, "TotalTaxDBEdit", kBilling, "TotalTax"};
  Label FreightLabel{*this, "FreightLabel", "Freight"};
  DBEdit FreightDBEdit{*this, "FreightDBEdit", kBilling, "ShippingCharge"};
  Label OrderNumberLabel{*this, "OrderNumberLabel", "OrderNumber"};
  DBEdit OrderNumberDBEdit{*this, "OrderNumberDBEdit", kBilling, "OrderNumber"};
  Label PaymentStatusLabel{*this, "PaymentStatusLabel", "Payment Status"};
  DBEdit PaymentStatusDBEdit{*this, "PaymentStatusDBEdit", kBilling, "PaymentStatus"};
  Label BillingCustomerNumberLabel{*this, "BillingCustomerNumberLabel", "Billing CustNum"};
  DBEdit BillingCustomerNumberDBEdit{*this, "BillingCustomerNumberDBEdit", kBilling, "CustNum"};
  Label DateLabel{*this, "DateLabel", "Date"};
  DBEdit DateDBEdit{*this, "DateDBEdit", kBilling, "Date"};
  Label CreditCardTypeLabel{*this, "CreditCardTypeLabel", "Credit Card Type"};
  DBEdit CreditCardTypeDBEdit{*this, "CreditCardTypeDBEdit", kBilling, "Credit Card Type"};
  Label CreditCardNumberLabel{*this, "CreditCardNumberLabel", "Credit Card Number"};
  DBEdit CreditCardNumberDBEdit{*this, "CreditCardNumberDBEdit", kBilling, "Credit Card Number"};

 private:
  static constexpr const char* kSales = "SalesDataModule.SalesDataSource";
  static constexpr const char* kTax = "SalesTaxDataModule.SalesTaxDataSource";
  static constexpr const char* kBilling = "ShippingBillingDataModule.ShippingBillingDataSource";
};

}  // namespace corvanta
