#include "data/engine/AutomaticBackup.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "data/engine/Backup.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// The Monday-based week a day falls in (1970-01-01 was a Thursday).
long weekOf(const DatedBackup& b) {
  const long days = daysFromCivil(b.year, b.month, b.day);
  return (days + 3 - ((days + 3) % 7 + 7) % 7) / 7;
}

bool sameDay(const DatedBackup& b, std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return b.year == tm.tm_year + 1900 && b.month == tm.tm_mon + 1 && b.day == tm.tm_mday;
}

}  // namespace

std::vector<DatedBackup> automaticBackups(const fs::path& directory) {
  std::vector<DatedBackup> out;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directory, ec)) {
    const std::string name = entry.path().filename().string();
    DatedBackup b{entry.path()};
    char rest = 0;
    if (name.empty() || name[0] == '.' ||
        std::sscanf(name.c_str(), "%4d-%2d-%2d_%*6d%c", &b.year, &b.month, &b.day, &rest) < 3)
      continue;
    try {
      if (readManifest(entry.path()).kind != "automatic") continue;
    } catch (const Error&) {
      continue;  // not ours to judge, never ours to drop
    }
    out.push_back(b);
  }
  // Folder names sort as their dates and times.
  std::sort(out.begin(), out.end(), [](const DatedBackup& a, const DatedBackup& b) {
    return a.folder.filename() > b.folder.filename();
  });
  return out;
}

std::vector<fs::path> backupsToDrop(const std::vector<DatedBackup>& newestFirst, int daily,
                                    int weekly) {
  std::vector<bool> keep(newestFirst.size(), false);
  for (size_t i = 0; i < newestFirst.size() && static_cast<int>(i) < daily; ++i) keep[i] = true;
  std::set<long> weeks;
  for (size_t i = 0; i < newestFirst.size(); ++i) {
    const long w = weekOf(newestFirst[i]);
    if (weeks.count(w)) continue;
    if (static_cast<int>(weeks.size()) >= weekly) break;
    weeks.insert(w);
    keep[i] = true;  // the newest of its week
  }
  std::vector<fs::path> drop;
  for (size_t i = 0; i < newestFirst.size(); ++i)
    if (!keep[i]) drop.push_back(newestFirst[i].folder);
  return drop;
}

AutomaticBackup::AutomaticBackup(const Engine& engine, std::time_t now)
    : engine_(engine.config()), directory_(engine.config().backupDirectory()) {
  if (!engine_.config().backups().automatic) {
    done_ = true;
    return;
  }
  const auto existing = automaticBackups(directory_);
  if (!existing.empty() && sameDay(existing.front(), now)) {
    done_ = true;
    return;
  }
  thread_ = std::thread([this, now] { run(now); });
}

AutomaticBackup::~AutomaticBackup() {
  cancel_ = true;
  wait();
}

void AutomaticBackup::wait() {
  if (thread_.joinable()) thread_.join();
}

void AutomaticBackup::run(std::time_t now) {
  // The windows come first: this thread yields the processor to them.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
  try {
    const fs::path folder = directory_ / backupFolderName(now);
    takeBackup(engine_, folder, "automatic", &cancel_);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      folder_ = folder;
    }
    const BackupPolicy& p = engine_.config().backups();
    std::error_code ec;
    for (const fs::path& old : backupsToDrop(automaticBackups(directory_), p.daily, p.weekly))
      fs::remove_all(old, ec);
  } catch (const std::exception& e) {
    if (!cancel_) {
      std::lock_guard<std::mutex> lock(mutex_);
      failure_ = std::string("The automatic backup of the tables failed: ") + e.what() +
                 ".\nThe tables themselves are unchanged.";
    }
  }
  done_ = true;
}

std::optional<std::string> AutomaticBackup::takeFailure() {
  std::lock_guard<std::mutex> lock(mutex_);
  auto f = std::move(failure_);
  failure_.reset();
  return f;
}

fs::path AutomaticBackup::folder() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return folder_;
}

}  // namespace corvanta
