// The billing and shipping windows and their dialogs: the controls they are built from, and the
// rule that keeps every order's grand total holding its shipping charge exactly once, whatever
// a person does with the windows in between.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <random>
#include <sstream>

#include "billing/BillingForm.h"
#include "billing/PaymentStatusDatePaymentRecievedForm.h"
#include "billing/SearchShippingBillingDBForm.h"
#include "billing/ShippingForm.h"
#include "billing/ShippingInformationForm.h"
#include "data/ProcessingForm.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "support/TestSupport.h"

namespace corvanta::test {
namespace {

class BillingWindows : public ::testing::Test {
 protected:
  TestShop shop;
  TBillingForm& billingForm = *shop.g().BillingForm;
  TShippingForm& shipping = *shop.g().ShippingForm;
  TShippingInformationForm& info = *shop.g().ShippingInformationForm;
  TPaymentStatusDatePaymentRecievedForm& payment = *shop.g().PaymentStatusDatePaymentRecievedForm;
  Table& billing = shop.g().ShippingBillingDataModule->ShippingBillingTable;

  void store(double order, double total, std::optional<double> charge) {
    std::vector<Value> v(billing.def().fields.size());
    v[billing.fieldByName("OrderNumber").index()] = order;
    v[billing.fieldByName("GrandTotal").index()] = total;
    if (charge) v[billing.fieldByName("ShippingCharge").index()] = *charge;
    billing.file().insert(v);
  }
  // A person types into an edit and leaves it.
  static void type(Edit& edit, const std::string& text) {
    edit.typeText(text);
    edit.leave();
  }

