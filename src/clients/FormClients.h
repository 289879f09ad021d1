#pragma once
// The clients window: browses, adds, edits, saves and deletes the shop's customers on the
// shared clients table, chooses its sort order, searches it (through ClientSearchForm), prints
// the client report and mailing labels, and shows the clients help.
//
// The window holds no data: every edit is bound to ClientDataModule.ClientsDataSource, whose
// AutoEdit is off, so typing changes nothing until "Add New Customer" or "Edit Entry" has put
// the table into insert or edit state; "Save Record" posts.
#include <string>

#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "reports/ReportComponent.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"

namespace corvanta {

class Table;

class TFormClients : public Form {
 public:
  explicit TFormClients(Application& app);

  // Upper panel: the current customer.
  Panel Panel1{*this, "Panel1"};
  Label lblCustNum{*this, "lblCustNum", "Customer Number:", &Panel1};
  DBText DBtextCusNum{*this, "DBtextCusNum", kSource, "CustNum", &Panel1};
  Label lblLastName{*this, "lblLastName", "Last Name", &Panel1};
  DBEdit DBEdit1{*this, "DBEdit1", kSource, "LastName", &Panel1};
  Label lblFirstName{*this, "lblFirstName", "First  Name", &Panel1};
  DBEdit DBEdit2{*this, "DBEdit2", kSource, "FirstName", &Panel1};
  Label lblAreaCode{*this, "lblAreaCode", "Area Code", &Panel1};
  DBEdit DBEdit3{*this, "DBEdit3", kSource, "Area Code", &Panel1};
  Label lblTelephoneNum{*this, "lblTelephoneNum", "Telephone No.", &Panel1};
  DBEdit DBEdit4{*this, "DBEdit4", kSource, "Phone", &Panel1};
  GroupBox BillingAddressGroupBox{*this, "BillingAddressGroupBox", "Billing Address", &Panel1};
  Label StreetBillingLabel{*this, "StreetBillingLabel", "Street", &BillingAddressGroupBox};
  DBEdit Street2DBEdit{*this, "Street2DBEdit", kSource, "Street/2", &BillingAddressGroupBox};
  Label CityBillingLabel{*this, "CityBillingLabel", "City", &BillingAddressGroupBox};
  DBEdit City2DBEdit{*this, "City2DBEdit", kSource, "City/2", &BillingAddressGroupBox};
  Label StateBillingLabel{*this, "StateBillingLabel", "State", &BillingAddressGroupBox};
  DBEdit State2DBEdit{*this, "State2DBEdit", kSource, "State/2", &BillingAddressGroupBox};
  Label ZipBillingLabel{*this, "ZipBillingLabel", "Zip", &BillingAddressGroupBox};
  DBEdit Zip2DBEdit{*this, "Zip2DBEdit", kSource, "Zip/2", &BillingAddressGroupBox};
  GroupBox ShippingAddressGroupBox{*this, "ShippingAddressGroupBox", "Shipping Address", &Panel1};
  Label lblStreet{*this, "lblStreet", "Street", &ShippingAddressGroupBox};
  DBEdit DBEditStreet{*this, "DBEditStreet", kSource, "Street", &ShippingAddressGroupBox};
  Label LblCity{*this, "LblCity", "City", &ShippingAddressGroupBox};
  DBEdit DBEditCity{*this, "DBEditCity", kSource, "City", &ShippingAddressGroupBox};
  Label lblState{*this, "lblState", "State", &ShippingAddressGroupBox};
  DBEdit DBEditState{*this, "DBEditState", kSource, "State", &ShippingAddressGroupBox};
  Label lblZip{*this, "lblZip", "Zip", &ShippingAddressGroupBox};
  DBEdit DBEditZip{*this, "DBEditZip", kSource, "Zip", &ShippingAddressGroupBox};

