// The data files of a directory read the way "狐" reads them: by bare name
// from the current directory, which is that directory while this object lives.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "engine/eval/pattern_evaluator.h"

namespace kaimo::train {

class EvaluatorInDirectory {
 public:
  explicit EvaluatorInDirectory(const std::string& dir);
  ~EvaluatorInDirectory();  // back to the directory it started in
  EvaluatorInDirectory(const EvaluatorInDirectory&) = delete;
  EvaluatorInDirectory& operator=(const EvaluatorInDirectory&) = delete;

  // Null when the directory cannot be entered or its index tables not read.
  PatternEvaluator* get() const { return evaluator_.get(); }

  // Black's margin in discs; false when the evaluation fails.
  bool discs(const Board& board, int side, double& value) const;

 private:
  std::filesystem::path previous_;
  bool entered_ = false;
  std::unique_ptr<PatternEvaluator> evaluator_;
};

}  // namespace kaimo::train
