#include "tax/SetTaxRateForm.h"

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/numbers/Numbers.h"
#include "ui/Error.h"

namespace corvanta {

TSetTaxRateForm::TSetTaxRateForm(Application& app) : Form(app, "SetTaxRateForm", "Set Tax Rate") {
  border = BorderStyle::Dialog;
  clientWidth = 330;
  clientHeight = 150;
  EnterTaxRateLabel.setBounds(16, 16, 120, 20);
  Edit1.setBounds(140, 13, 100, 24);
  Label1.setBounds(16, 50, 300, 20);
  cmdOK.setBounds(70, 100, 85, 30);
  cmdCancel.setBounds(175, 100, 85, 30);
  cmdOK.setKind(Button::Glyph::Ok);
  cmdCancel.setKind(Button::Glyph::Cancel);
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdCancelClick", [this] { cmdCancelClick(); });
}

void TSetTaxRateForm::cmdOKClick() {
  auto& g = shop(app()).g;
  DBEdit& rateEdit = g.TaxRatePostingForm->TaxRateDBEdit;
  Table& table = rateEdit.link().source()->table();
  const std::string typed = Edit1.text();
  if (typed.empty()) {
    // Nothing typed: the rate in force stays as it is.
    close();
    return;
  }
  double rate = 0;
  if (!parseFloatStrict(typed, rate))
    throw Error("'" + typed + "' is not a valid floating point value for field 'TaxRate'");

  // The single record is replaced in place, in one durable write, rather than deleted and
  // inserted again: a failure between the two would leave the shop without a rate.
  if (!rateEdit.text().empty() || !table.isEmpty()) {
    table.first();
    table.edit();
  } else {
    table.edit();  // on the empty table this starts the insert
    table.insert();
  }
  // What the person typed is stored, even where it reads like the rate shown (7.13 typed over
  // a stored 7.126).
  rateEdit.enterText(typed);
  table.post();
  // The table holds the one rate in force; anything else in it is left over from damage.
  while (table.recordCount() > 1) {
    table.last();
    table.remove();
  }
  table.first();
  close();
}

TTaxRatePostingForm::TTaxRatePostingForm(Application& app)
    : Form(app, "TaxRatePostingForm", "Tax Rate Posting Form") {
  neverShown = true;
  TaxRateLabel.setBounds(8, 8, 80, 20);
  TaxRateDBEdit.setBounds(90, 6, 100, 24);
}

}  // namespace corvanta
