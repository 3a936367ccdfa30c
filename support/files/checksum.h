// The checksum of the program's own data files (the opening book, the
// ProbCut table, the list beside the data of "狐"): 64-bit FNV-1a. It is
// there to catch damage (a flipped bit, a cut or patched file), not forgery.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kaimo {

class Checksum {
 public:
  void add(std::string_view bytes) {
    for (const char c : bytes) {
      hash_ ^= static_cast<unsigned char>(c);
      hash_ *= kPrime;
    }
  }
  std::uint64_t value() const { return hash_; }

 private:
  static constexpr std::uint64_t kPrime = 0x100000001b3ull;
  std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

inline std::uint64_t checksumOf(std::string_view bytes) {
  Checksum sum;
  sum.add(bytes);
  return sum.value();
}

// The checksum of the whole regular file `path`, read in blocks; false when
// it cannot be read.
bool checksumOfFile(const std::string& path, std::uint64_t& sum);

}  // namespace kaimo
