// The clients window's commands at a decade's data, each as a person gives it.  Set-up that
// is not the command (moving to a random customer, undoing a delete) runs outside the timing.
#include <string>

#include "BenchData.h"
#include "WindowShop.h"
#include "clients/ClientSearchForm.h"
#include "clients/FormClients.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"

namespace corvanta::bench {

namespace {

Table& clients() {
  return windowShop().g().ClientDataModule->ClientsTable;
}
TFormClients& clientsWindow() {
  return *windowShop().g().FormClients;
}
const Keys& customerNumbers() {
  return windowShop().source.keysOf("clients.DB", "");
}
const Keys& lastNames() {
  return windowShop().source.keysOf("clients.DB", "byLastName");
}

std::string field(const char* name) {
  return clients().fieldByName(name).displayText();
}

// The window as it opens: customer number order, the search dialog closed with its first
// option chosen, nothing pending.
void clientsHome() {
  auto& g = windowShop().g();
  Table& t = clients();
  t.cancel();
  g.ClientSearchForm->close();
  g.ClientSearchForm->optSearchLastName.setChecked(true);
  clientsWindow().optCustNum.setChecked(true);
  t.selectIndex("");
  t.refresh();
  clientsWindow().show();
}

// The i-th sampled customer becomes current, skipping the walk-in customer (outside the timing).
void goToCustomer(size_t i) {
  const Keys& keys = customerNumbers();
  std::string key = keys.text[i % keys.size()];
  if (key == "1") key = keys.text[(i + 1) % keys.size()];
  clients().findKey(key);
}

void runSearch(OptionButton& option) {
  TClientSearchForm& search = *windowShop().g().ClientSearchForm;
  clientsWindow().cmdSearch.click();
  option.choose();
  search.BitBtn1.click();
}

void searchLastName(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  clientsHome();
  CommandTimer time(state, fig);
  const Keys& keys = lastNames();
  size_t i = 0;
  for (auto _ : state) {
    const std::string& name = keys.text[i++ % keys.size()];
    w.dialogs.queueAnswer(name);
    time([&] { runSearch(w.g().ClientSearchForm->optSearchLastName); });
    if (!w.quiet(state) || !expect(state, field("LastName") == name, "name not found")) break;
  }
  clientsHome();
}

void searchCustomerNumber(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  clientsHome();
  CommandTimer time(state, fig);
  const Keys& keys = customerNumbers();
  size_t i = 0;
  for (auto _ : state) {
    const std::string& number = keys.text[i++ % keys.size()];
    w.dialogs.queueAnswer(number);
    time([&] { runSearch(w.g().ClientSearchForm->optSearchCustNum); });
    if (!w.quiet(state) || !expect(state, field("CustNum") == number, "customer not found")) break;
  }
  clientsHome();
}

// Sort order: `to` chosen (timed) after `from` untimed, from a random customer.
void sortBy(benchmark::State& state, Figure& fig, bool byLastName) {
  WindowShop& w = windowShop();
  TFormClients& form = clientsWindow();
  OptionButton& to = byLastName ? form.optLastName : form.optCustNum;
  OptionButton& from = byLastName ? form.optCustNum : form.optLastName;
  clientsHome();
  CommandTimer time(state, fig);
  size_t i = 0;
  for (auto _ : state) {
    goToCustomer(i++ * 7919);
    from.choose();
    time([&] { to.choose(); });
    const bool ordered = clients().index().name == (byLastName ? "byLastName" : "");
    if (!w.quiet(state) || !expect(state, ordered, "order not changed")) break;
  }
  clientsHome();
}

void sortByLastName(benchmark::State& s, Figure& f) {
  sortBy(s, f, true);
}
void sortByCustomerNumber(benchmark::State& s, Figure& f) {
  sortBy(s, f, false);
}

void type(DBEdit& edit, const std::string& text) {
  edit.typeText(text);
  edit.leave();
}

void addAndSave(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  TFormClients& form = clientsWindow();
  clientsHome();
  CommandTimer time(state, fig);
  size_t i = 0;
  for (auto _ : state) {
    goToCustomer(i);
    const std::string last = "Newcomer" + std::to_string(i++);
    time([&] {
      form.cmdNewCustomer.click();
      type(form.DBEdit1, last);
      type(form.DBEdit2, "Pat");
      type(form.DBEdit3, "555");
      type(form.DBEdit4, "555-0101");
      type(form.DBEditStreet, "12 Harbour Road");
      type(form.DBEditCity, "Eastport");
      type(form.DBEditState, "ME");
      type(form.DBEditZip, "04631");
      form.cmdSaveRecord.click();
    });
    if (!w.quiet(state) || !expect(state, field("LastName") == last, "new customer not current"))
      break;
    clients().remove();  // the set keeps its size
  }
  clientsHome();
}

void editAndSave(benchmark::State& state, Figure& fig) {
  WindowShop& w = windowShop();
  TFormClients& form = clientsWindow();
  clientsHome();
  CommandTimer time(state, fig);
  size_t i = 0;
  for (auto _ : state) {
    goToCustomer(i);
    const std::string phone = "555-" + std::to_string(1000 + i++ % 9000);
    time([&] {
      form.cmdEditEntry.click();
      type(form.DBEdit4, phone);
      form.cmdSaveRecord.click();
    });
    if (!w.quiet(state) ||
        !expect(state, clients().state() == TableState::Browse && field("Phone") == phone,
                "phone not posted"))
      break;
  }
  clientsHome();
}

// Delete Customer, confirmed, of the customer `pick` makes current; the customer is written
// back under the same number afterwards (outside the timing).
void deleteCustomer(benchmark::State& state, Figure& fig, bool walkIn) {
  WindowShop& w = windowShop();
  clientsHome();
  CommandTimer time(state, fig);
  Table& t = clients();
  size_t i = 0;
  for (auto _ : state) {
    if (walkIn)
      t.findKey("1");
    else
      goToCustomer(i++ * 31);
    const auto stored = t.file().byRowid(t.currentRowid());
    w.dialogs.queueConfirmation(true);
    time([&] { clientsWindow().cmdDeleteCustomer.click(); });
    if (!w.quiet(state) || !expect(state, !t.file().byRowid(stored->rowid), "customer not deleted"))
      break;
    t.file().insert(stored->values);
  }
  if (walkIn)
    state.SetLabel(w.dialogs.asked().back().substr(w.dialogs.asked().back().find("\n\n") + 2, 40));
  clientsHome();
}

void deleteWalkIn(benchmark::State& s, Figure& f) {
  deleteCustomer(s, f, true);
}
void deleteOrdinary(benchmark::State& s, Figure& f) {
  deleteCustomer(s, f, false);
}

// The grid in customer number order, or in last name order, from a random customer.
GridUnderTest clientsGrid() {
  return {clientsWindow().DBGrid1, clients(), clientsHome, [](size_t i) { goToCustomer(i); }};
}

void gridFirstPaintByNumber(benchmark::State& s, Figure& f) {
  timeGridFirstPaint(s, f, clientsGrid(), "");
}
void gridFirstPaintByName(benchmark::State& s, Figure& f) {
  timeGridFirstPaint(s, f, clientsGrid(), "byLastName");
}
void gridScrollToEndByNumber(benchmark::State& s, Figure& f) {
  timeGridScrollToEnd(s, f, clientsGrid(), "");
}
void gridScrollToEndByName(benchmark::State& s, Figure& f) {
  timeGridScrollToEnd(s, f, clientsGrid(), "byLastName");
}

}  // namespace

void registerClientCommands() {
  registerCommand("Clients/SearchLastName", "Search by last name", 2000, searchLastName);
  registerCommand("Clients/SearchCustomerNumber", "Search by customer number", 2000,
                  searchCustomerNumber);
  registerCommand("Clients/SortByLastName", "Order by last name", 1000, sortByLastName);
  registerCommand("Clients/SortByCustomerNumber", "Order by customer number (back)", 1000,
                  sortByCustomerNumber);
  registerCommand("Clients/AddAndSave", "Add New Customer, eight fields typed, Save Record", 1000,
                  addAndSave);
  registerCommand("Clients/EditAndSave", "Edit Entry, new phone typed, Save Record", 1000,
                  editAndSave);
  registerCommand("Clients/DeleteWalkIn",
                  "Delete Customer, confirmed: walk-in customer (~500k lines)", 100, deleteWalkIn);
  registerCommand("Clients/DeleteOrdinary", "Delete Customer, confirmed: ordinary customer", 1000,
                  deleteOrdinary);
  registerCommand("Clients/GridFirstPaint", "Grid first paint (count, 40 rows, current position)",
                  200, gridFirstPaintByNumber);
  registerCommand("Clients/GridScrollToEnd", "Grid scroll to the end (last 40 rows)", 200,
                  gridScrollToEndByNumber);
  registerCommand("Clients/GridFirstPaintByLastName", "Grid first paint, last name order", 200,
                  gridFirstPaintByName);
  registerCommand("Clients/GridScrollToEndByLastName", "Grid scroll to the end, last name order",
                  200, gridScrollToEndByName);
}

}  // namespace corvanta::bench
