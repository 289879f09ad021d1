#include "billing/ShippingInformationForm.h"

#include <optional>

#include "app/CorvantaApp.h"
#include "billing/BillingRecord.h"
#include "billing/ShippingCharge.h"
#include "data/ProcessingForm.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "ui/FormLayout.h"

namespace corvanta {

namespace {

DBEdit& grandTotalEdit(Application& app) {
  return shop(app).g.SalesProcessingForm->GrandTotalDBEdit;
}

}  // namespace

TShippingInformationForm::TShippingInformationForm(Application& app)
    : Form(app, "ShippingInformationForm", "Shipping Information") {
  border = BorderStyle::Dialog;
  clientWidth = 560;
  clientHeight = 300;

  int y = layFieldRows({{Label1, OrderNumberDBEdit, 120},
                        {Label2, DataShippedDBEdit, 120},
                        {Label3, PackedByDBEdit, 120},
                        {Label4, ShippedByDBEdit, 220},
                        {Label5, ShippingChargeDBEdit, 120}},
                       {.labelLeft = 16, .labelWidth = 200, .fieldLeft = 220}, 14);
  Label6.setBounds(16, y + 3, 200, 20);
  changeShippingChargeDbEdit.setBounds(220, y, 120, 24);
  Label7.setBounds(220, y + 26, 330, 20);
  y += 54;
  Label8.setBounds(16, y + 3, 200, 20);
  CustomerNumberDBEdit.setBounds(220, y, 120, 24);

  cmdOK.setBounds(60, 256, 110, 30);
  cmdOK.setKind(Button::Glyph::Ok);
  cmdchangeShippingCharge.setBounds(185, 256, 190, 30);
  cmdCancel.setBounds(390, 256, 110, 30);
  cmdCancel.setKind(Button::Glyph::Cancel);

  ShippingChargeDBEdit.exitHandler = "ShippingChargeDBEditExit";
  changeShippingChargeDbEdit.exitHandler = "changeShippingChargeDbEditExit";
  addHandler("ShippingChargeDBEditExit", [this] { ShippingChargeDBEditExit(); });
  addHandler("changeShippingChargeDbEditExit", [this] { changeShippingChargeDbEditExit(); });
  ShippingChargeDBEdit.storingAtPost = [this](const std::string& t) { chargeStoredAtPost(t); };
  changeShippingChargeDbEdit.storingAtPost = [this](const std::string& t) {
    chargeStoredAtPost(t);
  };
  addHandler("FormCreate", [this] { FormCreate(); });
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdchangeShippingChargeClick", [this] { cmdchangeShippingChargeClick(); });
  addHandler("cmdCancelClick", [this] { cmdCancelClick(); });
  shop(app).variables["PreviousShippingCharge"] = [this] { return PreviousShippingCharge; };
  FormCreate();
}

void TShippingInformationForm::FormCreate() {
  PreviousShippingCharge = chargeText(ShippingChargeDBEdit.text());
}

void TShippingInformationForm::takePreviousShippingCharge() {
  // A grand total written here and not posted yet already holds the charge it was written
  // for; otherwise the grand total on show is the stored one, holding the stored charge.
  if (grandTotalEdit(app()).modified()) return;
  const std::optional<std::string> stored = storedText(billingTable(app()), "ShippingCharge");
  PreviousShippingCharge = chargeText(stored.value_or(""));
}

void TShippingInformationForm::settleTypedCharges() {
  Table& billing = billingTable(app());
  Field& charge = billing.fieldByName("ShippingCharge");
  for (DBEdit* edit : {&ShippingChargeDBEdit, &changeShippingChargeDbEdit})
    if (edit->modified()) charge.setText(edit->text());
}

void TShippingInformationForm::moveGrandTotalTo(const std::string& charge) {
  if (sameCharge(charge, PreviousShippingCharge)) return;
  DBEdit& total = grandTotalEdit(app());
  const ShortReal newTotal = grandTotalWithCharge(total.text(), PreviousShippingCharge, charge);
  total.setText(writeNumber(newTotal));
  PreviousShippingCharge = chargeText(charge);
}

void TShippingInformationForm::followCharge(const DBEdit& chargeEdit) {
  if (billingTable(app()).state() == TableState::Browse) return;
  takePreviousShippingCharge();
  moveGrandTotalTo(chargeEdit.text());
}

void TShippingInformationForm::chargeStoredAtPost(const std::string& typed) {
  Table& billing = billingTable(app());
  // The grand total as it is about to be stored holds the charge the record holds now.
  const std::string held = chargeText(billing.fieldByName("ShippingCharge").displayText());
  if (sameCharge(typed, held)) return;
  DBEdit& total = grandTotalEdit(app());
  Field& grandTotal = billing.fieldByName("GrandTotal");
  // The processing form's edit may store its own written total before or after this one
  // stores the charge; the new total goes where it will be taken from.
  const bool written = total.modified();
  const std::string newTotal = writeNumber(
      grandTotalWithCharge(written ? total.text() : grandTotal.displayText(), held, typed));
  if (written)
    total.setText(newTotal);
  else
    grandTotal.setText(newTotal);
  PreviousShippingCharge = chargeText(typed);
}

void TShippingInformationForm::cmdOKClick() {
  Table& billing = billingTable(app());
  // Nothing is computed for a record that left edit state behind the dialog: the post refuses.
  if (billing.state() == TableState::Browse) billing.post();
  settleTypedCharges();
  takePreviousShippingCharge();
  moveGrandTotalTo(ShippingChargeDBEdit.text());
  billing.post();
  close();
}

void TShippingInformationForm::cmdchangeShippingChargeClick() {
  if (changeShippingChargeDbEdit.text().empty()) return;
  Table& billing = billingTable(app());
  if (billing.state() != TableState::Browse) settleTypedCharges();
  takePreviousShippingCharge();
  moveGrandTotalTo(changeShippingChargeDbEdit.text());
}

void TShippingInformationForm::onClose() {
  // OK has posted before it closes, so only what Cancel or the close box leave is discarded.
  TShippingBillingDataModule* module = shop(app()).g.ShippingBillingDataModule;
  if (module && module->ShippingBillingTable.active()) module->ShippingBillingTable.cancel();
}

}  // namespace corvanta
