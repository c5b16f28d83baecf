// A disk that fills up, for the database files of this process: while a FullDisk lives, the
// SQLite files opened take only so many more bytes, and every write past them fails as a
// full disk's write does (SQLITE_FULL). The real file system is used underneath.
// One at a time; the test's thread only.
#pragma once
#include <cstdint>

struct sqlite3_vfs;

namespace datatest {

class FullDisk {
 public:
  explicit FullDisk(int64_t bytesLeft);
  ~FullDisk();
  FullDisk(const FullDisk&) = delete;
  FullDisk& operator=(const FullDisk&) = delete;
  // True once a write has been refused.
  bool Filled() const;

 private:
  sqlite3_vfs* previous_;
};

}  // namespace datatest
