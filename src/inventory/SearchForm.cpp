#include "inventory/SearchForm.h"

#include "app/CorvantaApp.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"

namespace corvanta {

TSearchForm::TSearchForm(Application& app) : Form(app, "SearchForm", "Search") {
  addHandler("cmdOKClick", [this] { cmdOKClick(); });
  addHandler("cmdCancelClick", [this] { cmdCancelClick(); });
}

Table& TSearchForm::stock() const {
  return shop(app()).g.DataModule2->InventoryTable1;
}

void TSearchForm::AdjustTable() {
  Table& t = stock();
  if (optSearchItemNumber.checked())
    t.selectIndex("");
  else if (optSearchDescription.checked())
    t.selectIndex("byDescription");
  t.refresh();
}

void TSearchForm::cmdOKClick() {
  Table& t = stock();
  if (optSearchItemNumber.checked()) {
    const std::string part =
        app().dialogs().inputBox("Search", "Enter Part Number to search for:", "");
    if (part.empty()) return;
    t.selectIndex("");
    const bool found = t.findKey(part);
    AdjustTable();
    close();
    if (!found) app().dialogs().showMessage("Item Number not found !");
  } else if (optSearchDescription.checked()) {
    t.selectIndex("byDescription");
    const std::string description =
        app().dialogs().inputBox("Search", "Enter Description to Search for", "");
    t.findNearest(description);
    AdjustTable();
  }
}

}  // namespace corvanta
