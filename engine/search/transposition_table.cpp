#include "engine/search/transposition_table.h"

#include <cstdlib>
#include <cstring>

namespace kaimo {

namespace {

// The hash is h = (h + i * byte[i - 1]) * 3 for i = 1..26, from h = 0, in
// 32-bit arithmetic. Unrolled it is the sum of byte[i - 1] * i * 3^(27 - i):
// with these weights the 26 products no longer wait for one another.
constexpr std::array<std::uint32_t, kPositionKeySize> makeHashWeights() {
  std::array<std::uint32_t, kPositionKeySize> weights{};
  for (std::uint32_t i = 1; i <= kPositionKeySize; ++i) {
    std::uint32_t power = 1;
    for (std::uint32_t k = i; k <= kPositionKeySize; ++k) power *= 3u;
    weights[i - 1] = i * power;
  }
  return weights;
}

constexpr auto kHashWeights = makeHashWeights();

}  // namespace

int tableHash(const void* key, int bucketCount) {
  const auto* bytes = static_cast<const std::uint8_t*>(key);
  std::uint32_t h = 0;
  for (int i = 0; i < kPositionKeySize; ++i) h += kHashWeights[i] * bytes[i];
  return static_cast<int>(h % static_cast<std::uint32_t>(bucketCount));
}

int tableMatch(const void* leaf, const void* key) {
  return std::memcmp(static_cast<const TableEntry*>(leaf)->key.data(), key, kPositionKeySize) == 0;
}

void tableSetLink(void* leaf, void* next) { static_cast<TableEntry*>(leaf)->next = static_cast<TableEntry*>(next); }

void* tableGetLink(const void* leaf) { return static_cast<const TableEntry*>(leaf)->next; }

void tableFree(void* leaf) { std::free(leaf); }

}  // namespace kaimo
