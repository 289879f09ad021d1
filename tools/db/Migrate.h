#pragma once
// Moving a shop between a data directory of local table files and a database server that
// several workstations share, either way.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "data/engine/EngineConfig.h"

namespace corvanta {

struct MigratedTable {
  std::string table;
  std::int64_t records = 0;
};

// Both aliases of one place: "postgresql:..." names a database, anything else a data
// directory holding DatabaseFiles and DatabaseFilesQVX.
EngineConfig migrationSide(const std::string& place);

// Copies every table from `from` to `to`.  Refuses, before writing anything, a target table
// that holds records and a source directory that does not exist; each table is copied in one
// transaction, committed only when the target's count equals the source's.
std::vector<MigratedTable> migrate(const EngineConfig& from, const EngineConfig& to);

// corvanta-db migrate FROM TO
int migrateCommand(const std::vector<std::string>& args, std::ostream& out);

}  // namespace corvanta
