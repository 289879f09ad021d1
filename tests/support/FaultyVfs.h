#pragma once
// A SQLite VFS for tests that passes everything to the system's VFS but can make reads of
// main database files, or every write, fail with a chosen result code: a failing disk and a
// full one, without needing either.  Made the default VFS while it lives: only files opened
// after it was made go through it.
#include <memory>
#include <string>

namespace corvanta::test {

class FaultyVfs {
 public:
  FaultyVfs();
  ~FaultyVfs();
  FaultyVfs(const FaultyVfs&) = delete;
  FaultyVfs& operator=(const FaultyVfs&) = delete;

  // 0: no failure; else an SQLite result code such as SQLITE_IOERR_READ or SQLITE_FULL.
  void failReadsOfDatabases(int code);
  void failWrites(int code);
  // Only the writes of files whose path holds `part` (a table's name: its database file and
  // its log) fail.
  void failWritesOfFilesNamed(const std::string& part, int code);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace corvanta::test
