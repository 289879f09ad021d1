#pragma once
// A fresh data directory with its engine, an engine.ini naming it for the corvanta-db commands
// run in-process, and a fingerprint of every table file to show that nothing was changed.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "data/engine/Engine.h"
#include "data/engine/TableFile.h"
#include "support/TestSupport.h"

namespace corvanta::test {

class DbToolTest : public ::testing::Test {
 protected:
  DbToolTest();
  ~DbToolTest() override;

  // An open table file of the shop's table `name` (created with its alias when missing).
  TableFile file(const std::string& name);
  // corvanta-db run in-process with the engine configuration naming dir: status, out, err.
  std::tuple<int, std::string, std::string> runTool(const std::vector<std::string>& args);
  // The size and content hash of every table file of both aliases, as one text.
  std::string fingerprint() const;

  TempDir dir;
  std::unique_ptr<Engine> engine;

 private:
  std::string savedConfig_;
  bool hadConfig_ = false;
};

}  // namespace corvanta::test
