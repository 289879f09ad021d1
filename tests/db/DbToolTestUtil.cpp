#include "DbToolTestUtil.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "DbTool.h"
#include "support/TestDatabase.h"

namespace corvanta::test {

namespace fs = std::filesystem;

DbToolTest::DbToolTest() {
  EngineConfig cfg = testEngineConfig(dir.path());
  cfg.save(dir.path() / "engine.ini");
  if (const char* v = std::getenv("CORVANTA_ENGINE_CONFIG")) {
    hadConfig_ = true;
    savedConfig_ = v;
  }
  ::setenv("CORVANTA_ENGINE_CONFIG", (dir.path() / "engine.ini").c_str(), 1);
  engine = std::make_unique<Engine>(cfg);
  engine->createMissingTables();
}

DbToolTest::~DbToolTest() {
  if (hadConfig_)
    ::setenv("CORVANTA_ENGINE_CONFIG", savedConfig_.c_str(), 1);
  else
    ::unsetenv("CORVANTA_ENGINE_CONFIG");
}

TableFile DbToolTest::file(const std::string& name) {
  const TableDef& def = *findTableDef(name);
  return TableFile(def, engine->tableFile(def.alias, def));
}

std::tuple<int, std::string, std::string> DbToolTest::runTool(
    const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = runDbTool(args, out, err);
  return {status, out.str(), err.str()};
}

std::string DbToolTest::fingerprint() const {
  std::string text;
  for (const auto& def : shopTables()) {
    const fs::path p = *engine->config().alias(def.alias) / def.fileName;
    std::ifstream in(p, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text += def.fileName + ":" + std::to_string(bytes.size()) + ":" +
            std::to_string(std::hash<std::string>{}(bytes)) + "\n";
  }
  return text;
}

}  // namespace corvanta::test
