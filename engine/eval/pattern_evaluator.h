// The pattern evaluator of "狐": the index tables loaded once from its data
// folder, the weight layout they give, the sigmoid table and the cache of
// stage weights, and the evaluation that puts them together.
//
// The program uses one process-wide instance (pattern_eval.h); tests and
// tools may build their own in any directory.
#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <vector>

#include "engine/board/board.h"
#include "engine/eval/pattern_inputs.h"
#include "engine/eval/pattern_network.h"
#include "engine/eval/pattern_stage_cache.h"

namespace kaimo {

// Above this many empty squares the opening is scored by evalSimple: the
// stage files start at stage 3 (81..84 empty squares).
constexpr int kPatternMaxEmpties = 84;
// Stage files 3..23. A tool that plays thousands of games holds them all
// rather than read 80 MB again for every game.
constexpr int kStageFileCount = stageOfEmpties(1) - stageOfEmpties(kPatternMaxEmpties) + 1;

class PatternEvaluator {
 public:
  // Reads the index tables of patterns 0..13 in order from `dataFolder` (empty:
  // the current folder, where the files keep their bare names) and, when all
  // load, writes "jMax = N" to `announce` (unless it is null). The first failure is logged to
  // "errorlog.txt", stops the loading and makes every network evaluation fail.
  // The stage weights are read from the same folder; `stageSlots` of them are
  // held at once.
  explicit PatternEvaluator(std::FILE* announce = stdout, std::filesystem::path dataFolder = {},
                            int stageSlots = StageCache::kSlots);
  PatternEvaluator(const PatternEvaluator&) = delete;
  PatternEvaluator& operator=(const PatternEvaluator&) = delete;

  bool failed() const { return failed_; }
  long rowCount() const { return layout_.rowCount; }  // jMax
  long rowOffset(int pattern) const { return layout_.offsets[pattern]; }

  // An EvalFunc: evalSimple above 84 empty squares, scoreFinal for a finished
  // position, otherwise the network of the position's stage, or
  // SCORE_EVAL_ERROR when the tables or the stage weights are missing.
  // Safe to call from several threads: each call keeps its inputs on its own
  // stack, and the stage selection with the weight reads is locked.
  int evaluate(const Board& board, int finalFlag, int side, DiscCounts& counts);

  // The same without the lock, for one thread only: the baseline the
  // benchmark measures the lock against.
  int evaluateUnlocked(const Board& board, int finalFlag, int side, DiscCounts& counts);

  // Makes a stage's weights current (0), or logs and returns -1.
  int selectStage(int stage);
  int slotStage(int slot) const;
  int currentSlot() const;

  // Frees the stage weights; run at process exit. The index tables stay.
  void releaseStages();

 private:
  struct NoLock {
    explicit NoLock(std::mutex&) {}
  };

  bool loadIndexTables();
  template <typename Lock>
  int evaluateUnder(const Board& board, int finalFlag, int side, DiscCounts& counts);

  std::filesystem::path dataFolder_;
  bool failed_ = false;
  std::array<std::vector<std::uint16_t>, kPatternCount> indexTables_;
  IndexTables tablePointers_{};
  WeightLayout layout_;
  SigmoidTable sigmoid_;
  mutable std::mutex cacheMutex_;
  StageCache cache_{0};
};

}  // namespace kaimo
