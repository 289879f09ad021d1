#include "data/engine/Engine.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "data/engine/PgTableStore.h"
#include "data/engine/TableFile.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;

namespace {

// The directory an alias names, without a trailing separator.
fs::path targetOf(const fs::path& dir) {
  fs::path target = dir.lexically_normal();
  if (target.filename().empty()) target = target.parent_path();
  return target;
}

// The hidden name a first start builds the alias directory under.
std::string buildingPrefix(const fs::path& target) {
  return "." + target.filename().string() + ".new-";
}

// Makes a directory's entries durable: a rename or a new file is not on disk before its
// directory is synced.
void syncDirectory(const fs::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Removes what first starts that were killed half-way left behind: the hidden building
// directories of processes that no longer run.  One still running may be building now.
void removeStaleBuilds(const fs::path& target) {
  const std::string prefix = buildingPrefix(target);
  std::error_code ec;
  for (fs::directory_iterator it(target.parent_path(), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) continue;
    const pid_t pid = static_cast<pid_t>(std::stol(digits));
    if (pid <= 0 || pid == ::getpid()) continue;
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;  // running, or not ours to know
    std::error_code ignored;
    fs::remove_all(it->path(), ignored);
  }
}

}  // namespace

fs::path Engine::aliasDirectory(std::string_view alias) const {
  auto dir = config_.alias(alias);
  if (!dir) throw Error("Unknown database: " + std::string(alias));
  if (config_.connection(alias))
    throw Error("The database " + std::string(alias) +
                " is on a database server, not in a directory of this computer");
  if (swept_.insert(targetOf(*dir).string()).second) removeStaleBuilds(targetOf(*dir));
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
  const fs::path target = targetOf(dir);
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  if (ec) fail(ec.message());
  // The directory is filled under a temporary name and then moved into place, so that a
  // start that fails half-way never leaves a directory with only some of its tables.  (One
  // killed half-way leaves the temporary directory, which the next start removes.)
  const fs::path building =
      target.parent_path() / (buildingPrefix(target) + std::to_string(::getpid()));
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
  syncDirectory(building);
  if (::rename(building.c_str(), target.c_str()) != 0) {
    const int err = errno;
    fs::remove_all(building, ec);
    // Another program may have made it meanwhile; that one is used.
    if (!fs::is_directory(target, ec)) fail(std::strerror(err));
    return;
  }
  // Until its directory is synced, a power cut may lose the rename and with it the tables.
  syncDirectory(target.parent_path());
}

fs::path Engine::tableFile(std::string_view alias, const TableDef& def) const {
  return aliasDirectory(alias) / def.fileName;
}

std::unique_ptr<TableStore> Engine::openTable(std::string_view alias, const TableDef& def,
                                              bool readOnly) const {
  if (auto conninfo = config_.connection(alias))
    return std::make_unique<PgTableStore>(def, *conninfo, std::string(alias), readOnly);
  if (!readOnly) return std::make_unique<TableFile>(def, tableFile(alias, def));
  auto dir = config_.alias(alias);
  if (!dir) throw Error("Unknown database: " + std::string(alias));
  std::error_code ec;
  if (!fs::is_directory(*dir, ec))
    throw Error("The directory '" + dir->string() + "' of database " + std::string(alias) +
                " does not exist");
  return std::make_unique<TableFile>(def, *dir / def.fileName, /*readOnly=*/true);
}

void Engine::createMissingTables() const {
  for (const auto& def : shopTables()) {
    if (config_.connection(def.alias)) {
      openTable(def.alias, def);  // made on opening
      continue;
    }
    fs::path dir = aliasDirectory(def.alias);
    if (!fs::exists(dir / def.fileName)) TableFile::create(def, dir / def.fileName);
  }
}

}  // namespace corvanta
