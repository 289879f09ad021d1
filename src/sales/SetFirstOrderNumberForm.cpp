#include "sales/SetFirstOrderNumberForm.h"

#include "app/CorvantaApp.h"
#include "data/numbers/Numbers.h"
#include "sales/PreSalesEntryForm.h"
#include "sales/SalesEntryForm.h"
#include "ui/Error.h"

namespace corvanta {

TSetFirstOrderNumberForm::TSetFirstOrderNumberForm(Application& app)
    : Form(app, "SetFirstOrderNumberForm", "Set First Order Number") {
  border = BorderStyle::Dialog;
  clientWidth = 330;
  clientHeight = 130;
  Label1.setBounds(16, 14, 300, 20);
  Label2.setBounds(16, 48, 160, 20);
  Edit1.setBounds(180, 45, 130, 24);
  cmdOK.setBounds(60, 88, 95, 30);
  cmdOK.setKind(Button::Glyph::Ok);
  cmdClose.setBounds(175, 88, 95, 30);
  cmdClose.setKind(Button::Glyph::Close);
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdCloseClick", [this] { cmdCloseClick(); });
}

void TSetFirstOrderNumberForm::cmdOKClick() {
  // Checked here rather than at the first line's post: an order without a number, or with one
  // its lines cannot store, would only be found out once the sale is under way.
  const std::string number = Edit1.text();
  if (number.empty()) {
    app().dialogs().showMessage("Enter the Order Number of the first order.");
    return;
  }
  double value = 0;
  if (!parseFloatStrict(number, value))
    throw Error("'" + number + "' is not a valid floating point value for field 'OrderNumber'");
  auto& g = shop(app()).g;
  if (!g.SalesEntryForm->StartFirstOrder(number)) return;
  close();
  g.PreSalesEntryForm->close();
}

}  // namespace corvanta
