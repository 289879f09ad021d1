#pragma once
// The inventory window ("Talvesk"): the stock manager.  It shows the shared stock table
// (DataModule2.InventoryTable1 through DataSource1) one record at a time in data-aware edits
// and every record in a read-only grid, and runs the stock commands.  Other windows read
// EditPrice, the three DiscountPrice edits and EditQuantity for the current stock record, so
// their names and bindings are part of this window's interface.
//
// Every command works on the table's current record and costs a few keyed reads, whatever the
// size of the stock list.
#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "reports/ReportComponent.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"

namespace corvanta {

class Table;

class TInventoryForm : public Form {
 public:
  explicit TInventoryForm(Application& app);

  static constexpr const char* kStock = "DataModule2.DataSource1";

  // Record controls, in tab order.
  Label Label1{*this, "Label1", "Part Number"};
  DBEdit EditItemNumber{*this, "EditItemNumber", kStock, "PartNumber"};
  Label Label2{*this, "Label2", "Description"};
  DBEdit EditDescription{*this, "EditDescription", kStock, "Description"};
  Label Label3{*this, "Label3", "Price"};
  DBEdit EditPrice{*this, "EditPrice", kStock, "Price"};
  Label Label4{*this, "Label4", "Discount  Price 1"};
  DBEdit DiscountPrice1DBEdit{*this, "DiscountPrice1DBEdit", kStock, "DiscountPrice1"};
  Label Label5{*this, "Label5", "Discount  Price 2"};
  DBEdit DiscountPrice2DBEdit{*this, "DiscountPrice2DBEdit", kStock, "DiscountPrice2"};
  Label Label6{*this, "Label6", "Discount Price 3"};
  DBEdit DiscountPrice3DBEdit{*this, "DiscountPrice3DBEdit", kStock, "DiscountPrice3"};
  Label Label7{*this, "Label7", "Quantity"};
  DBEdit EditQuantity{*this, "EditQuantity", kStock, "Quantity"};
  Label Label8{*this, "Label8", "Minimum Quantity"};
  DBEdit editMinQuan{*this, "editMinQuan", kStock, "MinimumQuantity"};
  Label Label9{*this, "Label9", "Category"};
  DBEdit CategoryDBEdit{*this, "CategoryDBEdit", kStock, "Category"};

  // Every stock record, every field, in the order of the table's selected index.
  DBGrid DBGrid1{*this, "DBGrid1", kStock};
  corvanta::DBNavigator DBNavigator{*this,
                                    "DBNavigator",
                                    kStock,
                                    {NavButton::First, NavButton::Prior, NavButton::Next,
                                     NavButton::Last, NavButton::Cancel, NavButton::Refresh}};

  Button cmdAddItem{*this, "cmdAddItem", "&Add Item", "cmdAddItemClick"};
  Button cmdDeleteItem{*this, "cmdDeleteItem", "&Delete Item", "cmdDeleteItemClick"};
  Button cmdSaveItem{*this, "cmdSaveItem", "Sa&ve Entry", "cmdSaveItemClick"};
  Button cmdEditItem{*this, "cmdEditItem", "&Edit  Entry", "cmdEditItemClick"};
  Button cmdSearch{*this, "cmdSearch", "&Search", "cmdSearchClick"};
  Button cmdOrder{*this, "cmdOrder", "&Order", "cmdOrderClick"};
  Button cmdMinQuantity{*this, "cmdMinQuantity", "&Minimum Quantity", "cmdMinQuantityClick"};
  Button cmdAddInventory{*this, "cmdAddInventory", "Add &Inventory", "cmdAddInventoryClick"};
  Button cmdRemoveInventory{*this, "cmdRemoveInventory", "&Remove Inventory",
                            "cmdRemoveInventoryClick"};
  Button cmdPrintPreview{*this, "cmdPrintPreview", "&Print Preview", "cmdPrintPreviewClick"};
  Button cmdPrintInventorytoOrder{*this, "cmdPrintInventorytoOrder",
                                  "Print &List of Items to Re-Order",
                                  "cmdPrintInventorytoOrderClick"};
  Button cmdHelp{*this, "cmdHelp", "&Help", "cmdHelpClick"};
  Button cmdClose{*this, "cmdClose", "&Close", "cmdCloseClick"};

