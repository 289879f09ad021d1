#include "clients/ClientSearchForm.h"

#include "app/CorvantaApp.h"
#include "clients/FormClients.h"

namespace corvanta {

TClientSearchForm::TClientSearchForm(Application& app) : Form(app, "ClientSearchForm", "Search") {
  border = BorderStyle::Dialog;
  clientWidth = 260;
  clientHeight = 150;
  raSearchBy.setBounds(12, 10, 236, 80);
  optSearchLastName.setBounds(14, 22, 200, 20);
  optSearchCustNum.setBounds(14, 48, 200, 20);
  optSearchLastName.setChecked(true);
  BitBtn1.setBounds(40, 104, 85, 30);
  BitBtn1.setKind(Button::Glyph::Ok);
  BitBtn2.setBounds(135, 104, 85, 30);
  BitBtn2.setKind(Button::Glyph::Cancel);
  addHandler("BitBtn1Click", [this] { BitBtn1Click(); });
  addHandler("BitBtn2Click", [this] { BitBtn2Click(); });
}

void TClientSearchForm::BitBtn1Click() {
  TFormClients& clients = *shop(app()).g.FormClients;
  if (optSearchLastName.checked())
    clients.SearchByLastName();
  else if (optSearchCustNum.checked())
    clients.SearchByCustNum();
  close();
}

}  // namespace corvanta
