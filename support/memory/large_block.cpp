#include "support/memory/large_block.h"

#include <cstdlib>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kaimo {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void* allocateLargeBlock(std::size_t bytes) {
  // A small table has few pages to look up.
  if (bytes < kHugePage) return std::calloc(bytes, 1);
  // aligned_alloc wants a multiple of the alignment.
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
  if (block == nullptr) return nullptr;
#if defined(MADV_HUGEPAGE)
  // Only advice: where huge pages are off the block works the same.
  madvise(block, rounded, MADV_HUGEPAGE);
#endif
  std::memset(block, 0, rounded);
  return block;
}

void LargeBlockFree::operator()(void* block) const { std::free(block); }

}  // namespace kaimo