  // Every control of a form in tab order: "name", "name=field" for data-aware edits, with
  // "/n" for a length limit, "'caption'" for labels and buttons.
  static std::string layout(const Form& form) {
    std::ostringstream out;
    for (const Control* c : form.controls()) {
      out << c->name();
      if (auto* e = dynamic_cast<const DBEdit*>(c)) {
        out << "=" << e->link().fieldName();
        if (e->maxLength > 0) out << "/" << e->maxLength;
      } else if (c->kind() == ControlKind::Label || c->kind() == ControlKind::Button ||
                 c->kind() == ControlKind::OptionButton || c->kind() == ControlKind::GroupBox) {
        out << " '" << c->text() << "'";
      }
      out << "\n";
    }
    return out.str();
  }
};

TEST_F(BillingWindows, ControlsBindingsLengthsAndTabOrder) {
  EXPECT_EQ(billingForm.caption(), "Billing Database Manager");
  EXPECT_EQ(
      layout(billingForm),
      "Label1 'Date'\nDateDBEdit=Date/10\nLabel2 'Order Number'\n"
      "OrderNumberDBEdit=OrderNumber\nLabel3 'Customer Number'\nCustomerNumberDBEdit=CustNum\n"
      "Label4 'Payment Status'\nPaymentStatusDBEdit=PaymentStatus/10\n"
      "Label5 'Date Payment Recieved'\nDatePaymentRecievedDBEdit=DatePaymentRecieved/10\n"
      "Label6 'Grand Total'\nDBEdit1=GrandTotal\nLabel7 'Total Tax'\nDBEdit2=TotalTax\n"
      "Label8 'Credit Card Type'\nDBEdit3=Credit Card Type/25\n"
      "Label9 'Credit Card Number'\nDBEdit4=Credit Card Number/20\n"
      "Label10 'Hint: Check payment status first then Enter Payment status  and Date "
      "recieved'\nDBNavigator1\n"
      "cmdEnterPaymentStatusDateRecieved 'Enter Payment Status/ Date Recieved'\n"
      "cmdCheckPaymentStatus 'Check Payment Status'\ncmdPrintInvoice 'Print Invoice'\n"
      "cmdPrintReciept 'Print Reciept'\ncmdHelp 'Help'\ncmdClose '&Close'\n");
  EXPECT_EQ(shipping.caption(), "Shipping Database Manager");
  EXPECT_TRUE(shipping.minimizeBox);
  EXPECT_EQ(
      layout(shipping),
      "Label1 'Date'\nDateDBEdit=Date/10\nLabel2 'Order Number'\n"
      "OrderNumberDBEdit=OrderNumber\nLabel3 'Customer Number'\nCustomerNumberDBEdit=CustNum\n"
      "Label4 'Date Shipped'\nDateShippedDBEdit=DateShipped/10\nLabel5 'Packed By'\n"
      "PackedByByDBEdit=PackedBy/15\nLabel6 'Shipped Via'\nShippedViaDBEdit=ShippedVia/30\n"
      "Label7 'Shipping Charge'\nShippingChargeDBEdit=ShippingCharge\n"
      "Label8 'Hint: check shipping status first  then enter shipping information'\n"
      "DBNavigator1\ncmdEnterShippinginformation 'Enter Shipping information'\n"
      "cmdCheckShippingStatus 'Check Shipping Status'\n"
      "cmdPrintPackagingSlip 'Print Packaging Slip'\ncmdHelp 'Help'\ncmdClose '&Close'\n");
  EXPECT_EQ(payment.caption(), "Payment Status /Date Payment Recieved");
  EXPECT_EQ(layout(payment),
            "Label1 'Order Number'\nOrderNumberDBEdit=OrderNumber\nLabel2 'Payment Status'\n"
            "PaymentStatusDBEdit=PaymentStatus/10\n"
            "Label3 '(Enter recieved or leave blank if not recieved)'\nLabel4 'Date Recieved'\n"
            "DataRecievedDBEdit=DatePaymentRecieved/10\ncmdOK 'OK'\ncmdCancel 'Cancel'\n");
  EXPECT_EQ(info.caption(), "Shipping Information");
  EXPECT_EQ(layout(info),
            "Label1 'Order Number'\nOrderNumberDBEdit=OrderNumber\nLabel2 'Date Shipped'\n"
            "DataShippedDBEdit=DateShipped/10\nLabel3 'Packed By'\nPackedByDBEdit=PackedBy/15\n"
            "Label4 'Shipped Via'\nShippedByDBEdit=ShippedVia/30\nLabel5 'Shipping Charge'\n"
            "ShippingChargeDBEdit=ShippingCharge\nLabel6 'Type new Shipping Charge here'\n"
            "changeShippingChargeDbEdit=ShippingCharge\n"
            "Label7 'then click change shipping charge button'\nLabel8 'Customer Number'\n"
            "CustomerNumberDBEdit=CustNum\ncmdOK 'OK'\n"
            "cmdchangeShippingCharge 'Change Shipping charge'\ncmdCancel 'Cancel'\n");
  const Form& search = *shop.g().SearchShippingBillingDBForm;
  EXPECT_EQ(search.caption(), "Search");
  EXPECT_EQ(layout(search),
            "GroupBox1 'Search Criteria'\noptOrderNumber 'Order Number'\n"
            "optCustNum 'Customer Number'\ncmdOK 'OK'\ncmdCancel 'Cancel'\n");

  for (const Form* f :
       {static_cast<const Form*>(&billingForm), static_cast<const Form*>(&shipping),
        static_cast<const Form*>(&payment), static_cast<const Form*>(&info), &search}) {
    EXPECT_EQ(f->border, BorderStyle::Dialog) << f->name();
    for (const Control* c : f->controls())
      EXPECT_GT(c->bounds().width, 0) << f->name() << "." << c->name();
  }
  for (const DBNavigator* n : {&billingForm.DBNavigator1, &shipping.DBNavigator1})
    EXPECT_EQ(n->visibleButtons(), (std::vector<NavButton>{NavButton::Prior, NavButton::Next}));
  EXPECT_EQ(billingForm.InvoiceReport1.ReportName, "invoice.rpt");
  EXPECT_EQ(billingForm.RecieptReport.ReportName, "Reciept.rpt");
  EXPECT_EQ(shipping.PackagingslipReport.ReportName, "PackagingSlip.rpt");
  EXPECT_EQ(shipping.PackagingslipReport.ReportDir,
            "C:\\Program Files\\DARROWMERE\\DataBase Files\\");
}

TEST_F(BillingWindows, PreviousChargeIsZeroAtStartAndKeptWhileAWrittenTotalIsPending) {
  EXPECT_EQ(shop.app->variables.at("PreviousShippingCharge")(), "0");
  store(1001, 117.5, 12.5);
  billing.refresh();
  shipping.show();
  shipping.cmdEnterShippinginformation.click();
  EXPECT_EQ(info.PreviousShippingCharge, "12.50");
  type(info.changeShippingChargeDbEdit, "7");
  info.cmdchangeShippingCharge.click();
  EXPECT_EQ(info.PreviousShippingCharge, "7.00");
  // Opening the dialog again while the total written for 7.00 is still pending: that total
  // already holds 7.00, not the stored 12.50.
  shipping.cmdEnterShippinginformation.click();
  EXPECT_EQ(info.PreviousShippingCharge, "7.00");
  info.cmdOK.click();
  EXPECT_EQ(billing.fieldByName("GrandTotal").asFloat(), 112);
  EXPECT_EQ(shop.dialogs.takeErrors(), std::vector<std::string>{});
}

TEST_F(BillingWindows, ChargeTypedInTheShippingWindowMovesTheTotalWhateverPostsIt) {
  store(1001, 50, std::nullopt);
  store(1002, 60, 10.0);
  billing.refresh();
  shipping.show();
  type(shipping.ShippingChargeDBEdit, "4.25");
  // Posted by the payment status dialog, which knows nothing of shipping.
  billingForm.cmdEnterPaymentStatusDateRecieved.click();
  type(payment.PaymentStatusDBEdit, "recieved");
  payment.cmdOK.click();
  EXPECT_EQ(billing.fieldByName("GrandTotal").asFloat(), 54.25);
  EXPECT_EQ(billing.fieldByName("ShippingCharge").asFloat(), 4.25);
  // Posted by a move; in browse state nothing typed moves anything.
  shipping.DBNavigator1.click(NavButton::Next);
  type(shipping.ShippingChargeDBEdit, "2.5");
  shipping.DBNavigator1.click(NavButton::Prior);
  billing.selectIndex("");
  ASSERT_TRUE(billing.findKey("1002"));
  EXPECT_EQ(billing.fieldByName("GrandTotal").asFloat(), 52.5);
  EXPECT_EQ(shop.dialogs.takeErrors(), std::vector<std::string>{});
}

// A person doing anything, in any order, with the shipping window, its dialog and the payment
// status dialog: after every step each stored order's grand total is its goods plus its stored
// charge.  Totals and charges
// are multiples of a quarter, so the arithmetic is exact and the check can be strict.
TEST_F(BillingWindows, RandomWalkKeepsEveryGrandTotalHoldingItsChargeOnce) {
  const double goods[] = {100, 37.5, 250.25, 12};
  for (int i = 0; i < 4; ++i) store(1001 + i, goods[i], std::nullopt);
  billing.refresh();
  shipping.show();
  const unsigned seed = std::random_device{}();
  std::mt19937 rng(seed);
  auto pick = [&](int n) { return static_cast<int>(rng() % n); };
  auto chargeText = [&]() -> std::string {
    const int quarters = pick(5) == 0 ? -1 : pick(80);
    return quarters < 0 ? std::string() : std::to_string(quarters / 4.0);
  };
  const std::function<void()> actions[] = {
      [&] { shipping.cmdEnterShippinginformation.click(); },
      [&] { type(info.ShippingChargeDBEdit, chargeText()); },
      [&] { type(info.changeShippingChargeDbEdit, chargeText()); },
      [&] { info.cmdchangeShippingCharge.click(); },
      [&] { info.cmdOK.click(); },
      [&] { info.cmdCancel.click(); },
      [&] { type(shipping.ShippingChargeDBEdit, chargeText()); },
      [&] { shipping.DBNavigator1.click(NavButton::Next); },
      [&] { shipping.DBNavigator1.click(NavButton::Prior); },
      [&] { type(info.PackedByDBEdit, "Ann"); },
      // Typed, and the person goes to another window without leaving the edit.
      [&] { info.ShippingChargeDBEdit.typeText(chargeText()); },
      [&] { info.changeShippingChargeDbEdit.typeText(chargeText()); },
      [&] { shipping.ShippingChargeDBEdit.typeText(chargeText()); },
      [&] { payment.cmdOK.click(); },
  };
  for (int step = 0; step < 400; ++step) {
    actions[pick(std::size(actions))]();
    TableStore& file = billing.file();
    for (int i = 0; i < 4; ++i) {
      const auto row = file.findEqual(billing.def().indexes[0], Value(1001.0 + i));
      ASSERT_TRUE(row);
      const Value& total = row->values[billing.fieldByName("GrandTotal").index()];
      const Value& charge = row->values[billing.fieldByName("ShippingCharge").index()];
      const double c = std::holds_alternative<double>(charge) ? std::get<double>(charge) : 0;
      ASSERT_EQ(std::get<double>(total), goods[i] + c)
          << "order " << 1001 + i << " after step " << step << ", seed " << seed;
    }
  }
  // "Dataset not in edit or insert mode" is the only error such a walk may meet (OK after the
  // record left edit state).
  for (const std::string& e : shop.dialogs.takeErrors())
    EXPECT_EQ(e, "Dataset not in edit or insert mode") << "seed " << seed;
}

}  // namespace
}  // namespace corvanta::test
