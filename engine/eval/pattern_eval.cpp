#include "engine/eval/pattern_eval.h"

#include <cstdlib>

#include "support/paths/program_paths.h"

namespace kaimo {
namespace {

void releaseAtExit() { patternEvaluator().releaseStages(); }

}  // namespace

// Built on first use, so a static object elsewhere that evaluates during its
// own construction finds it ready whatever the order of initialisation; the
// variable below makes that first use happen before main. The object is never
// destroyed: a worker thread still evaluating while the process exits finds
// its tables in place, and the exit handler frees only the stage weights,
// under the evaluator's lock.
PatternEvaluator& patternEvaluator() {
  static PatternEvaluator* const instance = [] {
    auto* evaluator = new PatternEvaluator(stdout, paths::dataFolder());
    std::atexit(releaseAtExit);
    return evaluator;
  }();
  return *instance;
}

namespace {

// Lives in the same file as evalPattern, so any program that can reach the
// routine "狐" links this initialiser too and loads the tables at start.
[[maybe_unused]] PatternEvaluator& startUpEvaluator = patternEvaluator();

}  // namespace

int evalPattern(const Board& board, int finalFlag, int side, DiscCounts& counts) {
  return patternEvaluator().evaluate(board, finalFlag, side, counts);
}

}  // namespace kaimo
