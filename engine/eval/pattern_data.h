// Everything "狐" reads from one data folder: the index tables with the
// weight layout they give, the sigmoid table, and the weights of every game
// stage. Built once per folder and shared read-only by every evaluator and
// thread that uses that folder; nothing on the evaluation path takes a lock.
//
// The index tables are read when the data are built, each checked against
// the folder's checksum list when it has one (data_sums.h). A stage's weights are
// read the first time a position of that stage is evaluated (a short game
// never reads the stages it does not reach) and kept from then on: 4 MB a
// stage, 84 MB once a game has crossed all 21.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/eval/data_sums.h"
#include "engine/eval/pattern_indices.h"
#include "engine/eval/pattern_layout.h"
#include "engine/eval/pattern_network.h"
#include "support/memory/large_block.h"

namespace kaimo {

// Above this many empty squares the opening is scored by the simple
// evaluation: the stage files start at stage 3 (81..84 empty squares).
constexpr int kPatternMaxEmpties = 84;
constexpr int kFirstStageFile = stageOfEmpties(kPatternMaxEmpties);
// Stage files 3..23.
constexpr int kStageFileCount = stageOfEmpties(1) - kFirstStageFile + 1;

// One stage file: jMax rows of four hidden-unit weights, then the output
// weights.
struct StageWeights {
  LargeArray<std::int16_t> rows;
  std::array<std::int16_t, kOutputWeights> output{};
};

class PatternData {
 public:
  // Reads the index tables of patterns 0..13 in order from `folder` (empty:
  // the current folder, where the files keep their bare names) and, when all
  // load, writes "jMax = N" to `announce` (unless it is null). The first
  // failure is logged to "errorlog.txt" and makes every evaluation fail.
  explicit PatternData(std::filesystem::path folder, std::FILE* announce = nullptr);
  PatternData(const PatternData&) = delete;
  PatternData& operator=(const PatternData&) = delete;

  bool failed() const { return failed_; }
  const std::filesystem::path& folder() const { return folder_; }
  long rowCount() const { return layout_.rowCount; }  // the weight rows of every stage file (its "jMax" line)
  long rowOffset(int pattern) const { return layout_.offsets[pattern]; }
  const WeightLayout& layout() const { return layout_; }
  const IndexTables& indexTables() const { return tablePointers_; }
  const SigmoidTable& sigmoid() const { return sigmoid_; }

  // The weights of `stage` (3..23), read on first use; null after logging
  // why when they cannot be had (a later call tries again). Safe from any
  // thread; once read, a call is one atomic load.
  const StageWeights* stage(int stage) const {
    const int slot = stage - kFirstStageFile;
    if (slot < 0 || slot >= kStageFileCount) return nullptr;
    const StageWeights* weights = stages_[slot].load(std::memory_order_acquire);
    return weights != nullptr ? weights : readStage(stage);
  }

  // The weight row of every placement, in placement order, from the raw
  // indices the search keeps.
  void rowsOf(const PatternIndices& indices, std::array<int, kActiveRowCount>& rows) const;

  // The hidden units' sums over those rows of `weights`: what a leaf of the
  // search reads, with no list of rows in between.
  std::array<int, kHiddenUnits> rowSums(const PatternIndices& indices, const std::int16_t* weights) const;

 private:
  // The row of placement I: what it reads is known when the program is
  // compiled, only the index tables and the patterns' first rows come from
  // the files.
  template <int I>
  unsigned placementRow(const PatternIndices& indices) const;

  bool readIndexTables();
  const StageWeights* readStage(int stage) const;

  std::filesystem::path folder_;
  DataSums sums_;  // read with the index tables; each file is checked when it is read
  bool failed_ = false;
  std::array<std::vector<std::uint16_t>, kPatternCount> indexTables_;
  IndexTables tablePointers_{};
  WeightLayout layout_;
  std::array<unsigned, kPatternCount> firstRows_{};
  SigmoidTable sigmoid_;

  // Stages are read under the lock and published once whole; they are never
  // replaced or freed while the data live.
  mutable std::mutex readLock_;
  mutable std::array<std::unique_ptr<StageWeights>, kStageFileCount> owned_;
  mutable std::array<std::atomic<const StageWeights*>, kStageFileCount> stages_{};
};

}  // namespace kaimo
