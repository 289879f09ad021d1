#pragma once
// Backups of the shop's tables and their restore.
//
// A backup is a folder named by date and time ("2026-12-08_141502") holding one folder per
// alias with copies of its table files and a manifest.json: every table's alias, file, record
// count, size and SHA-256.  Each file is copied with SQLite's online backup in one read
// transaction, so the copy is the table as it stood at one moment while the program goes on
// posting (WAL readers never block writers).  The folder is filled under a hidden name and
// renamed into place only when complete, so a backup cut short never looks like one.  An
// alias on a database server is backed up into the same files (ServerBackup.h), so every
// backup is checked and restored alike, wherever its tables came from or go to.
#include <atomic>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "data/engine/Engine.h"

namespace corvanta {

struct BackupTable {
  std::string alias, file, table;
  std::int64_t records = 0;
  std::uint64_t bytes = 0;
  std::string sha256;
};

struct BackupManifest {
  std::string created;  // local time, "2026-12-08 14:15:02"
  std::string kind;     // "automatic" or "by hand"
  std::vector<BackupTable> tables;
};

// "2026-12-08_141502" for a local time.
std::string backupFolderName(std::time_t when);

// Copies every table of both aliases into the new folder `folder` (its parent is created,
// mode 0700, when missing).  The tables of a database server are read in one snapshot of
// all of them and written as the table files a local alias holds (ServerBackup.h).  Refuses,
// changing nothing, when `folder` exists.  Throws an Error naming the table or file that failed;
// nothing is left behind then.  `cancel`, when set between two tables, stops the backup the same
// way.
BackupManifest takeBackup(const Engine& engine, const std::filesystem::path& folder,
                          const std::string& kind, const std::atomic<bool>* cancel = nullptr);

// Reads a backup's manifest; throws an Error naming the folder when it is missing or damaged.
BackupManifest readManifest(const std::filesystem::path& folder);

// Checks a backup as a restore needs it: the manifest names the five tables, every file is
// there with its size and checksum, opens as its table, passes SQLite's integrity check and
// holds the manifest's record count.  Throws an Error naming the first problem.
BackupManifest verifyBackup(const std::filesystem::path& folder);

struct RestoreResult {
  BackupManifest manifest;
  std::vector<std::filesystem::path> setAside;  // where each local alias's previous tables went
  std::filesystem::path keptFromServers;        // the backup of what it replaced on servers
};

// Puts a verified backup in place of the engine's tables, wherever each alias keeps them.
// Refused, with nothing changed, when the backup fails verification or while the program
// has the tables open: on this computer (TablesInUse), or on any workstation of a database
// server (its tables-in-use lock).  The current table files, with any write-ahead log, are
// moved into "replaced-<date_time>" in their alias directory, never deleted; the current
// tables of a database server are first backed up into "replaced-<date_time>" in the backup
// directory, then replaced, every table of that server in one transaction (all or nothing).
RestoreResult restoreBackup(const Engine& engine, const std::filesystem::path& folder);

}  // namespace corvanta
