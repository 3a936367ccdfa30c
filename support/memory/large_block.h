// Zeroed memory for the big tables read at random: the search's
// transposition table and the stage weights of "狐". On Linux the block is
// aligned to 2 MB and asked to be backed by huge pages, so that a look-up
// anywhere in tens of megabytes costs no walk of the page tables (with
// 4 KB pages nearly every look-up missed the address cache).
#pragma once

#include <cstddef>
#include <memory>

namespace kaimo {

struct LargeBlockFree {
  void operator()(void* block) const;
};

template <typename T>
using LargeArray = std::unique_ptr<T[], LargeBlockFree>;

// Null when the memory cannot be had.
void* allocateLargeBlock(std::size_t bytes);

template <typename T>
LargeArray<T> allocateLargeArray(std::size_t count) {
  return LargeArray<T>(static_cast<T*>(allocateLargeBlock(count * sizeof(T))));
}

}  // namespace kaimo
