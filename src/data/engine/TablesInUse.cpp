#include "data/engine/TablesInUse.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ui/Error.h"

namespace corvanta {

TablesInUse::TablesInUse(const std::filesystem::path& aliasDir, Mode mode) {
  const std::filesystem::path file = aliasDir / kFileName;
  fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0)
    throw Error("Cannot open the lock file '" + file.string() + "': " + std::strerror(errno));
  const int op = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
  int rc;
  do rc = ::flock(fd_, op);
  while (rc != 0 && errno == EINTR);
  if (rc == 0) return;
  const int err = errno;
  ::close(fd_);
  fd_ = -1;
  if (err != EWOULDBLOCK)
    throw Error("Cannot lock the file '" + file.string() + "': " + std::strerror(err));
  if (mode == Mode::Shared)
    throw Error("The tables in '" + aliasDir.string() +
                "' are being restored from a backup; start the program again when the "
                "restore has finished");
  throw Error("The tables in '" + aliasDir.string() +
              "' are open in the program; close the program first");
}

TablesInUse::~TablesInUse() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace corvanta
