#include "Runner.h"

#include <charconv>
#include <cmath>

#include "base/Text.h"
#include "data/DataModule.h"
#include "data/controls/DBEdit.h"
#include "data/controls/DBGrid.h"
#include "data/engine/Table.h"
#include "data/engine/TableFile.h"
#include "data/numbers/Numbers.h"
#include "ui/Form.h"

namespace corvanta::scenario {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& message) {
  throw LineFailed{message};
}

std::string q(const std::string& s) {
  return quoteJson(s);
}

std::string valueJson(const Value& v) {
  if (isNull(v)) return "null";
  if (auto* s = std::get_if<std::string>(&v)) return quoteJson(*s);
  if (auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, std::get<double>(v));
  return std::string(buf, r.ptr);
}

bool matches(const JsonValue& want, const Value& have) {
  if (want.isNull())
    return isNull(have) ||
           (std::holds_alternative<std::string>(have) && std::get<std::string>(have).empty());
  if (auto* d = std::get_if<double>(&want.v)) {
    if (auto* hd = std::get_if<double>(&have)) return *hd == *d;
    if (auto* hi = std::get_if<std::int64_t>(&have)) return static_cast<double>(*hi) == *d;
    return false;
  }
  if (auto* s = std::get_if<std::string>(&want.v)) {
    if (auto* hs = std::get_if<std::string>(&have)) return *hs == *s;
    return false;
  }
  return false;
}

std::string rowJson(const TableDef& def, const std::vector<Value>& values) {
  std::string out = "{";
  for (size_t i = 0; i < def.fields.size(); ++i) {
    if (i) out += ", ";
    out += quoteJson(def.fields[i].name) + ": " + valueJson(values[i]);
  }
  return out + "}";
}

// The fields of a JSON object that a record does not match ("" when all match); unknown
// field names fail the line.
std::string mismatches(const TableDef& def, const JsonObject& want,
                       const std::vector<Value>& values) {
  std::string out;
  for (const auto& [name, v] : want) {
    int i = def.fieldIndex(name);
    if (i < 0) fail("a field of " + def.tableName + ", got unknown field " + q(name));
    if (!matches(v, values[i]))
      out += (out.empty() ? "" : ", ") + q(name) + ": " + valueJson(values[i]);
  }
  return out;
}

std::string reportBase(std::string name) {
  auto slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  name = toLower(name);
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".rpt") == 0)
    name.resize(name.size() - 4);
  return name;
}

const char* kTableObjects[][2] = {{"InventoryTable1", "stock.db"},
                                  {"ClientsTable", "clients.DB"},
                                  {"SalesTable", "NewSales"},
                                  {"SalesTaxTable", "TaxRate"},
                                  {"ShippingBillingTable", "BillingShipping"}};

}  // namespace

Runner::Runner(fs::path dataDir, std::vector<Line> lines)
    : dataDir_(std::move(dataDir)),
      lines_(std::move(lines)),
      engine_(EngineConfig::forDataDirectory(dataDir_)) {}

Runner::~Runner() {
  stopApp();
}

std::optional<Failure> Runner::run() {
  // Every file starts from the same short date format, whatever the machine says.
  calendar_ = Calendar{};
  int lastLine = 0;
  try {
    for (const Line& l : lines_) {
      lastLine = l.number;
      try {
        step(l);
      } catch (const LineFailed&) {
        throw;
      } catch (const std::exception& e) {
        fail(l.source + ", got " + e.what());
      }
    }
    checkNoUnexpectedMessages();
  } catch (const LineFailed& f) {
    return Failure{lastLine, f.message};
  }
  return std::nullopt;
}

