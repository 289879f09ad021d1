#pragma once
// The program's automatic backup: at most one a day, taken on its own thread and its own
// connections while the windows go on, then old automatic backups dropped by the rotation of
// the engine configuration (by default the last 7 daily and 4 weekly).  Backups taken by hand
// are never dropped.  A failure never touches the live tables (a backup only reads them) and
// is handed to the program once, to show.
#include <atomic>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "data/engine/Engine.h"

namespace corvanta {

class AutomaticBackup {
 public:
  // Starts the backup when the configuration asks for automatic backups and none was taken
  // today (local time) in the backup directory.
  explicit AutomaticBackup(const Engine& engine, std::time_t now = std::time(nullptr));
  // Asks a running backup to stop at the next table (its partial copy is removed) and waits.
  ~AutomaticBackup();
  AutomaticBackup(const AutomaticBackup&) = delete;
  AutomaticBackup& operator=(const AutomaticBackup&) = delete;

  bool started() const { return thread_.joinable(); }
  bool finished() const { return done_.load(); }
  void wait();
  // The failure's text, once: the first call after a failed backup returns it, later calls
  // return nothing.
  std::optional<std::string> takeFailure();
  // The folder written, once finished successfully.
  std::filesystem::path folder() const;

 private:
  void run(std::time_t now);

  Engine engine_;
  std::filesystem::path directory_;
  std::thread thread_;
  std::atomic<bool> cancel_{false}, done_{false};
  mutable std::mutex mutex_;
  std::optional<std::string> failure_;
  std::filesystem::path folder_;
};

// An automatic backup in the backup directory: its folder and the day it was taken.
struct DatedBackup {
  std::filesystem::path folder;
  int year = 0, month = 0, day = 0;
};

// The automatic backups under `directory` (folders whose manifest says "automatic"), newest
// first.  Folders by hand, half-written ones and anything else are left out.
std::vector<DatedBackup> automaticBackups(const std::filesystem::path& directory);

// Which of the backups (newest first) the rotation drops: kept are the newest `daily` ones
// and the newest of each of the `weekly` most recent calendar weeks (Monday to Sunday).
std::vector<std::filesystem::path> backupsToDrop(const std::vector<DatedBackup>& newestFirst,
                                                 int daily, int weekly);

}  // namespace corvanta
