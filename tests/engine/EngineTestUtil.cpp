#include "engine/EngineTestUtil.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "data/engine/Postgres.h"
#include "data/engine/TableSchema.h"

namespace corvanta::test {

namespace {
std::string textOf(const Field& f) {
  return f.isNull() ? "<null>" : f.displayText();
}
}  // namespace

std::string cursorText(const Table& t, const std::vector<std::string>& fields) {
  std::string s = stateName(t.state());
  if (t.state() == TableState::Inactive) return s;
  if (t.isEmpty()) {
    s += " empty";
  } else if (t.index().field.empty()) {
    s += t.state() == TableState::Insert ? std::string(" key=#new")
                                         : " key=#" + std::to_string(t.currentRowid());
  } else {
    s += " key=" + textOf(t.fieldByName(t.index().field));
  }
  for (const auto& f : fields) s += " " + f + "=" + textOf(t.fieldByName(f));
  if (t.bof()) s += " bof";
  if (t.eof()) s += " eof";
  return s;
}

EngineTest::EngineTest() : engine(std::make_unique<Engine>(testEngineConfig(dir.path()))) {}

void EngineTest::SetUp() {
  if (const std::string why = backendUnavailable(); !why.empty()) GTEST_SKIP() << why;
}

std::unique_ptr<Table> EngineTest::closed(const std::string& name) {
  const TableDef* def = findTableDef(name);
  if (!def) throw std::logic_error("no table " + name);
  return std::make_unique<Table>(*engine, "Test" + def->sqlName, def->alias, name);
}

std::unique_ptr<Table> EngineTest::open(const std::string& name) {
  auto t = closed(name);
  t->open();
  return t;
}

void EngineTest::add(Table& t, const std::vector<std::pair<std::string, std::string>>& fields) {
  t.insert();
  for (const auto& [name, text] : fields) t.fieldByName(name).setText(text);
  t.post();
}

std::string EngineTest::walk(Table& t, const std::string& field) {
  std::string out;
  t.first();
  while (!t.eof() && !t.isEmpty()) {
    if (!out.empty()) out += ",";
    const Field& f = t.fieldByName(field);
    out += f.isNull() ? "<null>" : f.displayText();
    t.next();
  }
  return out;
}

}  // namespace corvanta::test
