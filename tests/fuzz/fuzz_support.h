// Shared by the fuzz targets: the input as a stream, and a check that stops
// the run with a message libFuzzer keeps beside the crash input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kaimo::fuzz {

// A read-only stream over the fuzzer's bytes (NUL bytes included).
inline std::FILE* openInput(const std::uint8_t* data, std::size_t size) {
  return ::fmemopen(const_cast<std::uint8_t*>(data), size, "r");
}

inline void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

// Everything written to a stream by `write`, for reading back.
template <typename Write>
std::string writtenText(Write write) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* stream = ::open_memstream(&buffer, &size);
  require(stream != nullptr, "open_memstream");
  write(stream);
  std::fclose(stream);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

}  // namespace kaimo::fuzz
