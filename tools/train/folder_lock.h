// One run at a time per folder: a step holds an advisory lock (flock) on a
// lock file in its folder for its whole run, so a second run started on the
// same folder stops at once instead of writing chunks of other settings
// beside the first one's. The lock goes with the process (also when it is
// killed), and the file is removed when the run ends.
#pragma once

#include <string>

namespace kaimo::train {

class FolderLock {
 public:
  FolderLock() = default;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

  // Takes the lock of `file` (created when missing). False with `error` set
  // when another process holds it (`busy`) or the file cannot be opened.
  bool take(const std::string& file, bool& busy, std::string& error);

 private:
  int fd_ = -1;
  std::string file_;
};

// Takes `lock` on DIR/NAME for the step `step`: 0, or the step's exit status
// after one line on standard error: 2 when another run holds the folder, 1
// when the lock file cannot be made.
int lockFolder(const std::string& step, const std::string& dir, const std::string& name, FolderLock& lock);

}  // namespace kaimo::train
