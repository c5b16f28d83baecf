#include "tests/data/FullDisk.h"

#include <sqlite3.h>

#include <map>
#include <memory>
#include <stdexcept>

namespace datatest {
namespace {

// The file objects stay the file system's own; only their method table is swapped for a
// copy whose write counts the bytes, so every other call reaches the real methods unchanged.
sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_vfs;
bool g_active = false;  // files opened meanwhile stay counted only while it lives
int64_t g_left = 0;
bool g_filled = false;
std::map<const sqlite3_io_methods*, std::unique_ptr<sqlite3_io_methods>> g_wrapped;  // by the real table
std::map<const sqlite3_io_methods*, const sqlite3_io_methods*> g_realOf;            // by our copy

int CountedWrite(sqlite3_file* f, const void* data, int n, sqlite3_int64 offset) {
  const sqlite3_io_methods* real = g_realOf.at(f->pMethods);
  // As on a real disk, only what makes a file longer takes room; rewriting a page does not.
  sqlite3_int64 size = 0;
  if (g_active && real->xFileSize(f, &size) == SQLITE_OK) {
    sqlite3_int64 growth = offset + n > size ? offset + n - size : 0;
    if (growth > g_left) {
      g_filled = true;
      return SQLITE_FULL;
    }
    g_left -= growth;
  }
  return real->xWrite(f, data, n, offset);
}

int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* f, int flags, int* outFlags) {
  int rc = g_real->xOpen(g_real, name, f, flags, outFlags);
  if (!f->pMethods) return rc;
  auto& copy = g_wrapped[f->pMethods];
  if (!copy) {
    copy = std::make_unique<sqlite3_io_methods>(*f->pMethods);
    copy->xWrite = CountedWrite;
    g_realOf[copy.get()] = f->pMethods;
  }
  f->pMethods = copy.get();
  return rc;
}

}  // namespace

FullDisk::FullDisk(int64_t bytesLeft) : previous_(sqlite3_vfs_find(nullptr)) {
  if (!previous_ || g_real) throw std::logic_error("FullDisk: no file system, or one already filled");
  g_real = previous_;
  g_vfs = *previous_;
  g_vfs.zName = "karv-full-disk";
  g_vfs.pNext = nullptr;
  g_vfs.xOpen = Open;
  g_left = bytesLeft;
  g_filled = false;
  g_active = true;
  sqlite3_vfs_register(&g_vfs, 1);
}

FullDisk::~FullDisk() {
  g_active = false;
  sqlite3_vfs_unregister(&g_vfs);
  sqlite3_vfs_register(previous_, 1);
  g_real = nullptr;
}

bool FullDisk::Filled() const { return g_filled; }

}  // namespace datatest
