// Replacing a file without ever leaving it half written: the new contents go
// to a temporary file beside it, which is flushed to the disk and then
// renamed over the old one. On any failure the old file is untouched and the
// temporary file is removed.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace kaimo {

enum class SafeWriteStep {
  Done,     // the file now holds the new contents
  Create,   // the temporary file could not be created
  Write,    // writing, flushing or closing the temporary file failed
  Replace,  // renaming it over the target failed
};

struct [[nodiscard]] SafeWriteResult {
  SafeWriteStep failedStep;
  int systemError;  // errno of the failing call, 0 when done
  bool ok() const { return failedStep == SafeWriteStep::Done; }
};

// `writeContents` writes everything to the stream it is given and returns
// false when it saw an error. A symbolic link at `path` is followed, so the
// file it points to is replaced and the link stays; a link to nothing is
// refused (step Create, ENOENT) and left as it is.
SafeWriteResult writeFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& writeContents);

}  // namespace kaimo
