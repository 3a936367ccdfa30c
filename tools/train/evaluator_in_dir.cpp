#include "tools/train/evaluator_in_dir.h"

#include <cstdio>

#include "engine/eval/score.h"

namespace kaimo::train {

EvaluatorInDirectory::EvaluatorInDirectory(const std::string& dir) {
  std::error_code error;
  previous_ = std::filesystem::current_path(error);
  if (error) return;
  std::filesystem::current_path(dir, error);
  if (error) return;
  entered_ = true;
  // The "jMax" line is the window's.
  evaluator_ = std::make_unique<PatternEvaluator>(nullptr, std::filesystem::path{}, kStageFileCount);
  if (evaluator_->failed()) evaluator_.reset();
}

EvaluatorInDirectory::~EvaluatorInDirectory() {
  if (!entered_) return;
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
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
