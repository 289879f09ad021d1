#include <iomanip>
#include <ostream>

#include "DbTool.h"
#include "LegacyImport.h"
#include "SafetyCommands.h"

namespace corvanta {

namespace fs = std::filesystem;

int importLegacyCommand(const std::vector<std::string>& args, std::ostream& out) {
  std::vector<std::string> paths;
  bool dryRun = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--dry-run")
      dryRun = true;
    else if (args[i].rfind("--", 0) == 0)
      throw DbUsageError{"import-legacy does not take '" + args[i] + "'"};
    else
      paths.push_back(args[i]);
  }
  if (paths.size() != 2) throw DbUsageError{"import-legacy takes a SOURCE and a DEST directory"};
  const fs::path source = fs::absolute(paths[0]).lexically_normal();
  const fs::path dest = fs::absolute(paths[1]).lexically_normal();
  const LegacyImportReport report = importLegacyTables(source, dest, dryRun);
  out << (dryRun ? "Dry run, nothing written: " : "") << "legacy tables from " << source.string()
      << (dryRun ? " would go to " : " imported into ") << dest.string() << "\n";
  std::int64_t skipped = 0;
  for (const auto& t : report.tables) {
    skipped += t.skipped;
    out << "  " << std::left << std::setw(18) << t.table << std::right << std::setw(9) << t.read
        << " read" << std::setw(9) << t.imported << " imported" << std::setw(7) << t.skipped
        << " skipped   (" << t.source.filename().string() << ", code page "
        << (t.codePage ? std::to_string(t.codePage) : std::string("not set, read as 1252"))
        << ")\n";
    for (const auto& s : t.skips) out << "      skipped " << s << "\n";
    for (const auto& n : t.notes) out << "      note: " << n << "\n";
  }
  if (skipped) out << skipped << " record(s) skipped; the legacy files are unchanged.\n";
  if (!dryRun)
    out << "; Put these lines in the engine configuration file, or point\n"
        << "; CORVANTA_ENGINE_CONFIG at a file holding them.\n"
        << "[Aliases]\n"
        << "DatabaseFiles = " << (dest / "DatabaseFiles").string() << "\n"
        << "DatabaseFilesQVX = " << (dest / "DatabaseFilesQVX").string() << "\n";
  return 0;
}

}  // namespace corvanta
