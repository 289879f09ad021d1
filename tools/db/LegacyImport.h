#pragma once
// The import of a shop's tables from its former desktop database into a new data directory
// of ours: the five table files with the fields and indexes the program knows, each record
// converted field by field (matched by name), texts from the file's code page to UTF-8.
// Auto-increment numbers are kept, so the counters go on after the highest one imported.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace corvanta {

struct LegacyTableReport {
  std::string table;             // "stock.db"
  std::filesystem::path source;  // the legacy file read
  int codePage = 0;
  std::int64_t read = 0, imported = 0, skipped = 0;
  std::vector<std::string> skips;  // "record 17: duplicate key ..." (the first few)
  std::vector<std::string> notes;  // fields left out or missing, texts cut
};

struct LegacyImportReport {
  std::vector<LegacyTableReport> tables;
};

// Reads the five legacy table files from SOURCE (a directory holding them, or folders one
// level below it: matched without regard to case) and writes them into DEST/DatabaseFiles
// and DEST/DatabaseFilesQVX.  DEST must not exist or be empty; it is built under a hidden
// name and renamed into place when complete.  With dryRun, everything is read, converted
// and written to that hidden directory, which is then removed: the report is the one a real
// import would give.  Throws an Error naming the file for a missing or damaged table.
LegacyImportReport importLegacyTables(const std::filesystem::path& source,
                                      const std::filesystem::path& dest, bool dryRun);

}  // namespace corvanta
