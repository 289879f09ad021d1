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

bool onDatabaseServer() {
  const char* b = std::getenv("CORVANTA_TEST_BACKEND");
  return b && std::string_view(b) == "postgresql";
}

namespace {

std::string serverConnection() {
  const char* state = std::getenv("CORVANTA_TEST_DATABASE");
  if (!state || !*state) return "";
  std::ifstream in(state);
  std::string line;
  std::getline(in, line);
  return line;
}

}  // namespace

std::string backendUnavailable() {
  if (!onDatabaseServer()) return "";
  const std::string c = serverConnection();
  if (c.empty()) return "no test database server (CORVANTA_TEST_DATABASE names no started one)";
  if (c.starts_with("skip:")) return c;
  return "";
}

void nameSessions(const std::string& name) {
  ::setenv("PGAPPNAME", name.c_str(), 1);
}

void waitForSessionsToEnd(const std::string& name) {
  if (!onDatabaseServer() || !backendUnavailable().empty()) return;
  PgConnection db(serverConnection(), "tests");
  for (int i = 0; i < 1000; ++i) {
    if (db.exec("SELECT count(*) FROM pg_stat_activity WHERE application_name = $1", {name})
            .integer(0, 0) == 0)
      return;
    ::usleep(10000);
  }
  ADD_FAILURE() << "the sessions of " << name << " did not end";
}

EngineConfig testEngineConfig(const std::filesystem::path& dir) {
  if (!onDatabaseServer() || !backendUnavailable().empty())
    return EngineConfig::forDataDirectory(dir);
  // The test process's id, also in the child processes that play other workstations.
  static const pid_t testProcess = ::getpid();
  const std::string schema = "t" + std::to_string(testProcess) + "_" +
                             std::to_string(std::hash<std::string>{}(dir.string()) % 1000000007);
  PgConnection(serverConnection(), "tests").command("CREATE SCHEMA IF NOT EXISTS " + schema);
  EngineConfig cfg = EngineConfig::forDataDirectory(dir);
  const std::string conn =
      "postgresql:" + serverConnection() + " options='-c search_path=" + schema + "'";
  cfg.setAlias("DatabaseFiles", conn);
  cfg.setAlias("DatabaseFilesQVX", conn);
  return cfg;
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
