#pragma once
// Tests on the test database server: which backend the tests run on, an engine
// configuration on it, and the processes that play other workstations.
#include <filesystem>
#include <string>

#include "data/engine/EngineConfig.h"

namespace corvanta::test {

// Whether CORVANTA_TEST_BACKEND=postgresql asks for the database server.
bool onDatabaseServer();
// Why the tests cannot run on the chosen backend ("" when they can).
std::string backendUnavailable();
// The test server's connection string (read from the file $CORVANTA_TEST_DATABASE).
std::string testServerConnection();

// The configuration the tests run on: both aliases as subdirectories of `dir`, or, on the
// database server, as tables of the test database server in a schema of their own for each
// `dir`, so tests running side by side never meet.
EngineConfig testEngineConfig(const std::filesystem::path& dir);

// A process playing a workstation names the database sessions it opens from then on; the
// test waits until every session so named has ended, as the server ends those of a killed
// process a moment after it dies (and only then gives up the locks they held).  Nothing
// on local files.
void nameSessions(const std::string& name);
void waitForSessionsToEnd(const std::string& name);

}  // namespace corvanta::test
