#include <chrono>
#include <iomanip>
#include <ostream>

#include "DbTool.h"
#include "SafetyCommands.h"
#include "data/engine/Backup.h"

namespace corvanta {

namespace fs = std::filesystem;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void printTables(std::ostream& out, const BackupManifest& m) {
  for (const auto& t : m.tables)
    out << "  " << std::left << std::setw(18) << t.table << std::right << std::setw(10) << t.records
        << (t.records == 1 ? " record " : " records") << std::setw(14) << t.bytes << " bytes\n";
}

}  // namespace

int backupCommand(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() > 2 || (args.size() == 2 && args[1].rfind("--", 0) == 0))
    throw DbUsageError{"backup takes at most one directory"};
  const Engine engine(EngineConfig::fromEnvironment());
  const fs::path dest = args.size() == 2 ? fs::absolute(args[1]).lexically_normal()
                                         : engine.config().backupDirectory();
  const fs::path folder = dest / backupFolderName(std::time(nullptr));
  const auto start = std::chrono::steady_clock::now();
  const BackupManifest m = takeBackup(engine, folder, "by hand");
  out << "Backup written to " << folder.string() << " in " << std::fixed << std::setprecision(1)
      << secondsSince(start) << " s:\n";
  printTables(out, m);
  return 0;
}

int restoreCommand(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 2) throw DbUsageError{"restore takes one backup folder"};
  const Engine engine(EngineConfig::fromEnvironment());
  const auto start = std::chrono::steady_clock::now();
  const RestoreResult r = restoreBackup(engine, fs::absolute(args[1]).lexically_normal());
  out << "Restored the backup of " << r.manifest.created << " in " << std::fixed
      << std::setprecision(1) << secondsSince(start) << " s:\n";
  printTables(out, r.manifest);
  if (!r.setAside.empty()) {
    out << "The tables it replaced were moved, not deleted, to:\n";
    for (const auto& p : r.setAside) out << "  " << p.string() << "\n";
  }
  if (!r.keptFromServers.empty())
    out << "The tables it replaced on the database server were backed up first, to:\n  "
        << r.keptFromServers.string() << "\n";
  return 0;
}

}  // namespace corvanta
