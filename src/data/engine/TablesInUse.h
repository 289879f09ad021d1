#pragma once
// Who has an alias's tables open, told through an advisory lock on a small file in the alias
// directory (".tables-in-use").  The program holds a shared lock on it for as long as its
// data modules have their tables open; a restore takes it exclusively, so it is refused while
// the program runs, and a program started during a restore stops with a clear message instead
// of opening tables that are being swapped.  flock() locks go with the process: a program
// that crashes or is killed leaves no stale lock behind.
#include <filesystem>

namespace corvanta {

class TablesInUse {
 public:
  enum class Mode { Shared, Exclusive };
  // Takes the lock without waiting; throws an Error saying who holds it otherwise.
  TablesInUse(const std::filesystem::path& aliasDir, Mode mode);
  ~TablesInUse();
  TablesInUse(const TablesInUse&) = delete;
  TablesInUse& operator=(const TablesInUse&) = delete;

  static constexpr const char* kFileName = ".tables-in-use";

 private:
  int fd_ = -1;
};

}  // namespace corvanta
