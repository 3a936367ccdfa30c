// "狐" with the data files of a folder as they are now: the fit writes stage
// files and reads them back at once, so these data are read afresh and not
// shared with the program's other evaluators.
#pragma once

#include <optional>
#include <string>

#include "engine/eval/pattern_evaluator.h"

namespace kaimo::train {

class EvaluatorInDirectory {
 public:
  explicit EvaluatorInDirectory(const std::string& dir);

  // Null when the folder's index tables cannot be read.
  const PatternEvaluator* get() const { return evaluator_ ? &*evaluator_ : nullptr; }

  // Black's margin in discs; false when the evaluation fails.
  bool discs(const Board& board, int side, double& value) const;

 private:
  std::optional<PatternEvaluator> evaluator_;
};

}  // namespace kaimo::train
