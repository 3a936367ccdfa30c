#include "support/files/safe_file.h"

#include <atomic>
#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kaimo {
namespace {

// Name clashes are only possible with another writer's leftovers; a handful
// of fresh names is plenty before giving up.
constexpr int kTempNameAttempts = 16;

// The file a symbolic link at `path` finally names, so the rename replaces
// that file and the link stays. A link whose target is missing (or a loop)
// is refused with the system's error: renaming over it would turn the link
// itself into a plain file.
std::string resolveLinks(const std::string& path, int& systemError) {
  systemError = 0;
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  const std::filesystem::path target = std::filesystem::canonical(path, error);
  if (error) {
    systemError = error.value();
    return "";
  }
  return target.string();
}

struct TempFile {
  int fd;
  std::string path;
};

// Opened exclusively with mode 0666, so the user's umask decides the
// permissions as it would for a file opened with fopen.
TempFile createTempBeside(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
    const std::string name = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return {fd, name};
  }
  return {-1, ""};
}

// A replaced file keeps its permissions. Best effort: failing to copy them
// loses nothing that was written.
void copyPermissions(const std::string& from, int fd) {
  struct stat info;
  if (::stat(from.c_str(), &info) == 0) (void)::fchmod(fd, info.st_mode & 07777);
}

// Flushes, syncs and closes; the errno of the first failure, or 0.
int finishWriting(std::FILE* stream, bool contentsOk) {
  int error = 0;
  if (!contentsOk || std::ferror(stream)) error = errno != 0 ? errno : EIO;
  if (error == 0 && std::fflush(stream) != 0) error = errno;
  if (error == 0 && ::fsync(::fileno(stream)) != 0) error = errno;
  if (std::fclose(stream) != 0 && error == 0) error = errno;
  return error;
}

}  // namespace

SafeWriteResult writeFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& writeContents) {
  int linkError = 0;
  const std::string target = resolveLinks(path, linkError);
  if (linkError != 0) return {SafeWriteStep::Create, linkError};
  errno = 0;
  const TempFile temp = createTempBeside(target);
  if (temp.fd < 0) return {SafeWriteStep::Create, errno != 0 ? errno : EEXIST};
  copyPermissions(target, temp.fd);
  std::FILE* stream = ::fdopen(temp.fd, "w");
  if (stream == nullptr) {
    const int error = errno;
    ::close(temp.fd);
    ::unlink(temp.path.c_str());
    return {SafeWriteStep::Create, error};
  }
  errno = 0;
  const bool contentsOk = writeContents(stream);
  if (const int error = finishWriting(stream, contentsOk); error != 0) {
    ::unlink(temp.path.c_str());
    return {SafeWriteStep::Write, error};
  }
  if (std::rename(temp.path.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.path.c_str());
    return {SafeWriteStep::Replace, error};
  }
  return {SafeWriteStep::Done, 0};
}

}  // namespace kaimo
