#include "support/FaultyVfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace corvanta::test {

namespace {

int g_readFailure = 0;
int g_writeFailure = 0;
std::string g_writeTarget;  // empty: every file
sqlite3_vfs* g_base = nullptr;

// Our file: the methods pointer first, as SQLite requires, then the system VFS's own file.
struct ShimFile {
  sqlite3_file base;
  bool database;
  const char* name;  // SQLite keeps it valid until the file is closed
};

sqlite3_file* real(sqlite3_file* f) {
  return reinterpret_cast<sqlite3_file*>(reinterpret_cast<ShimFile*>(f) + 1);
}
const sqlite3_io_methods* m(sqlite3_file* f) {
  return real(f)->pMethods;
}

int xClose(sqlite3_file* f) {
  return m(f)->xClose(real(f));
}
int xRead(sqlite3_file* f, void* buf, int n, sqlite3_int64 off) {
  if (g_readFailure && reinterpret_cast<ShimFile*>(f)->database) return g_readFailure;
  return m(f)->xRead(real(f), buf, n, off);
}
bool writeFails(sqlite3_file* f) {
  const char* name = reinterpret_cast<ShimFile*>(f)->name;
  return g_writeFailure &&
         (g_writeTarget.empty() || (name && std::strstr(name, g_writeTarget.c_str())));
}
int xWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 off) {
  if (writeFails(f)) return g_writeFailure;
  return m(f)->xWrite(real(f), buf, n, off);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
  if (writeFails(f)) return g_writeFailure;
  return m(f)->xTruncate(real(f), size);
}
int xSync(sqlite3_file* f, int flags) {
  return m(f)->xSync(real(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) {
  return m(f)->xFileSize(real(f), size);
}
int xLock(sqlite3_file* f, int lock) {
  return m(f)->xLock(real(f), lock);
}
int xUnlock(sqlite3_file* f, int lock) {
  return m(f)->xUnlock(real(f), lock);
}
int xCheckReservedLock(sqlite3_file* f, int* out) {
  return m(f)->xCheckReservedLock(real(f), out);
}
int xFileControl(sqlite3_file* f, int op, void* arg) {
  return m(f)->xFileControl(real(f), op, arg);
}
int xSectorSize(sqlite3_file* f) {
  return m(f)->xSectorSize(real(f));
}
int xDeviceCharacteristics(sqlite3_file* f) {
  return m(f)->xDeviceCharacteristics(real(f));
}
int xShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
  return m(f)->xShmMap(real(f), region, size, extend, out);
}
int xShmLock(sqlite3_file* f, int offset, int n, int flags) {
  return m(f)->xShmLock(real(f), offset, n, flags);
}
void xShmBarrier(sqlite3_file* f) {
  m(f)->xShmBarrier(real(f));
}
int xShmUnmap(sqlite3_file* f, int deleteFlag) {
  return m(f)->xShmUnmap(real(f), deleteFlag);
}
int xFetch(sqlite3_file* f, sqlite3_int64 off, int n, void** out) {
  return m(f)->xFetch(real(f), off, n, out);
}
int xUnfetch(sqlite3_file* f, sqlite3_int64 off, void* p) {
  return m(f)->xUnfetch(real(f), off, p);
}

// Version 3 methods; a file whose own methods are older gets the same version back.
sqlite3_io_methods methodsOfVersion(int version) {
  sqlite3_io_methods io{};
  io.iVersion = version;
  io.xClose = xClose;
  io.xRead = xRead;
  io.xWrite = xWrite;
  io.xTruncate = xTruncate;
  io.xSync = xSync;
  io.xFileSize = xFileSize;
  io.xLock = xLock;
  io.xUnlock = xUnlock;
  io.xCheckReservedLock = xCheckReservedLock;
  io.xFileControl = xFileControl;
  io.xSectorSize = xSectorSize;
  io.xDeviceCharacteristics = xDeviceCharacteristics;
  if (version >= 2) {
    io.xShmMap = xShmMap;
    io.xShmLock = xShmLock;
    io.xShmBarrier = xShmBarrier;
    io.xShmUnmap = xShmUnmap;
  }
  if (version >= 3) {
    io.xFetch = xFetch;
    io.xUnfetch = xUnfetch;
  }
  return io;
}

sqlite3_io_methods g_methods[4] = {methodsOfVersion(0), methodsOfVersion(1), methodsOfVersion(2),
                                   methodsOfVersion(3)};

int xOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
  auto* shim = reinterpret_cast<ShimFile*>(f);
  shim->base.pMethods = nullptr;
  shim->database = (flags & SQLITE_OPEN_MAIN_DB) != 0;
  shim->name = name;
  const int rc = g_base->xOpen(g_base, name, real(f), flags, outFlags);
  if (rc == SQLITE_OK && real(f)->pMethods)
    shim->base.pMethods = &g_methods[std::min(3, real(f)->pMethods->iVersion)];
  return rc;
}

}  // namespace

struct FaultyVfs::Impl {
  sqlite3_vfs vfs{};
};

FaultyVfs::FaultyVfs() : impl_(std::make_unique<Impl>()) {
  g_base = sqlite3_vfs_find(nullptr);
  if (!g_base) throw std::runtime_error("no SQLite VFS");
  impl_->vfs = *g_base;
  impl_->vfs.zName = "corvanta-faulty";
  impl_->vfs.szOsFile = static_cast<int>(sizeof(ShimFile)) + g_base->szOsFile;
  impl_->vfs.xOpen = xOpen;
  impl_->vfs.pNext = nullptr;
  sqlite3_vfs_register(&impl_->vfs, 1);
}

FaultyVfs::~FaultyVfs() {
  g_readFailure = g_writeFailure = 0;
  g_writeTarget.clear();
  sqlite3_vfs_unregister(&impl_->vfs);
  sqlite3_vfs_register(g_base, 1);
}

void FaultyVfs::failReadsOfDatabases(int code) {
  g_readFailure = code;
}

void FaultyVfs::failWrites(int code) {
  g_writeFailure = code;
}

void FaultyVfs::failWritesOfFilesNamed(const std::string& part, int code) {
  g_writeTarget = part;
  g_writeFailure = code;
}

}  // namespace corvanta::test
