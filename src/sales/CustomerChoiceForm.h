#pragma once
// The customer selection grid of a last-name search: every client in the selected index's
// order, opened on the client found; OK starts the order for whichever client is current.
#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "ui/Form.h"

namespace corvanta {

class TCustomerChoiceForm : public Form {
 public:
  explicit TCustomerChoiceForm(Application& app);

  static constexpr const char* kClients = "ClientDataModule.ClientsDataSource";

  DBGrid DBGrid1{*this, "DBGrid1", kClients};
  Label Label1{*this, "Label1", "Choose the Customer by Clicking on  the Name in the"};
  Label Label2{*this, "Label2", "grid above then click on the OK button"};
  Label Label3{*this, "Label3", "Current Customer"};
  DBEdit DBEdit1{*this, "DBEdit1", kClients, "LastName"};
  DBEdit DBEdit2{*this, "DBEdit2", kClients, "FirstName"};
  Button cmdOK{*this, "cmdOK", "OK", "cmdOKClick"};
  Button cmdCancel{*this, "cmdCancel", "Cancel", "cmdCancelClick"};

  void cmdOKClick();
  void cmdCancelClick() { close(); }
};

}  // namespace corvanta
