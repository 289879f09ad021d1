#include "data/engine/Engine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "data/engine/TableFile.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;

fs::path Engine::aliasDirectory(std::string_view alias) const {
  auto dir = config_.alias(alias);
  if (!dir) throw Error("Unknown database: " + std::string(alias));
  std::error_code ec;
  if (!fs::exists(*dir, ec)) {
    createAliasDirectory(alias, *dir);
  } else if (!fs::is_directory(*dir, ec)) {
    throw Error("The database " + std::string(alias) + " names '" + dir->string() +
                "', which is not a directory");
  }
  if (::access(dir->c_str(), R_OK | W_OK | X_OK) != 0)
    throw Error("No permission to use the directory '" + dir->string() + "' of database " +
                std::string(alias));
  return *dir;
}

void Engine::createAliasDirectory(std::string_view alias, const fs::path& dir) const {
  auto fail = [&](const std::string& why) {
    throw Error("Cannot create the directory '" + dir.string() + "' of database " +
                std::string(alias) + ": " + why);
  };
  fs::path target = dir.lexically_normal();
  if (target.filename().empty()) target = target.parent_path();
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  if (ec) fail(ec.message());
  // The directory is filled under a temporary name and then moved into place, so that a
  // start that fails half-way never leaves a directory with only some of its tables.
  const fs::path building = target.parent_path() / ("." + target.filename().string() + ".new-" +
                                                    std::to_string(::getpid()));
  fs::remove_all(building, ec);
  if (::mkdir(building.c_str(), 0700) != 0) fail(std::strerror(errno));
  ::chmod(building.c_str(), 0700);  // whatever the umask
  try {
    for (const TableDef* def : tablesOfAlias(alias))
      TableFile::create(*def, building / def->fileName);
  } catch (...) {
    fs::remove_all(building, ec);
    throw;
  }
  if (::rename(building.c_str(), target.c_str()) != 0) {
    const int err = errno;
    fs::remove_all(building, ec);
    // Another program may have made it meanwhile; that one is used.
    if (!fs::is_directory(target, ec)) fail(std::strerror(err));
  }
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
