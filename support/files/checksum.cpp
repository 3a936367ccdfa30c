#include "support/files/checksum.h"

#include <array>
#include <cstdio>

#include "support/files/input_file.h"

namespace kaimo {

bool checksumOfFile(const std::string& path, std::uint64_t& sum) {
  InputFileResult result{};
  std::FILE* file = openInputFile(path, result);
  if (file == nullptr) return false;
  Checksum checksum;
  std::array<char, 1 << 16> block;
  std::size_t got = 0;
  while ((got = std::fread(block.data(), 1, block.size(), file)) > 0) checksum.add({block.data(), got});
  const bool read = std::ferror(file) == 0;
  std::fclose(file);
  sum = checksum.value();
  return read;
}

}  // namespace kaimo
