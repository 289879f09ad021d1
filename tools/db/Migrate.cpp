// corvanta-db migrate: every table of the shop from a data directory to a database server or
// back, into empty tables only, each table in one transaction whose record count is checked
// before it is committed.
#include "Migrate.h"

#include <ostream>

#include "DbTool.h"
#include "data/engine/Engine.h"
#include "ui/Error.h"

namespace corvanta {

namespace fs = std::filesystem;

EngineConfig migrationSide(const std::string& place) {
  if (EngineConfig::isDatabaseName(place)) {
    if (EngineConfig::namesPassword(place))
      throw Error("'" + place.substr(0, place.find(':')) +
                  ":...' carries a password: keep it in ~/.pgpass or a connection service file");
    EngineConfig cfg;
    for (const char* alias : {"DatabaseFiles", "DatabaseFilesQVX"}) cfg.setAlias(alias, place);
    return cfg;
  }
  std::error_code ec;
  fs::path dir = fs::absolute(place, ec);
  return EngineConfig::forDataDirectory((ec ? fs::path(place) : dir).lexically_normal());
}

std::vector<MigratedTable> migrate(const EngineConfig& from, const EngineConfig& to) {
  const Engine source(from), target(to);
  for (const auto& def : shopTables())
    if (!from.connection(def.alias)) {
      std::error_code ec;
      const fs::path dir = *from.alias(def.alias);
      if (!fs::is_directory(dir, ec))
        throw Error("There is nothing to migrate: '" + dir.string() + "' is not a directory");
    }
  std::vector<std::unique_ptr<TableStore>> in, out;
  for (const auto& def : shopTables()) in.push_back(source.openTable(def.alias, def, true));
  for (const auto& def : shopTables()) {
    out.push_back(target.openTable(def.alias, def));
    if (const std::int64_t n = out.back()->count(); n > 0)
      throw Error("Nothing was migrated: " + out.back()->where() + " already holds " +
                  std::to_string(n) + " records; migrate copies only into empty tables");
  }
  std::vector<MigratedTable> done;
  for (size_t i = 0; i < in.size(); ++i) {
    TableStore& src = *in[i];
    TableStore& dst = *out[i];
    const std::int64_t expected = src.count();
    dst.beginBulk();
    try {
      // In primary index order; auto-increment numbers travel as they are, so sales lines
      // keep their Item numbers and clients their CustNum.
      src.scan(src.def().indexes.front(), [&](const Row& row) {
        dst.insert(row.values);
        return true;
      });
      const std::int64_t copied = dst.count();
      if (copied != expected)
        throw Error(dst.where() + " would hold " + std::to_string(copied) + " records, not the " +
                    std::to_string(expected) + " of " + src.where());
      dst.commitBulk();
    } catch (...) {
      dst.rollbackBulk();
      throw;
    }
    done.push_back({src.def().tableName, expected});
  }
  return done;
}

int migrateCommand(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 3) throw DbUsageError{"migrate takes a source and a target"};
  const auto tables = migrate(migrationSide(args[1]), migrationSide(args[2]));
  std::int64_t total = 0;
  for (const auto& t : tables) {
    out << t.table << ": " << t.records << " records\n";
    total += t.records;
  }
  out << "migrated " << total << " records; every table's count checked\n";
  return 0;
}

}  // namespace corvanta
