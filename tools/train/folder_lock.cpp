#include "tools/train/folder_lock.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kaimo::train {
namespace {

bool sameFile(int fd, const std::string& file) {
  struct stat held, named;
  return ::fstat(fd, &held) == 0 && ::stat(file.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

// A run that ends removes the file while it still holds the lock; one that
// opened the file just before that may then lock a file no longer in the
// folder, so it checks and tries again with the new one. A few tries cover
// any such overlap of ends and starts.
constexpr int kLockAttempts = 8;

}  // namespace

bool FolderLock::take(const std::string& file, bool& busy, std::string& error) {
  busy = false;
  for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      error = "cannot open " + file + ": " + std::strerror(errno);
      return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int reason = errno;
      ::close(fd);
      busy = reason == EWOULDBLOCK;
      error = busy ? "another run works in this folder (it holds " + file + ")"
                   : "cannot lock " + file + ": " + std::strerror(reason);
      return false;
    }
    if (sameFile(fd, file)) {
      fd_ = fd;
      file_ = file;
      return true;
    }
    ::close(fd);
  }
  error = "cannot lock " + file + ": it keeps being replaced";
  return false;
}

FolderLock::~FolderLock() {
  if (fd_ < 0) return;
  ::unlink(file_.c_str());
  ::close(fd_);
}

int lockFolder(const std::string& step, const std::string& dir, const std::string& name, FolderLock& lock) {
  bool busy = false;
  std::string error;
  if (lock.take((std::filesystem::path(dir) / name).string(), busy, error)) return 0;
  std::fprintf(stderr, "kaimo-train %s: %s%s\n", step.c_str(), error.c_str(),
               busy ? "; wait for it to end, or give another --dir" : "");
  return busy ? 2 : 1;
}

}  // namespace kaimo::train
