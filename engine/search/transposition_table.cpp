#include "engine/search/transposition_table.h"

#include <cstdlib>
#include <cstring>

namespace kaimo {

int tableHash(const void* key, int bucketCount) {
  const auto* bytes = static_cast<const std::uint8_t*>(key);
  std::uint32_t h = 0;
  for (std::uint32_t i = 1; i <= kPositionKeySize; ++i) h = (h + i * bytes[i - 1]) * 3u;
  return static_cast<int>(h % static_cast<std::uint32_t>(bucketCount));
}

int tableMatch(const void* leaf, const void* key) {
  return std::memcmp(static_cast<const TableEntry*>(leaf)->key.data(), key, kPositionKeySize) == 0;
}

void tableSetLink(void* leaf, void* next) { static_cast<TableEntry*>(leaf)->next = static_cast<TableEntry*>(next); }

void* tableGetLink(const void* leaf) { return static_cast<const TableEntry*>(leaf)->next; }

void tableFree(void* leaf) { std::free(leaf); }

}  // namespace kaimo
