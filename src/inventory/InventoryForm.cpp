#include "inventory/InventoryForm.h"

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "inventory/InventoryAboutBox.h"
#include "inventory/OrderForm.h"
#include "inventory/SearchForm.h"
#include "inventory/StockText.h"
#include "reports/ReportFileDialog.h"
#include "ui/Error.h"
#include "ui/FormLayout.h"

namespace corvanta {

TInventoryForm::TInventoryForm(Application& app)
    : Form(app, "InventoryForm", "Talvesk"),
      PreviewDialog1(reportFileDialog("Print Preview", "stock.rpt")),
      PrintDialog2(reportFileDialog("Print ", "stock.rpt")),
      PreviewReport(shop(app).reports(), "PreviewReport", "", "", true),
      PrintReport(shop(app).reports(), "PrintReport", "", "", false) {
  layOut();
  addHandler("cmdAddItemClick", [this] { cmdAddItemClick(); });
  addHandler("cmdSaveItemClick", [this] { cmdSaveItemClick(); });
  addHandler("cmdEditItemClick", [this] { cmdEditItemClick(); });
  addHandler("cmdDeleteItemClick", [this] { cmdDeleteItemClick(); });
  addHandler("cmdAddInventoryClick", [this] { cmdAddInventoryClick(); });
  addHandler("cmdRemoveInventoryClick", [this] { cmdRemoveInventoryClick(); });
  addHandler("cmdMinQuantityClick", [this] { cmdMinQuantityClick(); });
  addHandler("cmdSearchClick", [this] { cmdSearchClick(); });
  addHandler("cmdOrderClick", [this] { cmdOrderClick(); });
  addHandler("cmdPrintPreviewClick", [this] { cmdPrintPreviewClick(); });
  addHandler("cmdPrintInventorytoOrderClick", [this] { cmdPrintInventorytoOrderClick(); });
  addHandler("cmdHelpClick", [this] { cmdHelpClick(); });
  addHandler("About2Click", [this] { About2Click(); });
  addHandler("cmdCloseClick", [this] { cmdCloseClick(); });
}

void TInventoryForm::layOut() {
  border = BorderStyle::Dialog;
  clientWidth = 860;
  clientHeight = 610;

  // Record controls: prices and description on the left, stock figures on the right.
  layFieldRows({{Label1, EditItemNumber, 300},
                {Label2, EditDescription, 300},
                {Label3, EditPrice, 110},
                {Label4, DiscountPrice1DBEdit, 110},
                {Label5, DiscountPrice2DBEdit, 110},
                {Label6, DiscountPrice3DBEdit, 110}},
               {}, 12);
  layFieldRows(
      {{Label7, EditQuantity, 110}, {Label8, editMinQuan, 110}, {Label9, CategoryDBEdit, 180}},
      {.labelLeft = 445, .labelWidth = 115, .fieldLeft = 560}, 12);

  DBGrid1.setBounds(12, 200, 600, 360);
  DBNavigator.setBounds(12, 570, 240, 28);

  // Commands in a column on the right, Close apart at the bottom.
  // The figures' column leaves room above the buttons for the category edit.
  layButtonColumn({&cmdAddItem, &cmdDeleteItem, &cmdSaveItem, &cmdEditItem, &cmdSearch, &cmdOrder,
                   &cmdMinQuantity, &cmdAddInventory, &cmdRemoveInventory, &cmdPrintPreview,
                   &cmdPrintInventorytoOrder, &cmdHelp},
                  628, 110, 220, 28, 34);
  cmdHelp.glyph = Button::Glyph::Help;
  cmdClose.glyph = Button::Glyph::Close;
  cmdClose.setBounds(628, 570, 220, 28);
}

Table& TInventoryForm::stock() const {
  return shop(app()).g.DataModule2->InventoryTable1;
}

void TInventoryForm::requireRecord(Table& table) const {
  // Entering edit state on an empty table would start an insert, and the command would then
  // store a nameless item that nobody asked for.
  if (table.isEmpty()) throw Error("Cannot perform this operation on an empty dataset");
}

void TInventoryForm::cmdAddItemClick() {
  Table& t = stock();
  t.edit();
  t.insert();
}

void TInventoryForm::cmdSaveItemClick() {
  stock().post();
}

void TInventoryForm::cmdEditItemClick() {
  stock().edit();
}

void TInventoryForm::cmdDeleteItemClick() {
  Table& t = stock();
  if (t.state() == TableState::Insert) {
    if (app().dialogs().confirm("Delete Item", "Discard the new item that is not saved yet?"))
      t.cancel();
    return;
  }
  if (t.isEmpty()) {
    t.remove();  // refused by the table with its own message
    return;
  }
  // Name the stored item, not a part number half-typed into the edit.
  std::string part;
  if (auto stored = t.file().byRowid(t.currentRowid()))
    part = displayTextOf(t.def().fields[0], stored->values[0]);
  const std::string question = part.empty() ? "Delete this item?" : "Delete item " + part + "?";
  if (!app().dialogs().confirm("Delete Item", question)) return;
  t.remove();
}

void TInventoryForm::changeQuantity(const std::string& caption, const std::string& prompt,
                                    int sign) {
  Table& t = stock();
  requireRecord(t);
  std::string typed;
  if (!app().dialogs().inputQuery(caption, prompt, typed) || typed.empty()) return;
  const std::string quantity = adjustedQuantityText(EditQuantity.text(), typed, sign);
  // Edit state first: entering it reloads the controls, so the text must follow it.  The new
  // quantity is stored even where it reads as the one shown.
  t.edit();
  EditQuantity.enterText(quantity);
  t.post();
}

void TInventoryForm::cmdAddInventoryClick() {
  changeQuantity("Add Inventory", "Enter Number of items to add:", +1);
}

void TInventoryForm::cmdRemoveInventoryClick() {
  changeQuantity("Remove Inventory", "Enter Number of items to Remove:", -1);
}

void TInventoryForm::cmdMinQuantityClick() {
  Table& t = stock();
  requireRecord(t);
  const std::string typed = app().dialogs().inputBox("Set Minimum Quantity", "Enter Minimum:", "");
  if (typed.empty()) return;
  t.edit();
  editMinQuan.enterText(typed);  // stored as typed, even where it reads as the minimum shown
  t.post();
}

void TInventoryForm::cmdSearchClick() {
  shop(app()).g.SearchForm->show();
}

void TInventoryForm::cmdOrderClick() {
  shop(app()).g.OrderForm->show();
}

void TInventoryForm::cmdPrintPreviewClick() {
  runChosenReport(app().dialogs(), PreviewDialog1, PreviewReport);
}

void TInventoryForm::cmdPrintInventorytoOrderClick() {
  runChosenReport(app().dialogs(), PrintDialog2, PrintReport, {{"filter", "reorder"}});
}

void TInventoryForm::cmdHelpClick() {
  app().setHelpFile("C:\\windows\\help\\Inventory.HLP");
  app().helpCommand(3, 0);
}

void TInventoryForm::About2Click() {
  shop(app()).g.InventoryAboutBox->show();
}

}  // namespace corvanta
