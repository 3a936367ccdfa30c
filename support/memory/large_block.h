// Zeroed memory for the big tables read at random: the search's
// transposition table and the stage weights of "狐". On Linux a block of a
// few megabytes or more is mapped afresh, aligned to 2 MB and asked to be
// backed by huge pages, so that a look-up anywhere in tens of megabytes costs
// no walk of the page tables (with 4 KB pages nearly every look-up missed
// the address cache); its pages are zeroed by the system as they are first
// touched, so a table nobody fills costs nothing.
#pragma once

#include <cstddef>
#include <memory>

namespace kaimo {

class LargeBlockFree {
 public:
  LargeBlockFree() = default;
  explicit LargeBlockFree(std::size_t mappedBytes) : mappedBytes_(mappedBytes) {}
  void operator()(void* block) const;

 private:
  std::size_t mappedBytes_ = 0;  // 0: the block came from the heap
};

template <typename T>
using LargeArray = std::unique_ptr<T[], LargeBlockFree>;

// `bytes` of zeroed memory, or null when it cannot be had.
std::unique_ptr<void, LargeBlockFree> allocateLargeBlock(std::size_t bytes);

template <typename T>
LargeArray<T> allocateLargeArray(std::size_t count) {
  auto block = allocateLargeBlock(count * sizeof(T));
  const LargeBlockFree free = block.get_deleter();
  return LargeArray<T>(static_cast<T*>(block.release()), free);
}

}  // namespace kaimo