  // Lower panel: sort order, the grid, the navigator and the commands.
  Panel Panel2{*this, "Panel2"};
  GroupBox raOrderBy{*this, "raOrderBy", "Order By", &Panel2};
  OptionButton optLastName{*this, "optLastName", "&Last Name", "optLastNameClick", &raOrderBy};
  OptionButton optCustNum{*this, "optCustNum", "&Customer Number", "optCustNumClick", &raOrderBy};
  DBGrid DBGrid1{*this, "DBGrid1", kSource, &Panel2};
  DBNavigator DBNavigator1{*this,
                           "DBNavigator1",
                           kSource,
                           {NavButton::First, NavButton::Prior, NavButton::Next, NavButton::Last,
                            NavButton::Cancel, NavButton::Refresh},
                           &Panel2};
  Button cmdNewCustomer{*this, "cmdNewCustomer", "&Add New Customer", "cmdNewCustomerClick",
                        &Panel2};
  Button cmdEditEntry{*this, "cmdEditEntry", "&Edit Entry", "cmdEditEntryClick", &Panel2};
  Button cmdSaveRecord{*this, "cmdSaveRecord", "Save &Record", "cmdSaveRecordClick", &Panel2};
  Button cmdDeleteCustomer{*this, "cmdDeleteCustomer", "&Delete Customer", "cmdDeleteCustomerClick",
                           &Panel2};
  Button cmdSearch{*this, "cmdSearch", "&Search", "cmdSearchClick", &Panel2};
  Button cmdPrintReport{*this, "cmdPrintReport", "&Print Report", "cmdPrintReportClick", &Panel2};
  Button cmdPrintLabels{*this, "cmdPrintLabels", "Print La&bels", "cmdPrintLabelsClick", &Panel2};
  Button cmdHelp{*this, "cmdHelp", "&Help", "cmdHelpClick", &Panel2};
  Button cmdExit{*this, "cmdExit", "Cl&ose", "cmdExitClick", &Panel2};

  // Non-visual components: the two report components take their definition from the file
  // chosen in the matching open-file dialog.
  ReportComponent ClientReport1;
  ReportComponent ClientReportLbs5160;
  OpenFileRequest OpenDialogReport;
  OpenFileRequest OpenDialogReportlbs5160;

  // Sort order.  Each selects its index and refreshes; the current customer stays current
  // (a pending new or changed customer is posted if a field changed, else discarded).
  void optLastNameClick();
  void optCustNumClick();
  // Brings the table back to the order the option buttons show.
  void AdjustClientsTable();

  // Edit, then Insert: a new empty customer in insert state; the engine numbers it on post.
  void cmdNewCustomerClick();
  // The current customer into edit state; already editing or inserting: left as it is.
  void cmdEditEntryClick();
  // Posts; in browse state "Dataset not in edit or insert mode".
  void cmdSaveRecordClick();
  // Deletes the current customer after a confirmation that names how many order lines and
  // billing records carry its number (they are kept).  A new, unsaved customer is discarded
  // after a confirmation.  Empty table: "Cannot perform this operation on an empty dataset".
  void cmdDeleteCustomerClick();
  void cmdSearchClick();
  // Ask for the report definition; Cancel runs nothing.
  void cmdPrintReportClick();
  void cmdPrintLabelsClick();
  void cmdHelpClick();
  // Hides the window; a pending edit or insert stays pending.
  void cmdExitClick() { close(); }

  // Used by the search dialog.  Last name: nearest match (an empty entry goes to the first
  // customer in last-name order).  Customer number: exact; not found shows "Customer Number
  // not found !" and stays; a text that is no whole number throws the engine's conversion
  // error with the primary index selected.  Both end with AdjustClientsTable.
  void SearchByLastName();
  void SearchByCustNum();

  // The text of the delete confirmation for the current customer, counted without moving
  // the sales or billing cursors.
  std::string deleteConfirmationText();

  static constexpr const char* kSource = "ClientDataModule.ClientsDataSource";

 private:
  Table& clients() const;
};

}  // namespace corvanta
