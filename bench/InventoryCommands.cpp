// The inventory window's commands at a decade's data, each as a person gives it: the button
// clicked, the option chosen, the dialog answered.  Set-up that is not the command (moving to
// a random item, undoing a delete) runs outside the timing.
#include <string>

#include "BenchData.h"
#include "WindowShop.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "inventory/InventoryForm.h"
#include "inventory/OrderForm.h"
#include "inventory/SearchForm.h"

namespace corvanta::bench {

namespace {

constexpr const char* kReorderDefinition =
    "c:\\Program Files\\DARROWMERE\\Database Files\\reorder.rpt";

Table& stock() {
  return windowShop().g().DataModule2->InventoryTable1;
}
TInventoryForm& inventory() {
  return *windowShop().g().InventoryForm;
}
const Keys& partNumbers() {
  return windowShop().source.keysOf("stock.db", "");
}

std::string partNumber() {
  return stock().fieldByName("PartNumber").displayText();
}

// Every benchmark starts from the window as it opens: part number order, both dialogs
// closed with their first option chosen, nothing pending.
void stockHome() {
  auto& g = windowShop().g();
  Table& t = stock();
  t.cancel();
  g.SearchForm->close();
  g.SearchForm->optSearchItemNumber.setChecked(true);
  g.OrderForm->close();
  g.OrderForm->optOrderbyItemNumber.setChecked(true);
  t.selectIndex("");
  t.refresh();
  inventory().show();
}

// The i-th sampled item becomes current (outside the timing).
void goToItem(size_t i) {
  const Keys& keys = partNumbers();
  stock().findKey(keys.text[i % keys.size()]);
}

void searchPartNumberFound(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  TSearchForm& search = *w.g().SearchForm;
  stockHome();
  CommandTimer time(state, fig);
  const Keys& keys = partNumbers();
  size_t i = 0;
  for (auto _ : state) {
    const std::string& part = keys.text[i++ % keys.size()];
    w.dialogs.queueAnswer(part);
    time([&] {
      inventory().cmdSearch.click();
      search.optSearchItemNumber.choose();
      search.cmdOK.click();
    });
    if (!w.quiet(state) ||
        !expect(state, partNumber() == part, "the item searched for is not current"))
      break;
  }
  stockHome();
}

void searchPartNumberNotFound(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  TSearchForm& search = *w.g().SearchForm;
  stockHome();
  CommandTimer time(state, fig);
  const Keys& keys = partNumbers();
  size_t i = 0;
  for (auto _ : state) {
    // Between two stored part numbers, so the search reaches the leaf pages as a hit does.
    w.dialogs.queueAnswer(keys.text[i++ % keys.size()] + "X");
    time([&] {
      inventory().cmdSearch.click();
      search.optSearchItemNumber.choose();
      search.cmdOK.click();
    });
    const bool told =
        w.dialogs.takeMessages() == std::vector<std::string>{"Item Number not found !"};
    if (!w.quiet(state) || !expect(state, told, "no \"not found\" message")) break;
  }
  stockHome();
}

void searchDescription(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  TSearchForm& search = *w.g().SearchForm;
  stockHome();
  CommandTimer time(state, fig);
  const Keys& prefixes = w.source.descriptionPrefixes;
  size_t i = 0;
  for (auto _ : state) {
    w.dialogs.queueAnswer(prefixes.text[i++ % prefixes.size()]);
    // The dialog stays open after a description search; Cancel closes it.
    time([&] {
      inventory().cmdSearch.click();
      search.optSearchDescription.choose();
      search.cmdOK.click();
      search.cmdCancel.click();
    });
    if (!w.quiet(state)) break;
  }
  stockHome();
}

// Order: choose the option, OK.  `to` is timed; `from` puts the other order back untimed.
void chooseOrder(OptionButton& option) {
  TOrderForm& order = *windowShop().g().OrderForm;
  inventory().cmdOrder.click();
  option.choose();
  order.cmdOK.click();
}

void orderBy(benchmark::State& state, Figure& fig, bool byDescription) {
  WindowShop& w = windowShop();
  TOrderForm& order = *w.g().OrderForm;
  OptionButton& to = byDescription ? order.optOrderbyDescription : order.optOrderbyItemNumber;
  OptionButton& from = byDescription ? order.optOrderbyItemNumber : order.optOrderbyDescription;
  stockHome();
  CommandTimer time(state, fig);
  size_t i = 0;
  for (auto _ : state) {
    goToItem(i++ * 7919);
    chooseOrder(from);
    time([&] { chooseOrder(to); });
    const bool ordered = stock().index().name == (byDescription ? "byDescription" : "");
    if (!w.quiet(state) || !expect(state, ordered, "order not changed")) break;
  }
  stockHome();
}

void orderByDescription(benchmark::State& s, Figure& f) {
  orderBy(s, f, true);
}
void orderByPartNumber(benchmark::State& s, Figure& f) {
  orderBy(s, f, false);
}

// Add or Remove Inventory of a few items on a random item.
void changeQuantity(benchmark::State& state, Figure& fig, bool add) {
  WindowShop& w = windowShop();
  stockHome();
  CommandTimer time(state, fig);
  Field& quantity = stock().fieldByName("Quantity");
  size_t i = 0;
  for (auto _ : state) {
    goToItem(i++);
    const double before = quantity.asFloat();
    w.dialogs.queueAnswer("5");
    time([&] { (add ? inventory().cmdAddInventory : inventory().cmdRemoveInventory).click(); });
    if (!w.quiet(state) ||
        !expect(state, quantity.asFloat() == before + (add ? 5 : -5), "quantity not changed"))
      break;
  }
  stockHome();
}

void addInventory(benchmark::State& s, Figure& f) {
  changeQuantity(s, f, true);
}
void removeInventory(benchmark::State& s, Figure& f) {
  changeQuantity(s, f, false);
}

void minimumQuantity(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  stockHome();
  CommandTimer time(state, fig);
  Field& minimum = stock().fieldByName("MinimumQuantity");
  size_t i = 0;
  for (auto _ : state) {
    goToItem(i++);
    // Always a different number, so that every run writes.
    const std::string typed = std::to_string(static_cast<int>(minimum.asFloat()) % 50 + 1);
    w.dialogs.queueAnswer(typed);
    time([&] { inventory().cmdMinQuantity.click(); });
    if (!w.quiet(state) || !expect(state, minimum.displayText() == typed, "minimum not posted"))
      break;
  }
  stockHome();
}

void editAndSave(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  TInventoryForm& form = inventory();
  stockHome();
  CommandTimer time(state, fig);
  size_t i = 0;
  for (auto _ : state) {
    goToItem(i);
    const std::string price = std::to_string(10 + i % 90) + ".25";
    ++i;
    time([&] {
      form.cmdEditItem.click();
      form.EditPrice.typeText(price);
      form.EditPrice.leave();
      form.cmdSaveItem.click();
    });
    if (!w.quiet(state) || !expect(state,
                                   stock().state() == TableState::Browse &&
                                       stock().fieldByName("Price").asFloat() == std::stod(price),
                                   "price not posted"))
      break;
  }
  stockHome();
}

void addAndSave(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  TInventoryForm& form = inventory();
  stockHome();
  CommandTimer time(state, fig);
  size_t i = 0;
  auto type = [](DBEdit& edit, const std::string& text) {
    edit.typeText(text);
    edit.leave();
  };
  for (auto _ : state) {
    goToItem(i);
    const std::string part = "NEW-" + std::to_string(900000 + i++);
    time([&] {
      form.cmdAddItem.click();
      type(form.EditItemNumber, part);
      type(form.EditDescription, "Bench test widget");
      type(form.EditPrice, "12.50");
      type(form.EditQuantity, "10");
      type(form.editMinQuan, "5");
      type(form.CategoryDBEdit, "Test");
      form.cmdSaveItem.click();
    });
    if (!w.quiet(state) || !expect(state, partNumber() == part, "new item not current")) break;
    stock().remove();  // the set keeps its size
  }
  stockHome();
}

void deleteItem(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  stockHome();
  CommandTimer time(state, fig);
  Table& t = stock();
  size_t i = 0;
  for (auto _ : state) {
    goToItem(i++ * 31);
    const auto stored = t.file().byRowid(t.currentRowid());
    w.dialogs.queueConfirmation(true);
    time([&] { inventory().cmdDeleteItem.click(); });
    if (!w.quiet(state) || !expect(state, !t.file().byRowid(stored->rowid), "item not deleted"))
      break;
    t.file().insert(stored->values);  // back again, under a new row id
  }
  stockHome();
}

// Navigator clicks from random places in part number order.
void navigate(benchmark::State& state, Figure& fig, NavButton button) {
  WindowShop& w = windowShop();
  stockHome();
  CommandTimer time(state, fig);
  Table& t = stock();
  size_t i = 0;
  for (auto _ : state) {
    // A fresh place every 64 clicks, and whenever the button would be disabled.
    if (i % 64 == 0 || t.eof() || t.bof() || button == NavButton::Last) goToItem(i * 131);
    ++i;
    time([&] { inventory().DBNavigator.click(button); });
    if (!w.quiet(state)) break;
  }
  stockHome();
}

void navigateNext(benchmark::State& s, Figure& f) {
  navigate(s, f, NavButton::Next);
}
void navigatePrior(benchmark::State& s, Figure& f) {
  navigate(s, f, NavButton::Prior);
}
void navigateLast(benchmark::State& s, Figure& f) {
  navigate(s, f, NavButton::Last);
}

// The grid in part number order, or in description order, from a random item.
GridUnderTest stockGrid() {
  return {inventory().DBGrid1, stock(), stockHome, [](size_t i) { goToItem(i); }};
}

void gridFirstPaintByPart(benchmark::State& s, Figure& f) {
  timeGridFirstPaint(s, f, stockGrid(), "");
}
void gridFirstPaintByDescription(benchmark::State& s, Figure& f) {
  timeGridFirstPaint(s, f, stockGrid(), "byDescription");
}
void gridScrollToEndByPart(benchmark::State& s, Figure& f) {
  timeGridScrollToEnd(s, f, stockGrid(), "");
}
void gridScrollToEndByDescription(benchmark::State& s, Figure& f) {
  timeGridScrollToEnd(s, f, stockGrid(), "byDescription");
}

void printReorderList(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  stockHome();
  CommandTimer time(state, fig);
  for (auto _ : state) {
    const int runs = w.reports.runs;
    w.dialogs.queueFile(kReorderDefinition);
    time([&] { inventory().cmdPrintInventorytoOrder.click(); });
    if (!w.quiet(state) || !expect(state, w.reports.runs == runs + 1, "report not run")) break;
  }
  stockHome();
}

}  // namespace

void registerInventoryCommands() {
  registerCommand("Inventory/SearchPartNumberFound", "Search by part number, found", 2000,
                  searchPartNumberFound);
  registerCommand("Inventory/SearchPartNumberNotFound", "Search by part number, not found", 2000,
                  searchPartNumberNotFound);
  registerCommand("Inventory/SearchDescription", "Search by description (nearest)", 2000,
                  searchDescription);
  registerCommand("Inventory/OrderByDescription", "Order by description", 1000, orderByDescription);
  registerCommand("Inventory/OrderByPartNumber", "Order by part number (back)", 1000,
                  orderByPartNumber);
  registerCommand("Inventory/AddInventory", "Add Inventory (5 items)", 1000, addInventory);
  registerCommand("Inventory/RemoveInventory", "Remove Inventory (5 items)", 1000, removeInventory);
  registerCommand("Inventory/MinimumQuantity", "Minimum Quantity", 1000, minimumQuantity);
  registerCommand("Inventory/EditAndSave", "Edit Entry, new price typed, Save Entry", 1000,
                  editAndSave);
  registerCommand("Inventory/AddAndSave", "Add Item, six fields typed, Save Entry", 1000,
                  addAndSave);
  registerCommand("Inventory/DeleteItem", "Delete Item, confirmed", 1000, deleteItem);
  registerCommand("Inventory/NavigatorNext", "Navigator Next", 3000, navigateNext);
  registerCommand("Inventory/NavigatorPrior", "Navigator Prior", 3000, navigatePrior);
  registerCommand("Inventory/NavigatorLast", "Navigator Last", 2000, navigateLast);
  registerCommand("Inventory/GridFirstPaint", "Grid first paint (count, 40 rows, current position)",
                  200, gridFirstPaintByPart);
  registerCommand("Inventory/GridScrollToEnd", "Grid scroll to the end (last 40 rows)", 200,
                  gridScrollToEndByPart);
  registerCommand("Inventory/GridFirstPaintByDescription", "Grid first paint, description order",
                  200, gridFirstPaintByDescription);
  registerCommand("Inventory/GridScrollToEndByDescription",
                  "Grid scroll to the end, description order", 200, gridScrollToEndByDescription);
  registerCommand("Inventory/PrintReorderList", "Print List of Items to Re-Order (recorded)", 3000,
                  printReorderList);
}

}  // namespace corvanta::bench
