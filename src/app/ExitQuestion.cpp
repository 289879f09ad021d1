#include "app/ExitQuestion.h"

#include <algorithm>
#include <map>

#include "app/CorvantaApp.h"
#include "data/DataModule.h"
#include "data/controls/DBEdit.h"
#include "data/engine/Table.h"
#include "data/modules/DataModules.h"
#include "sales/SalesEntryForm.h"
#include "ui/Form.h"

namespace corvanta {

namespace {

bool inEditOrInsert(const Table& t) {
  return t.state() == TableState::Edit || t.state() == TableState::Insert;
}

// What a record of each table is, as a shop owner calls it.
std::string recordNoun(const Table& t) {
  static const std::map<std::string, std::string, std::less<>> nouns = {
      {"InventoryTable1", "stock item"},
      {"ClientsTable", "customer"},
      {"SalesTable", "order line"},
      {"SalesTaxTable", "tax rate"},
      {"ShippingBillingTable", "billing and shipping record"},
  };
  auto it = nouns.find(t.objectName());
  return it != nouns.end() ? it->second : "record in " + t.tableName();
}

std::string describe(const Table& t) {
  const std::string noun = recordNoun(t);
  if (noun == "tax rate") return "changes to the tax rate";
  if (t.state() == TableState::Insert) return "a new " + noun;
  return "changes to a" + std::string(noun.front() == 'o' ? "n " : " ") + noun;
}

}  // namespace

WorkAtRisk workAtRisk(const CorvantaApp& app) {
  WorkAtRisk work;
  const TSalesEntryForm* sale = app.g.SalesEntryForm;
  const Table* pendingLine = nullptr;
  if (sale && app.g.SalesDataModule &&
      app.g.SalesDataModule->SalesTable.state() == TableState::Insert) {
    pendingLine = &app.g.SalesDataModule->SalesTable;
    if (sale->storedLineCount() > 0) {
      work.orderLines = sale->storedLineCount();
      work.orderNumber = sale->OrderNumberDBEdit.text();
    }
  }

  // Typing that has not left its edit yet is only in the edit's text.
  std::vector<const Table*> typedInto;
  for (const Form* f : app.forms())
    for (const Control* c : f->controls())
      if (auto* e = dynamic_cast<const DBEdit*>(c); e && e->modified() && e->link().table())
        typedInto.push_back(e->link().table());

  for (const std::string& name : app.creationOrder()) {
    auto* module = dynamic_cast<DataModule*>(app.dataModule(name));
    if (!module) continue;
    const Table& t = module->table();
    if (&t == pendingLine || !t.active() || !inEditOrInsert(t)) continue;
    const bool typed = std::find(typedInto.begin(), typedInto.end(), &t) != typedInto.end();
    if (t.modified() || typed) work.records.push_back(describe(t));
  }
  return work;
}

std::string exitQuestion(const WorkAtRisk& work) {
  std::string text;
  if (work.orderLines > 0) {
    text += "Order " + work.orderNumber + " is still being entered, with " +
            std::to_string(work.orderLines) + (work.orderLines == 1 ? " line" : " lines") +
            " stored. Exit leaves it as \"Exit w/o Entering an Order\" does: its lines are "
            "taken back out and their stock returned.\n\n";
  }
  if (!work.records.empty()) {
    text += "Typed changes have not been saved and will be lost: ";
    for (std::size_t i = 0; i < work.records.size(); ++i) {
      if (i > 0) text += i + 1 == work.records.size() ? " and " : ", ";
      text += work.records[i];
    }
    text += ".\n\n";
  }
  text += "Exit anyway?";
  return text;
}

bool confirmEnding(CorvantaApp& app) {
  const WorkAtRisk work = workAtRisk(app);
  if (work.empty()) return true;
  if (!app.dialogs().confirm("Exit", exitQuestion(work))) return false;
  if (work.orderLines > 0) app.g.SalesEntryForm->leaveOrder();
  return true;
}

}  // namespace corvanta