void Runner::step(const Line& l) {
  if (isSetupVerb(l.verb)) {
    if (started_) fail(l.verb + " before the application starts, got it after");
    setup(l);
    return;
  }
  ensureStarted(l);
  if (l.verb == "answer" || l.verb == "answer-cancel") {
    dialogs_.queueAnswer(l.verb == "answer" ? std::optional<std::string>(l.text) : std::nullopt);
  } else if (l.verb == "choose-file" || l.verb == "choose-file-cancel") {
    dialogs_.queueFile(l.verb == "choose-file" ? std::optional<std::string>(l.text) : std::nullopt);
  } else if (l.verb == "confirm") {
    dialogs_.queueConfirmation(l.text == "yes");
  } else if (isActionVerb(l.verb)) {
    checkNoUnexpectedMessages();
    if (std::string stale = dialogs_.staleReply(); !stale.empty())
      fail("every queued reply taken, got an " + stale);
    if (ended_ && l.verb != "restart") fail(l.source + ", got the application has ended");
    action(l);
    dialogs_.actionRan();
    afterAction();
  } else {
    expectation(l);
  }
}

void Runner::setup(const Line& l) {
  if (l.verb == "today") {
    int y = 0, m = 0, d = 0;
    std::sscanf(l.text.c_str(), "%d-%d-%d", &y, &m, &d);
    const CivilDate date{y, m, d};
    calendar_.today = [date] { return date; };
  } else if (l.verb == "short-date-format") {
    calendar_.shortDateFormat = l.text;
  } else if (l.verb == "seed") {
    engine_.createMissingTables();
    const TableDef& def = tableDef(l.target);
    std::vector<Value> values(def.fields.size());
    for (const auto& [name, v] : l.object) {
      int i = def.fieldIndex(name);
      if (i < 0) fail("a field of " + def.tableName + ", got unknown field " + q(name));
      const FieldDef& f = def.fields[i];
      if (v.isNull()) continue;
      if (auto* d = std::get_if<double>(&v.v)) {
        if (f.type == FieldType::Text)
          values[i] = formatGeneral15(*d);
        else if (f.type == FieldType::AutoInc)
          values[i] = static_cast<std::int64_t>(*d);
        else
          values[i] = *d;
      } else if (auto* s = std::get_if<std::string>(&v.v)) {
        if (f.type == FieldType::Text) {
          std::string cut = cutToChars(*s, f.size);
          if (!cut.empty()) values[i] = cut;
        } else {
          double d = 0;
          if (!parseFloatStrict(*s, d)) fail("a number for " + q(name) + ", got " + q(*s));
          values[i] = f.type == FieldType::AutoInc ? Value(static_cast<std::int64_t>(d)) : Value(d);
        }
      } else {
        fail("a number, text or null for " + q(name) + ", got " + v.toString());
      }
    }
    TableFile file(def, engine_.tableFile(def.alias, def));
    file.insert(values);
  } else if (l.verb == "drop-table") {
    engine_.createMissingTables();
    const TableDef& def = tableDef(l.target);
    fs::path p = engine_.tableFile(def.alias, def);
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(p.string() + suffix);
  }
}

void Runner::ensureStarted(const Line&) {
  if (started_) return;
  started_ = true;
  startApp();
}

void Runner::startApp() {
  ended_ = false;
  app_ = std::make_unique<CorvantaApp>(engine_, Platform{dialogs_, help_, reports_, {}, calendar_});
  if (!app_->start() || app_->terminated()) stopApp();
}

void Runner::stopApp() {
  if (!app_) return;
  app_->shutdown();
  app_.reset();
  ended_ = true;
}

void Runner::afterAction() {
  if (std::string what = dialogs_.takeUnexpected(); !what.empty())
    fail("every box answered, got " + what);
  if (app_ && app_->terminated()) stopApp();
}

void Runner::checkNoUnexpectedMessages() {
  if (!dialogs_.unreadMessages().empty())
    fail("unexpected message: " + dialogs_.unreadMessages().front());
  if (!dialogs_.unreadErrors().empty())
    fail("unexpected message: " + dialogs_.unreadErrors().front());
}

Form& Runner::formNamed(const std::string& name) {
  if (!app_) fail("the application running, got it ended");
  Form* f = app_->form(name);
  if (!f) fail("a window " + name + ", got none");
  return *f;
}

Control& Runner::controlNamed(const std::string& ref) {
  auto dot = ref.find('.');
  if (dot == std::string::npos) fail("Form.Control, got " + ref);
  Form& f = formNamed(ref.substr(0, dot));
  Control* c = f.control(ref.substr(dot + 1));
  if (!c) fail("a control " + ref + ", got none");
  return *c;
}

