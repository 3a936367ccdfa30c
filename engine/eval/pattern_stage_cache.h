// The weights of the most recently used game stages of "狐" (three in the
// program), read from "kaimogr%02d.dat" in the data folder when a stage is not
// held.
//
// Not locked: the evaluator that owns the cache serialises every call.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "engine/eval/pattern_layout.h"

namespace kaimo {

class StageCache {
 public:
  static constexpr int kSlots = 3;  // the stages a search crosses at once, at 4 MB each

  // An empty `dataFolder` is the current folder.
  explicit StageCache(long rowCount, std::filesystem::path dataFolder = {}, int slotCount = kSlots)
      : rowCount_(rowCount), dataFolder_(std::move(dataFolder)), slots_(static_cast<std::size_t>(slotCount)) {}

  // Makes the weights of `stage` current, reading its file on a miss into the
  // slot used least recently (empty slots first, the later slot first).
  // Returns 0, or -1 after logging why; a failed request leaves every slot as
  // it was, except that a slot whose file read broke off midway is emptied.
  int select(int stage);

  // The current slot's rows and output weights; valid after select returned 0.
  const std::int16_t* weights() const { return slots_[current_].weights.get(); }
  const std::int16_t* output() const { return slots_[current_].output.data(); }

  int slotStage(int slot) const { return slots_[slot].stage; }
  int currentSlot() const { return current_; }

  // Frees the buffers and forgets every stage; the next select allocates again.
  void release();

 private:
  struct Slot {
    std::unique_ptr<std::int16_t[]> weights;
    std::array<std::int16_t, kOutputWeights> output{};
    int stage = -1;
    // A request counter instead of ages that count down: the order is the
    // same, and it cannot run out of range however long the program runs.
    std::uint64_t lastUse = 0;  // 0: never used
  };

  bool allocate();
  int victim() const;

  long rowCount_;
  std::filesystem::path dataFolder_;
  bool allocated_ = false;
  int current_ = 0;
  std::uint64_t requests_ = 0;
  std::vector<Slot> slots_;
};

}  // namespace kaimo
