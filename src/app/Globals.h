#pragma once
// The shop's globals: every window and data module, one instance each, created at start-up
// in this order and kept until the application ends.
namespace corvanta {

class TCorvantaMainForm;
class TFormClients;
class TInventoryAboutBox;
class TInventoryForm;
class TOrderForm;
class TSearchForm;
class TDataModule2;
class TClientDataModule;
class TSalesEntryForm;
class TPreSalesEntryForm;
class TChoosePriceForm;
class TClientSearchForm;
class TPreSalesEntryCustomerSearchForm;
class TSalesDataModule;
class TSalesProcessingForm;
class TCustomerChoiceForm;
class TBillingForm;
class TShippingForm;
class TPaymentStatusDatePaymentRecievedForm;
class TShippingInformationForm;
class TSearchEditOrderForm;
class TSalesSearchForm;
class TChangePriceForm;
class TShippingBillingDataModule;
class TSearchShippingBillingDBForm;
class TSalesTaxDataModule;
class TSetTaxRateForm;
class TTaxRatePostingForm;
class TSetFirstOrderNumberForm;
class TAboutForm;

struct Globals {
  TCorvantaMainForm* CorvantaMainForm = nullptr;
  TFormClients* FormClients = nullptr;
  TInventoryAboutBox* InventoryAboutBox = nullptr;
  TInventoryForm* InventoryForm = nullptr;
  TOrderForm* OrderForm = nullptr;
  TSearchForm* SearchForm = nullptr;
  TDataModule2* DataModule2 = nullptr;
  TClientDataModule* ClientDataModule = nullptr;
  TSalesEntryForm* SalesEntryForm = nullptr;
  TPreSalesEntryForm* PreSalesEntryForm = nullptr;
  TChoosePriceForm* ChoosePriceForm = nullptr;
  TClientSearchForm* ClientSearchForm = nullptr;
  TPreSalesEntryCustomerSearchForm* PreSalesEntryCustomerSearchForm = nullptr;
  TSalesDataModule* SalesDataModule = nullptr;
  TSalesProcessingForm* SalesProcessingForm = nullptr;
  TCustomerChoiceForm* CustomerChoiceForm = nullptr;
  TBillingForm* BillingForm = nullptr;
  TShippingForm* ShippingForm = nullptr;
  TPaymentStatusDatePaymentRecievedForm* PaymentStatusDatePaymentRecievedForm = nullptr;
  TShippingInformationForm* ShippingInformationForm = nullptr;
  TSearchEditOrderForm* SearchEditOrderForm = nullptr;
  TSalesSearchForm* SalesSearchForm = nullptr;
  TChangePriceForm* ChangePriceForm = nullptr;
  TShippingBillingDataModule* ShippingBillingDataModule = nullptr;
  TSearchShippingBillingDBForm* SearchShippingBillingDBForm = nullptr;
  TSalesTaxDataModule* SalesTaxDataModule = nullptr;
  TSetTaxRateForm* SetTaxRateForm = nullptr;
  TTaxRatePostingForm* TaxRatePostingForm = nullptr;
  TSetFirstOrderNumberForm* SetFirstOrderNumberForm = nullptr;
  TAboutForm* AboutForm = nullptr;
};

}  // namespace corvanta
