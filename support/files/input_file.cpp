#include "support/files/input_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kaimo {
namespace {

// O_NONBLOCK keeps open() itself from waiting for a FIFO's writer; it is
// cleared again once fstat has shown a regular file.
int openWithoutBlocking(const std::string& path) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

InputFileResult checkRegular(int fd, struct stat& info) {
  if (::fstat(fd, &info) != 0) return {InputFileStatus::CannotOpen, errno};
  if (S_ISDIR(info.st_mode)) return {InputFileStatus::Folder, 0};
  if (!S_ISREG(info.st_mode)) return {InputFileStatus::NotRegular, 0};
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return {InputFileStatus::CannotOpen, errno};
  return {InputFileStatus::Ok, 0};
}

std::FILE* openChecked(const std::string& path, InputFileResult& result, struct stat& info) {
  const int fd = openWithoutBlocking(path);
  if (fd < 0) {
    result = {InputFileStatus::CannotOpen, errno};
    return nullptr;
  }
  result = checkRegular(fd, info);
  std::FILE* stream = result.ok() ? ::fdopen(fd, "rb") : nullptr;
  if (result.ok() && stream == nullptr) result = {InputFileStatus::CannotOpen, errno};
  if (stream == nullptr) ::close(fd);
  return stream;
}

}  // namespace

std::FILE* openInputFile(const std::string& path, InputFileResult& result) {
  struct stat info;
  return openChecked(path, result, info);
}

InputFileResult readInputStream(std::FILE* stream, std::size_t maxBytes, std::string& contents) {
  contents.clear();
  char buffer[4096];
  // One byte past the limit tells a file that is too large (or still growing).
  while (contents.size() <= maxBytes) {
    const std::size_t wanted = std::min(sizeof buffer, maxBytes + 1 - contents.size());
    const std::size_t got = std::fread(buffer, 1, wanted, stream);
    contents.append(buffer, got);
    if (got < wanted) break;
  }
  if (std::ferror(stream)) return {InputFileStatus::ReadFailed, errno != 0 ? errno : EIO};
  if (contents.size() > maxBytes) {
    contents.clear();
    return {InputFileStatus::TooLarge, 0};
  }
  return {InputFileStatus::Ok, 0};
}

InputFileResult readInputFile(const std::string& path, std::size_t maxBytes, std::string& contents) {
  contents.clear();
  InputFileResult result;
  struct stat info;
  std::FILE* stream = openChecked(path, result, info);
  if (stream == nullptr) return result;
  if (static_cast<std::size_t>(info.st_size) > maxBytes) {
    std::fclose(stream);
    return {InputFileStatus::TooLarge, 0};
  }
  contents.reserve(static_cast<std::size_t>(info.st_size));
  errno = 0;
  result = readInputStream(stream, maxBytes, contents);
  std::fclose(stream);
  return result;
}

std::string describeInputFileResult(const std::string& path, const InputFileResult& result, std::size_t maxBytes) {
  const std::string quoted = "'" + path + "'";
  switch (result.status) {
    case InputFileStatus::Ok: return quoted + " was read";
    case InputFileStatus::CannotOpen: return "cannot open " + quoted + ": " + std::strerror(result.systemError);
    case InputFileStatus::Folder: return quoted + " is a folder, not a file";
    case InputFileStatus::NotRegular: return quoted + " is not a regular file (a pipe, socket or device)";
    case InputFileStatus::TooLarge: return quoted + " is larger than " + std::to_string(maxBytes) + " bytes";
    case InputFileStatus::ReadFailed: return "cannot read " + quoted + ": " + std::strerror(result.systemError);
  }
  return quoted;
}

}  // namespace kaimo