  // The main menu MainMenu1.  A menu item whose caption is "-" is a separator.
  MenuItem File1{*this, "File1", "Database", ""};
  MenuItem AddItem1{*this, "AddItem1", "Add Item", "cmdAddItemClick", &File1};
  MenuItem DeleteItem1{*this, "DeleteItem1", "Delete Item", "cmdDeleteItemClick", &File1};
  MenuItem EditEntry1{*this, "EditEntry1", "Edit Entry", "cmdEditItemClick", &File1};
  MenuItem N1{*this, "N1", "-", "", &File1};
  MenuItem Search2{*this, "Search2", "Search", "cmdSearchClick", &File1};
  MenuItem Order1{*this, "Order1", "Order", "cmdOrderClick", &File1};
  MenuItem Save1{*this, "Save1", "Save Entry", "cmdSaveItemClick", &File1};
  MenuItem N2{*this, "N2", "-", "", &File1};
  MenuItem Exit1{*this, "Exit1", "Exit", "cmdCloseClick", &File1};
  MenuItem Inventory1{*this, "Inventory1", "Inventory", ""};
  MenuItem AddInventory1{*this, "AddInventory1", "Add Inventory", "cmdAddInventoryClick",
                         &Inventory1};
  MenuItem RemoveInventory1{*this, "RemoveInventory1", "Remove Inventory",
                            "cmdRemoveInventoryClick", &Inventory1};
  MenuItem N3{*this, "N3", "-", "", &Inventory1};
  MenuItem MinumumQuantity{*this, "MinumumQuantity", "Set Minimum Quantity", "cmdMinQuantityClick",
                           &Inventory1};
  MenuItem PrintPreview1{*this, "PrintPreview1", "Print Preview", "cmdPrintPreviewClick",
                         &Inventory1};
  MenuItem PrintItemsToOrder{*this, "PrintItemsToOrder", "Print  List of Items To Re-Order",
                             "cmdPrintInventorytoOrderClick", &Inventory1};
  MenuItem Help1{*this, "Help1", "Help", ""};
  MenuItem About1{*this, "About1", "Help Topics", "cmdHelpClick", &Help1};
  MenuItem About2{*this, "About2", "About", "About2Click", &Help1};

  // The two file dialogs that choose a report definition, and the two report components.
  OpenFileRequest PreviewDialog1;
  OpenFileRequest PrintDialog2;
  ReportComponent PreviewReport;
  ReportComponent PrintReport;

  // Add Item: a new empty record in insert state; a change typed into the current record
  // before is settled first (posted when a field changed).
  void cmdAddItemClick();
  // Save Entry: posts the record being inserted or edited ("Dataset not in edit or insert
  // mode" in browse state).  A part number that exists already is refused by the table's
  // unique index; the record keeps its state and its texts.
  void cmdSaveItemClick();
  // Edit Entry: the current record becomes editable.
  void cmdEditItemClick();
  // Delete Item: asks first; then the stored record goes and the next one (the previous one
  // at the end) becomes current.  A new record not saved yet is discarded instead.
  void cmdDeleteItemClick();
  // Add / Remove Inventory: asks for a number of items and posts the current quantity plus or
  // minus it, both read as whole numbers.  Cancel or an empty answer changes nothing.
  void cmdAddInventoryClick();
  void cmdRemoveInventoryClick();
  // Minimum Quantity: asks for the minimum and posts the text as typed; a text the field
  // cannot take is refused at the post and the record stays in edit state.
  void cmdMinQuantityClick();
  void cmdSearchClick();
  void cmdOrderClick();
  // Print Preview: the stock report chosen in PreviewDialog1, shown on screen first.
  void cmdPrintPreviewClick();
  // Print List of Items to Re-Order: the report chosen in PrintDialog2, limited to the items
  // whose Quantity is at or below their MinimumQuantity.
  void cmdPrintInventorytoOrderClick();
  void cmdHelpClick();
  void About2Click();
  // Close: hides the window; a pending change stays pending.
  void cmdCloseClick() { close(); }

 private:
  Table& stock() const;
  void layOut();
  // Add or Remove Inventory: sign is +1 or -1.
  void changeQuantity(const std::string& caption, const std::string& prompt, int sign);
  // The stock commands that edit the current record need one; an empty stock list has none.
  void requireRecord(Table& table) const;
};

}  // namespace corvanta
