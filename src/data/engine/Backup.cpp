#include "data/engine/Backup.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>

#include "data/engine/ServerBackup.h"
#include "data/engine/Sha256.h"
#include "data/engine/Sqlite.h"
#include "data/engine/TableFile.h"
#include "data/engine/TablesInUse.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr const char* kManifest = "manifest.json";

std::string localTime(std::time_t when, const char* format) {
  std::tm tm{};
  localtime_r(&when, &tm);
  char buf[64];
  std::strftime(buf, sizeof buf, format, &tm);
  return buf;
}

// Flushes a file or directory to disk, so that a rename after it publishes complete data.
void syncPath(const fs::path& p) {
  const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw Error("Cannot open '" + p.string() + "': " + std::strerror(errno));
  const int rc = ::fsync(fd);
  const int err = errno;
  ::close(fd);
  if (rc != 0) throw Error("Cannot write '" + p.string() + "' to disk: " + std::strerror(err));
}

void makePrivateDirectory(const fs::path& dir) {
  if (::mkdir(dir.c_str(), 0700) != 0)
    throw Error("Cannot create the directory '" + dir.string() + "': " + std::strerror(errno));
  ::chmod(dir.c_str(), 0700);  // whatever the umask
}

// Renames without ever replacing: a folder that appeared meanwhile stays as it was.
void renameNoReplace(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0)
    throw Error("Cannot rename '" + from.string() + "' to '" + to.string() +
                "': " + std::strerror(errno));
}

