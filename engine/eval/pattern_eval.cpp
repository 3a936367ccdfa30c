#include "engine/eval/pattern_eval.h"

#include <atomic>
#include <cstdlib>

#include "support/paths/program_paths.h"

namespace kaimo {
namespace {

void releaseAtExit() { patternEvaluator().releaseStages(); }

std::atomic<std::FILE*> announcement{nullptr};
std::atomic<int> stageSlots{StageCache::kSlots};

}  // namespace

void setPatternAnnouncement(std::FILE* stream) { announcement = stream; }

void holdEveryPatternStage() { stageSlots = kStageFileCount; }

// Built on first use, so a static object elsewhere that evaluates during its
// own construction finds it ready whatever the order of initialisation, and
// a program that never evaluates with it never builds it. The object is never
// destroyed: a worker thread still evaluating while the process exits finds
// its tables in place, and the exit handler frees only the stage weights,
// under the evaluator's lock.
PatternEvaluator& patternEvaluator() {
  static PatternEvaluator* const instance = [] {
    auto* evaluator = new PatternEvaluator(announcement.load(), paths::dataFolder(), stageSlots.load());
    std::atexit(releaseAtExit);
    return evaluator;
  }();
  return *instance;
}

int evalPattern(const Board& board, int finalFlag, int side, DiscCounts& counts) {
  return patternEvaluator().evaluate(board, finalFlag, side, counts);
}

}  // namespace kaimo
