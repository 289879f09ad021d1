#include "clients/ClientSearchForm.h"

#include "app/CorvantaApp.h"
#include "clients/FormClients.h"

namespace corvanta {

TClientSearchForm::TClientSearchForm(Application& app) : Form(app, "ClientSearchForm", "Search") {
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
