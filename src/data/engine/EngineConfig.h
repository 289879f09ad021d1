#pragma once
// The engine's configuration: which directory each database alias names, and where the
// Windows-style directories that report and help names carry are found on this machine.
//
// File format (INI):
//   [Aliases]
//   DatabaseFiles = /home/shop/.local/share/corvanta/DatabaseFiles
//   [Paths]
//   C:\Program Files\DARROWMERE\DataBase Files = /usr/share/corvanta/reports
//   [Backups]
//   Automatic = yes          ; at most one a day, taken when the program starts
//   Daily = 7                ; the last 7 automatic backups of different days are kept
//   Weekly = 4               ; and the newest of each of the last 4 weeks
//   Directory = /media/usb/corvanta-backups   ; default $XDG_DATA_HOME/corvanta/backups
// Names on the left are matched without regard to case.  An alias may instead name a database
// on a server that several workstations share, by a connection string or service name:
//   DatabaseFiles = postgresql:service=shop
//   DatabaseFilesQVX = postgresql://tills.example/shop?sslmode=require
// Passwords never go here (they belong in ~/.pgpass or the service file).
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvanta {

// How the program keeps its automatic backups.
struct BackupPolicy {
  bool automatic = true;
  int daily = 7;
  int weekly = 4;
  std::filesystem::path directory;  // empty: $XDG_DATA_HOME/corvanta/backups
};

class EngineConfig {
 public:
  // Reads a configuration file; throws an Error naming the file when it cannot be read.
  static EngineConfig load(const std::filesystem::path& file);
  // The configuration in force: $CORVANTA_ENGINE_CONFIG, else
  // $XDG_CONFIG_HOME/corvanta/engine.ini, which is written with the default aliases
  // (tables under $XDG_DATA_HOME/corvanta/) when it does not exist yet.
  static EngineConfig fromEnvironment();
  // The file fromEnvironment() reads: $CORVANTA_ENGINE_CONFIG, else
  // $XDG_CONFIG_HOME/corvanta/engine.ini (~/.config when XDG_CONFIG_HOME is unset).
  static std::filesystem::path fileInForce();
  // A configuration whose two aliases are subdirectories of one data directory.
  static EngineConfig forDataDirectory(const std::filesystem::path& dir);

  void save(const std::filesystem::path& file) const;

  void setAlias(const std::string& alias, const std::filesystem::path& dir);
  std::optional<std::filesystem::path> alias(std::string_view name) const;
  const std::vector<std::pair<std::string, std::filesystem::path>>& aliases() const {
    return aliases_;
  }

  // The connection string of an alias that names a database server, else nothing.
  std::optional<std::string> connection(std::string_view alias) const;
  // Whether an alias's value names a database server ("postgresql:...").
  static bool isDatabaseName(std::string_view value);
  // Whether a connection string carries a password.
  static bool namesPassword(std::string_view value);

  void mapPath(const std::string& windowsDir, const std::filesystem::path& localDir);
  // "C:\windows\help\Corvanta.HLP" -> local path, through the longest matching mapped prefix
  // (case and slash direction ignored).  A name without a directory, or an unmapped one,
  // comes back as given with backslashes turned to slashes.
  std::filesystem::path resolve(std::string_view windowsPath) const;

  const BackupPolicy& backups() const { return backups_; }
  BackupPolicy& backups() { return backups_; }
  // The backup directory in force: the configured one, else $XDG_DATA_HOME/corvanta/backups.
  std::filesystem::path backupDirectory() const;

  // Where the program's shipped report definitions and help files are.
  static std::filesystem::path shareDirectory();

 private:
  void setBackupOption(const std::filesystem::path& file, const std::string& name,
                       const std::string& value);

  std::vector<std::pair<std::string, std::filesystem::path>> aliases_;
  std::vector<std::pair<std::string, std::filesystem::path>> paths_;
  BackupPolicy backups_;
};

}  // namespace corvanta
