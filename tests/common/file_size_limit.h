// Makes writes past a file size fail, as a full disk would, for as long as
// the object lives.
#pragma once

#include <csignal>

#include <sys/resource.h>

namespace kaimo::testing {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    struct rlimit small = previous_;
    small.rlim_cur = bytes;
    // Without this the process would be killed instead of seeing EFBIG.
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    active_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  bool active() const { return active_; }

 private:
  struct rlimit previous_;
  void (*oldHandler_)(int);
  bool active_ = false;
};

}  // namespace kaimo::testing
