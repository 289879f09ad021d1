#pragma once
// corvanta-db: creates, checks, dumps and generates the shop's tables.
// Kept apart from main() so that every command can be run and tested in-process.
#include <iosfwd>
#include <string>
#include <vector>

namespace corvanta {

// Thrown by a command for a command line it cannot take: the text, then the usage, exit 2.
struct DbUsageError {
  std::string text;
};

// Runs one command line (without the program name).  Returns the exit status: 0 done,
// 1 failed (the error's text on err), 2 wrong usage (the usage text on err).
int runDbTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace corvanta
