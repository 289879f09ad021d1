#include "support/TestDatabase.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "data/engine/Postgres.h"

namespace corvanta::test {

bool onDatabaseServer() {
  const char* b = std::getenv("CORVANTA_TEST_BACKEND");
  return b && std::string_view(b) == "postgresql";
}

std::string testServerConnection() {
  const char* state = std::getenv("CORVANTA_TEST_DATABASE");
  if (!state || !*state) return "";
  std::ifstream in(state);
  std::string line;
  std::getline(in, line);
  return line;
}

std::string backendUnavailable() {
  if (!onDatabaseServer()) return "";
  const std::string c = testServerConnection();
  if (c.empty()) return "no test database server (CORVANTA_TEST_DATABASE names no started one)";
  if (c.starts_with("skip:")) return c;
  return "";
}

EngineConfig testEngineConfig(const std::filesystem::path& dir) {
  if (!onDatabaseServer() || !backendUnavailable().empty())
    return EngineConfig::forDataDirectory(dir);
  // The test process's id, also in the child processes that play other workstations.
  static const pid_t testProcess = ::getpid();
  const std::string schema = "t" + std::to_string(testProcess) + "_" +
                             std::to_string(std::hash<std::string>{}(dir.string()) % 1000000007);
  PgConnection(testServerConnection(), "tests").command("CREATE SCHEMA IF NOT EXISTS " + schema);
  EngineConfig cfg = EngineConfig::forDataDirectory(dir);
  const std::string conn =
      "postgresql:" + testServerConnection() + " options='-c search_path=" + schema + "'";
  cfg.setAlias("DatabaseFiles", conn);
  cfg.setAlias("DatabaseFilesQVX", conn);
  return cfg;
}

void nameSessions(const std::string& name) {
  ::setenv("PGAPPNAME", name.c_str(), 1);
}

void waitForSessionsToEnd(const std::string& name) {
  if (!onDatabaseServer() || !backendUnavailable().empty()) return;
  PgConnection db(testServerConnection(), "tests");
  for (int i = 0; i < 1000; ++i) {
    if (db.exec("SELECT count(*) FROM pg_stat_activity WHERE application_name = $1", {name})
            .integer(0, 0) == 0)
      return;
    ::usleep(10000);
  }
  ADD_FAILURE() << "the sessions of " << name << " did not end";
}

}  // namespace corvanta::test