const TableDef& Runner::tableDef(const std::string& name) {
  for (auto& [object, table] : kTableObjects)
    if (name == object) return *findTableDef(table);
  fail("a table object name, got " + name);
}

Table& Runner::sharedTable(const std::string& name) {
  if (!app_) fail("the application running, got it ended");
  for (const std::string& global : app_->creationOrder())
    if (auto* m = dynamic_cast<DataModule*>(app_->dataModule(global)))
      if (Table* t = m->findTable(name)) return *t;
  fail("a table object " + name + ", got none");
}

void Runner::action(const Line& l) {
  const std::string& v = l.verb;
  if (v == "restart") {
    stopApp();
    startApp();
    return;
  }
  if (v == "close") {
    Form& f = formNamed(l.target);
    app_->dispatch([&f] { f.close(); });
    return;
  }
  if (v == "click") {
    // Form.Navigator.Button
    auto first = l.target.find('.');
    auto second = first == std::string::npos ? first : l.target.find('.', first + 1);
    if (second != std::string::npos) {
      auto* nav = dynamic_cast<DBNavigator*>(&controlNamed(l.target.substr(0, second)));
      if (!nav) fail("a navigator " + l.target.substr(0, second) + ", got another control");
      const std::string button = l.target.substr(second + 1);
      for (NavButton b : {NavButton::First, NavButton::Prior, NavButton::Next, NavButton::Last,
                          NavButton::Insert, NavButton::Delete, NavButton::Edit, NavButton::Post,
                          NavButton::Cancel, NavButton::Refresh}) {
        if (button != navButtonName(b)) continue;
        if (!nav->isVisible(b)) fail("click " + l.target + ", got the button is not shown");
        if (!nav->isEnabled(b)) fail("click " + l.target + ", got the button is disabled");
        nav->click(b);
        return;
      }
      fail("a navigator button, got " + button);
    }
    Control& c = controlNamed(l.target);
    if (!c.enabled()) fail("click " + l.target + ", got it is disabled");
    if (auto* b = dynamic_cast<Button*>(&c)) return b->click();
    if (auto* m = dynamic_cast<MenuItem*>(&c)) return m->click();
    if (auto* o = dynamic_cast<OptionButton*>(&c)) return o->choose();
    fail("a button or menu item " + l.target + ", got another control");
  }
  if (v == "choose") {
    auto* o = dynamic_cast<OptionButton*>(&controlNamed(l.target));
    if (!o) fail("an option button " + l.target + ", got another control");
    if (!o->enabled()) fail("choose " + l.target + ", got it is disabled");
    o->choose();
    return;
  }
  if (v == "type") {
    auto* e = dynamic_cast<Edit*>(&controlNamed(l.target));
    if (!e) fail("an edit " + l.target + ", got another control");
    app_->dispatch([&] { e->typeText(l.text); });
    if (app_) e->leave();
    return;
  }
  if (v == "grid") {
    auto* g = dynamic_cast<DBGrid*>(&controlNamed(l.target));
    if (!g) fail("a grid " + l.target + ", got another control");
    if (!g->clickRow(l.count))
      fail("grid " + l.target + " row " + std::to_string(l.count) + ", got no such row");
    return;
  }
}