// One table file copied through SQLite's online backup, all pages in one step: the step holds
// one read transaction, so the copy is the table at one moment.
void copyTable(const fs::path& source, const fs::path& target) {
  SqliteDb from(source, SqliteDb::Mode::ReadOnly);
  SqliteDb to(target, SqliteDb::Mode::Create);
  sqlite3_backup* b = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
  if (!b) to.fail("starting the backup of '" + source.string() + "'");
  int rc;
  // A writer checkpointing at the very moment makes the source briefly busy: wait and go on.
  while ((rc = sqlite3_backup_step(b, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) sqlite3_sleep(50);
  sqlite3_backup_finish(b);
  if (rc != SQLITE_DONE) to.fail("copying '" + source.string() + "'");
  // The copy is a single self-contained file: no write-ahead log beside it.
  to.exec("PRAGMA journal_mode=DELETE");
}

BackupTable describe(const TableDef& def, const fs::path& file) {
  BackupTable t{def.alias, def.fileName, def.tableName, 0, 0, ""};
  TableFile opened(def, file, /*readOnly=*/true);
  t.records = opened.count();
  t.bytes = fs::file_size(file);
  t.sha256 = sha256OfFile(file);
  return t;
}

// The aliases that name one database server (by its connection string), with their tables.
struct ServerAliases {
  std::string conninfo;
  std::string name;  // "DatabaseFiles", or "DatabaseFiles and DatabaseFilesQVX"
  std::vector<std::string> aliases;
  std::vector<const TableDef*> tables;
};

std::vector<ServerAliases> serversOf(const EngineConfig& config) {
  std::vector<ServerAliases> out;
  for (const auto& [alias, value] : config.aliases()) {
    (void)value;
    const auto conninfo = config.connection(alias);
    const auto defs = tablesOfAlias(alias);
    if (!conninfo || defs.empty()) continue;
    // Two connection strings may name one database (one a service, the other its settings):
    // its tables are then read in one snapshot and restored in one transaction too.
    auto it = std::find_if(out.begin(), out.end(), [&](const ServerAliases& s) {
      return s.conninfo == *conninfo || ServerBackup::sameTables(s.conninfo, *conninfo);
    });
    if (it == out.end()) it = out.insert(out.end(), ServerAliases{*conninfo, "", {}, {}});
    it->name += (it->name.empty() ? "" : " and ") + alias;
    it->aliases.push_back(alias);
    it->tables.insert(it->tables.end(), defs.begin(), defs.end());
  }
  return out;
}

void writeManifest(const fs::path& folder, const BackupManifest& m) {
  json tables = json::array();
  for (const auto& t : m.tables)
    tables.push_back({{"alias", t.alias},
                      {"file", t.file},
                      {"table", t.table},
                      {"records", t.records},
                      {"bytes", t.bytes},
                      {"sha256", t.sha256}});
  const json doc = {{"format", 1}, {"created", m.created}, {"kind", m.kind}, {"tables", tables}};
  const fs::path file = folder / kManifest;
  std::ofstream out(file);
  out << doc.dump(2) << "\n";
  out.close();
  if (!out) throw Error("Cannot write '" + file.string() + "'");
  syncPath(file);
}

}  // namespace

std::string backupFolderName(std::time_t when) {
  return localTime(when, "%Y-%m-%d_%H%M%S");
}

BackupManifest takeBackup(const Engine& engine, const fs::path& folder, const std::string& kind,
                          const std::atomic<bool>* cancel) {
  std::error_code ec;
  if (fs::exists(folder, ec) || fs::is_symlink(folder, ec))
    throw Error("The backup folder '" + folder.string() + "' already exists; nothing was written");
  const fs::path parent = folder.parent_path();
  if (!fs::exists(parent, ec)) {
    fs::create_directories(parent.parent_path(), ec);
    if (::mkdir(parent.c_str(), 0700) != 0 && errno != EEXIST)
      throw Error("Cannot create the backup directory '" + parent.string() +
                  "': " + std::strerror(errno));
  }
  const fs::path building =
      parent / ("." + folder.filename().string() + ".partial-" + std::to_string(::getpid()));
  fs::remove_all(building, ec);
  makePrivateDirectory(building);
  BackupManifest m;
  m.created = localTime(std::time(nullptr), "%Y-%m-%d %H:%M:%S");
  m.kind = kind;
  try {
    // Each server's tables first, all of them in one snapshot; they take their places in
    // the manifest below, beside the local ones, in the order of the aliases.
    for (const ServerAliases& server : serversOf(engine.config())) {
      for (const std::string& alias : server.aliases) makePrivateDirectory(building / alias);
      ServerBackup(server.conninfo, server.name)
          .backup(
              server.tables,
              [&](const TableDef& def) { return building / def.alias / def.fileName; }, cancel);
    }
    for (const auto& [alias, dir] : engine.config().aliases()) {
      (void)dir;
      const auto defs = tablesOfAlias(alias);
      if (defs.empty()) continue;
      if (engine.config().connection(alias)) {
        for (const TableDef* def : defs) {
          const fs::path target = building / alias / def->fileName;
          m.tables.push_back(describe(*def, target));
          syncPath(target);
        }
        syncPath(building / alias);
        continue;
      }
      const fs::path aliasDir = engine.config().alias(alias).value();
      if (!fs::is_directory(aliasDir, ec))
        throw Error("The directory '" + aliasDir.string() + "' of database " + alias +
                    " does not exist");
      makePrivateDirectory(building / alias);
      for (const TableDef* def : defs) {
        if (cancel && cancel->load()) throw Error("The backup was stopped");
        const fs::path target = building / alias / def->fileName;
        try {
          copyTable(aliasDir / def->fileName, target);
          m.tables.push_back(describe(*def, target));
          syncPath(target);
        } catch (const Error& e) {
          throw Error("Backup of " + def->tableName + " failed: " + e.what());
        }
      }
      syncPath(building / alias);
    }
    writeManifest(building, m);
    syncPath(building);
    renameNoReplace(building, folder);
    syncPath(parent);
  } catch (...) {
    fs::remove_all(building, ec);
    throw;
  }
  return m;
}

BackupManifest readManifest(const fs::path& folder) {
  const fs::path file = folder / kManifest;
  std::ifstream in(file);
  if (!in) throw Error("'" + folder.string() + "' is not a backup: it has no " + kManifest);
  try {
    const json doc = json::parse(in);
    BackupManifest m;
    m.created = doc.at("created").get<std::string>();
    m.kind = doc.value("kind", "");
    for (const auto& t : doc.at("tables"))
      m.tables.push_back({t.at("alias").get<std::string>(), t.at("file").get<std::string>(),
                          t.at("table").get<std::string>(), t.at("records").get<std::int64_t>(),
                          t.at("bytes").get<std::uint64_t>(), t.at("sha256").get<std::string>()});
    return m;
  } catch (const json::exception& e) {
    throw Error("The backup manifest '" + file.string() + "' is damaged: " + e.what());
  }
}

BackupManifest verifyBackup(const fs::path& folder) {
  BackupManifest m = readManifest(folder);
  for (const auto& def : shopTables()) {
    const BackupTable* t = nullptr;
    for (const auto& entry : m.tables)
      if (entry.alias == def.alias && entry.file == def.fileName) t = &entry;
    if (!t) throw Error("The backup '" + folder.string() + "' does not hold " + def.tableName);
    // The manifest names files; a name that leaves the folder is not one of ours.
    const fs::path file = folder / def.alias / def.fileName;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
      throw Error("The backup's table file '" + file.string() + "' is missing");
    if (fs::file_size(file, ec) != t->bytes || sha256OfFile(file) != t->sha256)
      throw Error("The backup's table file '" + file.string() +
                  "' has changed since the backup was taken (its checksum differs)");
    TableFile opened(def, file, /*readOnly=*/true);
    const std::string check = opened.quickCheck();
    if (check != "ok")
      throw Error("The backup's table file '" + file.string() + "' is damaged: " + check);
    const std::int64_t n = opened.count();
    if (n != t->records)
      throw Error("The backup's table file '" + file.string() + "' holds " + std::to_string(n) +
                  " records, its manifest says " + std::to_string(t->records));
  }
  return m;
}

RestoreResult restoreBackup(const Engine& engine, const fs::path& folder) {
  RestoreResult r;
  r.manifest = verifyBackup(folder);
  const auto servers = serversOf(engine.config());
  // A server that does not hold the shop's tables yet gets them, empty, as at a
  // workstation's first start: a backup may go onto a new server.
  for (const ServerAliases& server : servers)
    for (const TableDef* def : server.tables) engine.openTable(def->alias, *def);
  // Every alias is locked before anything moves: a program running on any of them refuses
  // the whole restore, and none can start until it is done.
  std::vector<std::pair<std::string, fs::path>> aliases;
  std::vector<std::unique_ptr<TablesInUse>> locks;
  for (const auto& [alias, dir] : engine.config().aliases()) {
    (void)dir;
    if (tablesOfAlias(alias).empty() || engine.config().connection(alias)) continue;
    const fs::path aliasDir = engine.aliasDirectory(alias);
    locks.push_back(std::make_unique<TablesInUse>(aliasDir, TablesInUse::Mode::Exclusive));
    aliases.emplace_back(alias, aliasDir);
  }
  std::vector<std::unique_ptr<ServerBackup>> serverLocks;
  for (const ServerAliases& server : servers) {
    serverLocks.push_back(std::make_unique<ServerBackup>(server.conninfo, server.name));
    serverLocks.back()->lockOutWorkstations();
  }
  const std::string stamp = "replaced-" + backupFolderName(std::time(nullptr));
  // A server's tables cannot be moved aside as files are: what the restore replaces there
  // is first copied, as a backup of its own (restorable like any), to the backup directory.
  fs::path keptFromServers;
  std::error_code ec;
  if (!servers.empty()) {
    keptFromServers = engine.config().backupDirectory() / stamp;
    for (int n = 2; fs::exists(keptFromServers, ec); ++n)
      keptFromServers = engine.config().backupDirectory() / (stamp + "-" + std::to_string(n));
    takeBackup(engine, keptFromServers, "replaced");
  }
  // First every backup file is copied next to the table it replaces, under a hidden name, so
  // that a full disk or an unreadable file stops the restore before any table has moved.
  // Then each server's tables are loaded, in a transaction of their own held open until
  // every one is loaded.
  std::vector<std::pair<fs::path, fs::path>> incoming;  // hidden copy, final name
  try {
    for (const auto& [alias, aliasDir] : aliases)
      for (const TableDef* def : tablesOfAlias(alias)) {
        const fs::path hidden = aliasDir / (".restoring-" + def->fileName);
        fs::remove(hidden, ec);
        if (!fs::copy_file(folder / alias / def->fileName, hidden, ec))
          throw Error("Cannot copy '" + (folder / alias / def->fileName).string() + "' to '" +
                      hidden.string() + "': " + ec.message());
        syncPath(hidden);
        incoming.emplace_back(hidden, aliasDir / def->fileName);
      }
    for (size_t i = 0; i < servers.size(); ++i)
      serverLocks[i]->load(servers[i].tables,
                           [&](const TableDef& def) { return folder / def.alias / def.fileName; });
  } catch (...) {
    for (const auto& [hidden, target] : incoming) fs::remove(hidden, ec);
    if (!keptFromServers.empty()) fs::remove_all(keptFromServers, ec);
    throw;
  }
  // Everything is loaded; only the commits remain.  With two servers a failure between
  // their commits leaves one restored: the copy of what it held is then kept, and named.
  try {
    for (auto& server : serverLocks) server->commit();
  } catch (const Error& e) {
    for (const auto& [hidden, target] : incoming) fs::remove(hidden, ec);
    throw Error(std::string("The restore could not be completed: ") + e.what() +
                ". The tables the database server held before are kept in '" +
                keptFromServers.string() + "'");
  }
  r.keptFromServers = keptFromServers;
  // Then the current tables go aside, with their logs, and the copies take their names.
  for (const auto& [alias, aliasDir] : aliases) {
    fs::path aside = aliasDir / stamp;
    for (int n = 2; fs::exists(aside, ec); ++n)
      aside = aliasDir / (stamp + "-" + std::to_string(n));
    makePrivateDirectory(aside);
    for (const TableDef* def : tablesOfAlias(alias))
      for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        const fs::path current = aliasDir / (def->fileName + suffix);
        if (fs::exists(current, ec)) renameNoReplace(current, aside / current.filename());
      }
    syncPath(aside);
    r.setAside.push_back(aside);
  }
  for (const auto& [hidden, target] : incoming) renameNoReplace(hidden, target);
  for (const auto& [alias, aliasDir] : aliases) syncPath(aliasDir);
  return r;
}

}  // namespace corvanta
