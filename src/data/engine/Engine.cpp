#include "data/engine/Engine.h"

#include <sys/stat.h>
#include <unistd.h>

#include "ui/Error.h"
#include "data/engine/TableFile.h"

namespace corvanta {

namespace fs = std::filesystem;

fs::path Engine::aliasDirectory(std::string_view alias) const {
  auto dir = config_.alias(alias);
  if (!dir) throw Error("Unknown database: " + std::string(alias));
  std::error_code ec;
  if (!fs::exists(*dir, ec)) {
    fs::create_directories(*dir, ec);
    if (ec)
      throw Error("Cannot create the directory '" + dir->string() + "' of database " +
                  std::string(alias) + ": " + ec.message());
    ::chmod(dir->c_str(), 0700);
    for (const TableDef* def : tablesOfAlias(alias)) TableFile::create(*def, *dir / def->fileName);
  } else if (!fs::is_directory(*dir, ec)) {
    throw Error("The database " + std::string(alias) + " names '" + dir->string() +
                "', which is not a directory");
  }
  if (::access(dir->c_str(), R_OK | W_OK | X_OK) != 0)
    throw Error("No permission to use the directory '" + dir->string() + "' of database " +
                std::string(alias));
  return *dir;
}

fs::path Engine::tableFile(std::string_view alias, const TableDef& def) const {
  return aliasDirectory(alias) / def.fileName;
}

void Engine::createMissingTables() const {
  for (const auto& def : shopTables()) {
    fs::path dir = aliasDirectory(def.alias);
    if (!fs::exists(dir / def.fileName)) TableFile::create(def, dir / def.fileName);
  }
}

}  // namespace corvanta
