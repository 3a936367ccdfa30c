// Runs code that prints to a stream it is given, and keeps what it printed
// and the status it returned, for the command-line commands and the writers.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>

namespace kaimo::testing {

struct Captured {
  std::string output;
  int status = 0;  // 0 for a writer that returns nothing
};

// Everything written to `stream` so far; the stream is left at its end.
inline std::string writtenText(std::FILE* stream) {
  std::string text(static_cast<std::size_t>(std::ftell(stream)), '\0');
  std::rewind(stream);
  EXPECT_EQ(std::fread(text.data(), 1, text.size(), stream), text.size());
  return text;
}

struct FileCloser {
  void operator()(std::FILE* stream) const { std::fclose(stream); }
};

// Calls `write(stream)` with a temporary file as the stream. The file is
// closed even when `write` throws, so tests of refused arguments leak nothing.
template <typename Write>
Captured captureOutput(Write&& write) {
  const std::unique_ptr<std::FILE, FileCloser> stream(std::tmpfile());
  Captured captured;
  if (stream == nullptr) {
    ADD_FAILURE() << "no temporary file for the output";
    return captured;
  }
  if constexpr (std::is_void_v<std::invoke_result_t<Write, std::FILE*>>) {
    write(stream.get());
  } else {
    captured.status = write(stream.get());
  }
  captured.output = writtenText(stream.get());
  return captured;
}

// One command-line command, `command(words, out)`, with its exit status;
// `words` may be a braced list, such as {"--depth", "3"}.
template <typename Words>
Captured captureCommand(int (*command)(const Words&, std::FILE*), const std::type_identity_t<Words>& words) {
  return captureOutput([&](std::FILE* out) { return command(words, out); });
}

}  // namespace kaimo::testing
