#include "app/CorvantaApp.h"

#include "app/AboutForm.h"
#include "app/MainForm.h"
#include "app/SplashScreenForm.h"
#include "billing/BillingForm.h"
#include "billing/PaymentStatusDatePaymentRecievedForm.h"
#include "billing/SearchShippingBillingDBForm.h"
#include "billing/ShippingForm.h"
#include "billing/ShippingInformationForm.h"
#include "clients/ClientSearchForm.h"
#include "clients/FormClients.h"
#include "data/ProcessingForm.h"
#include "data/engine/CommandRecord.h"
#include "data/modules/DataModules.h"
#include "inventory/InventoryAboutBox.h"
#include "inventory/InventoryForm.h"
#include "inventory/OrderForm.h"
#include "inventory/SearchForm.h"
#include "orders/ChangePriceForm.h"
#include "orders/SalesSearchForm.h"
#include "orders/SearchEditOrderForm.h"
#include "sales/ChoosePriceForm.h"
#include "sales/CustomerChoiceForm.h"
#include "sales/PreSalesEntryCustomerSearchForm.h"
#include "sales/PreSalesEntryForm.h"
#include "sales/SalesEntryForm.h"
#include "sales/SetFirstOrderNumberForm.h"
#include "tax/SetTaxRateForm.h"
#include "ui/Form.h"

namespace corvanta {

CorvantaApp::CorvantaApp(const Engine& engine, Platform platform)
    : Application(platform.dialogs, platform.help),
      engine_(engine),
      platform_(std::move(platform)) {}

template <class T>
T* CorvantaApp::make() {
  T& form = createForm<T>();
  if (platform_.formCreated) platform_.formCreated(form);
  return &form;
}

template <class T>
T* CorvantaApp::makeModule() {
  return &createDataModule<T>(engine_);
}

bool CorvantaApp::start() {
  // The splash goes up first, so that a person sees something while the tables open.
  splash_ = make<TSplashScreenForm>();
  splash_->show();
  setHelpFile("c:\\windows\\help");
  // A command that a crash cut short is finished before any window sees the tables, and the
  // person is told once what was done.
  std::vector<std::string> finished;
  bool ok = dispatch([&] { finished = finishInterruptedCommands(engine_); });
  if (ok) ok = dispatch([this] { createGlobals(); });
  if (!ok) {
    terminate();
    return false;
  }
  // The message loop's first act: the main window appears.
  g.CorvantaMainForm->show();
  for (const auto& text : finished) dialogs().showMessage(text);
  return true;
}

void CorvantaApp::createGlobals() {
  g.CorvantaMainForm = make<TCorvantaMainForm>();
  setMainForm(g.CorvantaMainForm);
  g.FormClients = make<TFormClients>();
  g.InventoryAboutBox = make<TInventoryAboutBox>();
  g.InventoryForm = make<TInventoryForm>();
  g.OrderForm = make<TOrderForm>();
  g.SearchForm = make<TSearchForm>();
  g.DataModule2 = makeModule<TDataModule2>();
  g.ClientDataModule = makeModule<TClientDataModule>();
  g.SalesEntryForm = make<TSalesEntryForm>();
  g.PreSalesEntryForm = make<TPreSalesEntryForm>();
  g.ChoosePriceForm = make<TChoosePriceForm>();
  g.ClientSearchForm = make<TClientSearchForm>();
  g.PreSalesEntryCustomerSearchForm = make<TPreSalesEntryCustomerSearchForm>();
  g.SalesDataModule = makeModule<TSalesDataModule>();
  g.SalesProcessingForm = make<TSalesProcessingForm>();
  g.CustomerChoiceForm = make<TCustomerChoiceForm>();
  g.BillingForm = make<TBillingForm>();
  g.ShippingForm = make<TShippingForm>();
  g.PaymentStatusDatePaymentRecievedForm = make<TPaymentStatusDatePaymentRecievedForm>();
  g.ShippingInformationForm = make<TShippingInformationForm>();
  g.SearchEditOrderForm = make<TSearchEditOrderForm>();
  g.SalesSearchForm = make<TSalesSearchForm>();
  g.ChangePriceForm = make<TChangePriceForm>();
  g.ShippingBillingDataModule = makeModule<TShippingBillingDataModule>();
  g.SearchShippingBillingDBForm = make<TSearchShippingBillingDBForm>();
  g.SalesTaxDataModule = makeModule<TSalesTaxDataModule>();
  g.SetTaxRateForm = make<TSetTaxRateForm>();
  g.TaxRatePostingForm = make<TTaxRatePostingForm>();
  g.SetFirstOrderNumberForm = make<TSetFirstOrderNumberForm>();
  g.AboutForm = make<TAboutForm>();
}

}  // namespace corvanta
