#include "support/memory/large_block.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kaimo {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

#if defined(__linux__)
// A mapping one huge page longer than asked for, cut down to the aligned part.
void* mapAligned(std::size_t bytes) {
  void* mapped = mmap(nullptr, bytes + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) munmap(mapped, aligned - start);
  const std::size_t tail = start + bytes + kHugePage - (aligned + bytes);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + bytes), tail);
  void* block = reinterpret_cast<void*>(aligned);
  // Only advice: where huge pages are off the block works the same.
  madvise(block, bytes, MADV_HUGEPAGE);
  return block;
}
#endif

}  // namespace

std::unique_ptr<void, LargeBlockFree> allocateLargeBlock(std::size_t bytes) {
#if defined(__linux__)
  if (bytes >= kHugePage) {
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    return {mapAligned(rounded), LargeBlockFree(rounded)};
  }
#endif
  // A small table has few pages to look up.
  return {std::calloc(bytes, 1), LargeBlockFree()};
}

void LargeBlockFree::operator()(void* block) const {
#if defined(__linux__)
  if (mappedBytes_ != 0) {
    munmap(block, mappedBytes_);
    return;
  }
#endif
  std::free(block);
}

}  // namespace kaimo
