#pragma once
// The corvanta-db commands that guard the shop's data: audit, backup, restore and the import
// of legacy tables.  Each takes the whole command line (args[0] is the command's name) and
// returns the exit status; wrong usage throws DbUsageError.
#include <iosfwd>
#include <string>
#include <vector>

namespace corvanta {

int auditCommand(const std::vector<std::string>& args, std::ostream& out);
int backupCommand(const std::vector<std::string>& args, std::ostream& out);
int restoreCommand(const std::vector<std::string>& args, std::ostream& out);
int importLegacyCommand(const std::vector<std::string>& args, std::ostream& out);

}  // namespace corvanta