void Runner::expectation(const Line& l) {
  const std::string& v = l.verb;
  auto check = [&](const std::string& got, bool like) {
    bool ok = like ? got.find(l.text) != std::string::npos : got == l.text;
    if (!ok) fail(l.source + ", got " + q(got));
  };
  auto box = [&](bool error, bool like) {
    if (error ? dialogs_.unreadErrors().empty() : dialogs_.unreadMessages().empty())
      fail(l.source + ", got no " + (error ? "error" : "message"));
    check(error ? dialogs_.takeError() : dialogs_.takeMessage(), like);
  };
  if (v == "expect-message") return box(false, false);
  if (v == "expect-message-like") return box(false, true);
  if (v == "expect-error") return box(true, false);
  if (v == "expect-error-like") return box(true, true);
  if (v == "expect-help") {
    if (help_.files.empty()) fail(l.source + ", got no help request");
    std::string got = help_.files.front();
    help_.files.pop_front();
    return check(got, false);
  }
  if (v == "expect-ended") {
    if (!ended_) fail("expect-ended, got the application running");
    return;
  }
  if (v == "expect-prompt") {
    auto shown = dialogs_.takePrompt();
    if (!shown) fail(l.source + ", got no prompt");
    auto [caption, prompt] = *shown;
    if (trim(caption) != l.target || trim(prompt) != l.text)
      fail(l.source + ", got " + caption + " | " + prompt);
    return;
  }
  if (v == "expect-report") {
    if (reports_.runs.empty()) fail(l.source + ", got no report run");
    ReportRun r = reports_.runs.front();
    reports_.runs.pop_front();
    std::string got = r.reportName + " {";
    for (const auto& [k, val] : r.parameters) got += q(k) + ": " + q(val) + " ";
    got += "}";
    if (reportBase(r.reportName) != reportBase(l.target)) fail(l.source + ", got " + got);
    for (const auto& [k, want] : l.object) {
      auto it = r.parameters.find(k);
      if (it == r.parameters.end()) fail(l.source + ", got " + got);
      bool ok = false;
      if (auto* d = std::get_if<double>(&want.v)) {
        double have = 0;
        ok = parseFloatStrict(it->second, have) && have == *d;
      } else if (auto* s = std::get_if<std::string>(&want.v)) {
        ok = it->second == *s;
      }
      if (!ok) fail(l.source + ", got " + got);
    }
    return;
  }
  if (v == "expect-count" || v == "expect-row" || v == "expect-no-row") {
    const TableDef& def = tableDef(l.target);
    TableFile file(def, engine_.tableFile(def.alias, def));
    if (v == "expect-count") {
      auto n = file.count();
      if (n != l.count) fail(l.source + ", got " + std::to_string(n));
      return;
    }
    const IndexDef& primary = def.indexes.front();
    for (auto row = file.first(primary); row;
         row = file.after(primary, file.keyOf(primary, *row), row->rowid)) {
      if (!mismatches(def, l.object, row->values).empty()) continue;
      if (v == "expect-no-row") fail(l.source + ", got " + rowJson(def, row->values));
      std::string diff = mismatches(def, l.object2, row->values);
      if (!diff.empty()) fail(l.source + ", got " + rowJson(def, row->values));
      return;
    }
    if (v == "expect-row") fail(l.source + ", got no matching record");
    return;
  }
  // The rest look at the running application.
  if (!app_) fail(l.source + ", got the application has ended");
  if (v == "expect") {
    Control& c = controlNamed(l.target);
    if (c.text() != l.text) fail(l.source + ", got " + q(c.text()));
  } else if (v == "expect-checked") {
    auto* o = dynamic_cast<OptionButton*>(&controlNamed(l.target));
    if (!o) fail("an option button " + l.target + ", got another control");
    if (!o->checked()) fail(l.source + ", got not selected");
  } else if (v == "expect-visible" || v == "expect-hidden") {
    Form& f = formNamed(l.target);
    if (f.visible() != (v == "expect-visible"))
      fail(l.source + ", got " + (f.visible() ? "visible" : "hidden"));
  } else if (v == "expect-state") {
    Table& t = sharedTable(l.target);
    if (l.text != stateName(t.state())) fail(l.source + ", got " + stateName(t.state()));
  } else if (v == "expect-index") {
    Table& t = sharedTable(l.target);
    if (toLower(t.indexName()) != toLower(l.text)) fail(l.source + ", got " + q(t.indexName()));
  } else if (v == "expect-current") {
    Table& t = sharedTable(l.target);
    std::vector<Value> values;
    for (const auto& f : t.fields()) values.push_back(f->value());
    if (!mismatches(t.def(), l.object, values).empty())
      fail(l.source + ", got " + rowJson(t.def(), values));
  } else if (v == "expect-var") {
    auto it = app_->variables.find(l.target);
    if (it == app_->variables.end()) fail(l.source + ", got no such variable");
    std::string got = it->second();
    if (got != l.text) fail(l.source + ", got " + q(got));
  }
}

}  // namespace corvanta::scenario
