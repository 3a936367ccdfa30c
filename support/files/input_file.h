// Opening and reading a file someone named on purpose (a record, a settings
// file, a board, a suite, a chunk of training positions). Only a regular
// file is read: a folder, a FIFO or a device is refused before anything is
// read from it, so a FIFO never blocks the caller and /dev/zero never fills
// its memory. Whole-file reads are bounded by the caller's limit, checked
// before any allocation.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace kaimo {

enum class InputFileStatus {
  Ok,
  CannotOpen,  // missing, no permission...: systemError says which
  Folder,
  NotRegular,  // a FIFO, a socket or a device
  TooLarge,    // more bytes than the caller's limit
  ReadFailed,
};

struct [[nodiscard]] InputFileResult {
  InputFileStatus status;
  int systemError;  // errno for CannotOpen and ReadFailed, otherwise 0
  bool ok() const { return status == InputFileStatus::Ok; }
};

// A stream reading the regular file `path` ("rb"), or null with `result`
// saying why. The caller closes it.
std::FILE* openInputFile(const std::string& path, InputFileResult& result);

// The whole regular file `path`, of at most `maxBytes` bytes.
InputFileResult readInputFile(const std::string& path, std::size_t maxBytes, std::string& contents);

// Everything left in an open stream (standard input, say), at most `maxBytes`.
InputFileResult readInputStream(std::FILE* stream, std::size_t maxBytes, std::string& contents);

// One line naming the file and the fault: "'games.cfg' is a folder, not a file".
std::string describeInputFileResult(const std::string& path, const InputFileResult& result, std::size_t maxBytes);

}  // namespace kaimo
