#pragma once
// Helpers shared by the engine tests: a fresh engine per test, a printer that turns a cursor's
// state into one string, and a catcher that returns an error's text.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/engine/Engine.h"
#include "data/engine/Table.h"
#include "support/TestSupport.h"
#include "ui/Error.h"

namespace corvanta::test {

// "edit key=A100 Quantity=3", "browse empty bof eof", "insert key=<null> Description=x":
// the state, the selected index's key of the current record (or "#rowid" on an index without
// key field), the named fields, then "bof" and "eof" when they are set.
std::string cursorText(const Table& t, const std::vector<std::string>& fields = {});

// The text of the corvanta::Error that f throws, or "no error".
template <class F>
std::string errorOf(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "no error";
}

// The configuration the engine tests run on: both aliases as subdirectories of `dir`, or,
// when CORVANTA_TEST_BACKEND=postgresql, as tables of the test database server (its
// connection string read from the file $CORVANTA_TEST_DATABASE), in a schema of their own
// for each `dir`, so tests running side by side never meet.
EngineConfig testEngineConfig(const std::filesystem::path& dir);
// Why the engine tests cannot run on the chosen backend ("" when they can).
std::string backendUnavailable();
bool onDatabaseServer();
// A process playing a workstation names the database sessions it opens from then on; the
// test waits until every session so named has ended, as the server ends those of a killed
// process a moment after it dies (and only then gives up the locks they held).  Nothing
// on local files.
void nameSessions(const std::string& name);
void waitForSessionsToEnd(const std::string& name);

class EngineTest : public ::testing::Test {
 protected:
  EngineTest();
  void SetUp() override;
  // A table object of the shop's table `name`, opened (the alias directories are created on
  // first use, with empty tables).
  std::unique_ptr<Table> open(const std::string& name);
  std::unique_ptr<Table> closed(const std::string& name);
  // Inserts and posts one record, fields given as name=text pairs.
  static void add(Table& t, const std::vector<std::pair<std::string, std::string>>& fields);
  // Every record's text of one field, in the selected index's order (moves the cursor).
  static std::string walk(Table& t, const std::string& field);

  TempDir dir;
  std::unique_ptr<Engine> engine;
};

}  // namespace corvanta::test
