#pragma once
// The shop's tables on a database server, copied to and from table files: what backups and
// restores do with an alias that names a server (Backup.h does the folders and manifests).
//
// A backup reads every table of the database in one read-only REPEATABLE READ transaction,
// so the copy is one moment of the whole database while workstations go on selling, and
// writes each table as the very file a local alias holds: the same row ids, the
// auto-increment counter, and the rows that keep commands whole across a crash.  So a
// server's backup passes the checks of any backup, and may be restored into a local
// directory, as a local backup may be restored onto a server.
//
// A restore replaces every table of the database from such files in one transaction, with
// every workstation kept out (PgConnection's tables-in-use lock), so a failure at any point
// leaves the server as it was.
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/engine/Postgres.h"
#include "data/engine/TableSchema.h"

namespace corvanta {

class ServerBackup {
 public:
  using FileOf = std::function<std::filesystem::path(const TableDef&)>;

  // Connects; `name` is what messages call the database (its alias or aliases).
  ServerBackup(const std::string& conninfo, std::string name);

  // Whether two connection strings reach the shop's tables in one database (the same
  // database and schema of one server).
  static bool sameTables(const std::string& conninfo, const std::string& other);

  // Keeps every workstation away from the tables for as long as this object lives.  Throws
  // an Error naming the database while any workstation (or tool that writes) has them open.
  void lockOutWorkstations();

  // Writes each of `tables` as it stands at one moment to the new table file fileOf(def),
  // made here.  A command's plan goes to the file of the first of `tables`, its step marks
  // to every file (on the server they are shared by every table).  `cancel`, when set, stops
  // the copy at the next batch of records with an Error.
  void backup(const std::vector<const TableDef*>& tables, const FileOf& fileOf,
              const std::atomic<bool>* cancel = nullptr);

  // Replaces every one of `tables` by the records of the (verified) table file fileOf(def),
  // row ids and counters kept, and the command rows by those of the files, in a transaction
  // that stays open until commit().  Each table's record count is checked.  On failure the
  // transaction is rolled back (nothing changed) and the Error names what failed.  The
  // order-number series is left as it is: numbers given out are never given again.
  void load(const std::vector<const TableDef*>& tables, const FileOf& fileOf);
  void commit();

 private:
  PgConnection db_;
  std::string name_;
};

}  // namespace corvanta
