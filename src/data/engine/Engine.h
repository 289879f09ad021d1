#pragma once
// The engine session: the configuration in force and the alias directories it names.
// Tables are opened through it by alias and table name; nothing else builds a table path.
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "data/engine/EngineConfig.h"
#include "data/engine/TableSchema.h"
#include "data/engine/TableStore.h"

namespace corvanta {

class Engine {
 public:
  explicit Engine(EngineConfig config) : config_(std::move(config)) {}

  const EngineConfig& config() const { return config_; }

  // The directory of an alias.  A directory that does not exist yet is created (mode 0700)
  // with every table of the alias, empty: the shop's first start.  The first call for an
  // alias also removes what first starts killed half-way left beside it (hidden building
  // directories of processes no longer running).  Throws an Error naming the alias when it
  // is not configured, or the directory when it cannot be made or read.
  std::filesystem::path aliasDirectory(std::string_view alias) const;
  // The file of a table of an alias (the alias directory is prepared as above).
  std::filesystem::path tableFile(std::string_view alias, const TableDef& def) const;

  // Opens a table of an alias where it is stored: its file in the alias directory (prepared
  // as above), or its table on the database server the alias names (made on first use).
  // Read-only it prepares nothing: a missing directory is an error, never made by a read.
  std::unique_ptr<TableStore> openTable(std::string_view alias, const TableDef& def,
                                        bool readOnly = false) const;

  // Creates every table of both aliases, empty, in their directories (which may exist).
  // Existing table files are left alone.
  void createMissingTables() const;

 private:
  void createAliasDirectory(std::string_view alias, const std::filesystem::path& dir) const;

  EngineConfig config_;
  mutable std::set<std::string> swept_;  // alias directories whose leftovers were removed
};

}  // namespace corvanta
