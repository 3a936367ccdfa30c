// What a routine scores positions with: the simple evaluation of "狸" or the
// network of "狐" with the data it was given. A small value: copying it
// shares the data, and a search holds the one it was handed.
//
// The search asks which evaluator it holds once, at its root (visit), and
// runs a search compiled for that evaluator: no call through a pointer and
// no test of the evaluator's identity at a node.
#pragma once

#include <utility>
#include <variant>

#include "engine/eval/eval_simple.h"
#include "engine/eval/pattern_evaluator.h"

namespace kaimo {

class Evaluator {
 public:
  Evaluator() = default;  // the simple evaluation
  Evaluator(SimpleEvaluator simple) : impl_(simple) {}
  Evaluator(PatternEvaluator pattern) : impl_(std::move(pattern)) {}

  // The routine's evaluation of a board, from black's point of view, as
  // evalSimple defines its arguments; SCORE_EVAL_ERROR when it fails.
  int evaluate(const Board& board, int finalFlag, int side, DiscCounts& counts) const {
    return std::visit([&](const auto& e) { return e.evaluate(board, finalFlag, side, counts); }, impl_);
  }
  // True when the evaluation cannot work at all (the data of "狐" are missing).
  bool failed() const {
    return std::visit([](const auto& e) { return e.failed(); }, impl_);
  }
  bool isPattern() const { return std::holds_alternative<PatternEvaluator>(impl_); }
  // The data of "狐" it reads; null for the simple evaluation.
  const PatternData* patternData() const {
    const auto* pattern = std::get_if<PatternEvaluator>(&impl_);
    return pattern != nullptr ? &pattern->data() : nullptr;
  }

  template <typename Visitor>
  decltype(auto) visit(Visitor&& visitor) const {
    return std::visit(std::forward<Visitor>(visitor), impl_);
  }

 private:
  std::variant<SimpleEvaluator, PatternEvaluator> impl_;
};

}  // namespace kaimo
