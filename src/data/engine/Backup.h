#pragma once
// Backups of the shop's tables and their restore.
//
// A backup is a folder named by date and time ("2026-12-08_141502") holding one folder per
// alias with copies of its table files and a manifest.json: every table's alias, file, record
// count, size and SHA-256.  Each file is copied with SQLite's online backup in one read
// transaction, so the copy is the table as it stood at one moment while the program goes on
// posting (WAL readers never block writers).  The folder is filled under a hidden name and
// renamed into place only when complete, so a backup cut short never looks like one.
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
// mode 0700, when missing).  Refuses, changing nothing, when `folder` exists.  Throws an Error
// naming the table or file that failed; nothing is left behind then.  `cancel`, when set
// between two tables, stops the backup the same way.
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
  std::vector<std::filesystem::path> setAside;  // where each alias's previous tables went
};

// Puts a verified backup in place of the engine's tables.  Refused (nothing changed) when the
// backup fails verification or when the program has the tables open (TablesInUse).  The
// current table files, with any write-ahead log, are moved into "replaced-<date_time>" in
// their alias directory, never deleted.
RestoreResult restoreBackup(const Engine& engine, const std::filesystem::path& folder);

}  // namespace corvanta
