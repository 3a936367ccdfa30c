#include "tools/train/evaluator_in_dir.h"

#include <memory>

#include "engine/eval/score.h"

namespace kaimo::train {

EvaluatorInDirectory::EvaluatorInDirectory(const std::string& dir) {
  PatternEvaluator evaluator(std::make_shared<const PatternData>(dir));
  if (!evaluator.failed()) evaluator_ = std::move(evaluator);
}

bool EvaluatorInDirectory::discs(const Board& board, int side, double& value) const {
  if (!evaluator_) return false;
  DiscCounts counts;
  boardCount(board, counts);
  const int score = evaluator_->evaluate(board, 0, side, counts);
  value = score / static_cast<double>(SCORE_PER_DISC);
  return !isMarker(score);
}

}  // namespace kaimo::train
