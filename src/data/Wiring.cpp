#include "data/Wiring.h"

#include <set>

#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "data/engine/Table.h"
#include "ui/Application.h"
#include "ui/Form.h"

namespace corvanta {

namespace {

const DataLink* linkOf(const Control& c) {
  if (auto* e = dynamic_cast<const DBEdit*>(&c)) return &e->link();
  if (auto* t = dynamic_cast<const DBText*>(&c)) return &t->link();
  if (auto* g = dynamic_cast<const DBGrid*>(&c)) return &g->link();
  if (auto* n = dynamic_cast<const DBNavigator*>(&c)) return &n->link();
  return nullptr;
}

std::string handlerOf(const Control& c) {
  if (auto* b = dynamic_cast<const Button*>(&c)) return b->handler;
  if (auto* m = dynamic_cast<const MenuItem*>(&c)) return m->handler;
  if (auto* o = dynamic_cast<const OptionButton*>(&c)) return o->handler;
  return {};
}

void checkLink(const DataLink& link, const std::string& where, std::vector<std::string>& out) {
  if (!link.bound()) {
    out.push_back(where + ": data source \"" + link.sourcePath() + "\" not found");
    return;
  }
  if (!link.fieldName().empty() && !link.field())
    out.push_back(where + ": field \"" + link.fieldName() + "\" not in " +
                  link.table()->tableName());
}

}  // namespace

std::vector<std::string> wiringFaults(const Application& app) {
  std::vector<std::string> out;
  for (const Form* form : app.forms()) {
    std::set<std::string> names;
    for (const Control* c : form->controls()) {
      const std::string where = form->name() + "." + c->name();
      if (!names.insert(c->name()).second) out.push_back(where + ": a second control of this name");
      if (const std::string h = handlerOf(*c); !h.empty() && !form->hasHandler(h))
        out.push_back(where + ": handler " + h + " not found");
      if (auto* e = dynamic_cast<const Edit*>(c);
          e && !e->exitHandler.empty() && !form->hasHandler(e->exitHandler))
        out.push_back(where + ": exit handler " + e->exitHandler + " not found");
      if (const DataLink* link = linkOf(*c)) {
        checkLink(*link, where, out);
        if (auto* g = dynamic_cast<const DBGrid*>(c); g && link->bound())
          for (const GridColumn& col : g->columns)
            if (!link->table()->findField(col.fieldName))
              out.push_back(where + ": column field \"" + col.fieldName + "\" not in " +
                            link->table()->tableName());
      }
    }
  }
  return out;
}

}  // namespace corvanta
