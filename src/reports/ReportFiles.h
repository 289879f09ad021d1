#pragma once
// Finding the files that windows name in the shop's old Windows style: report definitions
// ("C:\Program Files\DARROWMERE\DataBase Files\" + "Sales.rpt", or a file picked in a file
// dialog) and help files ("C:\windows\help\Inventory.HLP", or a bare "Corvanta.HLP").
// Directories go through the engine's path map; file names are matched without regard to
// case, as they were where these names come from.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "data/engine/EngineConfig.h"

namespace corvanta::reports {

// The local path a report component's directory and name stand for (it may not exist).
// A name that is itself a full path (local, or Windows-style with a drive) wins over the
// directory; a bare name without a directory is looked for in the shop's report directory.
std::filesystem::path definitionPath(const EngineConfig& config, const std::string& directory,
                                     const std::string& name);
// Directory and name as a person would recognise them in a message.
std::string shownName(const std::string& directory, const std::string& name);

// `wanted` if it is a file; else a file in the same directory whose name differs only in
// case; else the same with `extension` appended when the name has none.  nullopt: none.
std::optional<std::filesystem::path> findFileNoCase(const std::filesystem::path& wanted,
                                                    const std::string& extension = {});

// Where help files are: "C:\windows\help\X.HLP" through the path map, a bare "X.HLP" in
// the search path (the shipped share/help by default).
class HelpFiles {
 public:
  explicit HelpFiles(const EngineConfig& config,
                     std::vector<std::filesystem::path> searchPath = {});
  // The local file, or Error with a message that names the help file.
  std::filesystem::path locate(const std::string& helpFile) const;

 private:
  const EngineConfig& config_;
  std::vector<std::filesystem::path> searchPath_;
};

}  // namespace corvanta::reports
