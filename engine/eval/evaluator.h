// What a routine scores positions with: the simple evaluation of "狸" or the
// network of "狐" with the data it was given. A small value: copying it
// shares the data, and a search holds the one it was handed.
//
// The search asks which evaluator it holds once, at its root (visit), and
// runs a search compiled for that evaluator: no call through a pointer and
// no test of the evaluator's identity at a node.
//
// Adding an evaluator: a type that is a SearchEvaluator, one more
// alternative in EvaluatorKinds, its row in the routine table
// (routines.h) and its compiled search (midgame_search.cpp). What it can do
// besides scoring, it says by the capabilities below; the search asks
// those, never which evaluator it holds.
#pragma once

#include <concepts>
#include <filesystem>
#include <utility>
#include <variant>

#include "engine/board/bitboard.h"
#include "engine/board/board.h"
#include "engine/eval/eval_simple.h"
#include "engine/eval/pattern_evaluator.h"

namespace kaimo {

// What the search needs of an evaluator: the state it keeps up to date from
// move to move (State, stateOf, play), the value of a position from black's
// point of view (score; a marker above SCORE_INF when it fails), whether it
// cannot work at all (failed), and the value of a Board for everybody else
// (evaluate, as evalSimple defines its arguments).
template <typename E>
concept SearchEvaluator = requires(const E& e, typename E::State& state, const Board& board, DiscCounts& counts,
                                   Bits bits, int number) {
  { e.stateOf(bits, bits) } -> std::same_as<typename E::State>;
  E::play(state, number, bits, number);
  { e.score(state, bits, bits, bits, number) } -> std::same_as<int>;
  { e.failed() } -> std::same_as<bool>;
  { e.evaluate(board, number, number, counts) } -> std::same_as<int>;
};

// Capability: its values, in discs, can order the upper plies of a read to
// the end and guess the value the read starts from (see evaluation_order.h),
// when its data are there.
template <typename E>
concept OrdersExactReads = SearchEvaluator<E> && E::kOrdersExactReads;

// Capability: a ProbCut table fitted to its searches may lie in this folder.
template <typename E>
concept HasProbCutFolder = SearchEvaluator<E> && requires(const E& e) {
  { e.probCutFolder() } -> std::same_as<const std::filesystem::path&>;
};

// Every evaluator a routine can play with.
using EvaluatorKinds = std::variant<SimpleEvaluator, PatternEvaluator>;

class Evaluator {
 public:
  Evaluator() = default;  // the simple evaluation
  template <SearchEvaluator E>
  Evaluator(E evaluator) : impl_(std::move(evaluator)) {}  // NOLINT: any evaluator is an Evaluator

  // Runs `visitor` on the evaluator held, as its own type.
  template <typename Visitor>
  decltype(auto) visit(Visitor&& visitor) const {
    return std::visit(std::forward<Visitor>(visitor), impl_);
  }

  // The routine's evaluation of a board, from black's point of view, as
  // evalSimple defines its arguments; SCORE_EVAL_ERROR when it fails.
  int evaluate(const Board& board, int scoreAsFinished, int side, DiscCounts& counts) const {
    return visit([&](const auto& e) { return e.evaluate(board, scoreAsFinished, side, counts); });
  }
  // True when the evaluation cannot work at all (its data are missing).
  bool failed() const {
    return visit([](const auto& e) { return e.failed(); });
  }
  template <SearchEvaluator E>
  bool holds() const {
    return std::holds_alternative<E>(impl_);
  }
  // Whether its kind can order and guess reads to the end
  // (OrdersExactReads); it does when it has not failed.
  bool ordersExactReads() const {
    return visit([](const auto& e) { return OrdersExactReads<std::decay_t<decltype(e)>>; });
  }
  // The folder a ProbCut table fitted to its searches may lie in; null for
  // an evaluator without one.
  const std::filesystem::path* probCutFolder() const {
    return visit([](const auto& e) -> const std::filesystem::path* {
      if constexpr (HasProbCutFolder<std::decay_t<decltype(e)>>) {
        return &e.probCutFolder();
      } else {
        return nullptr;
      }
    });
  }

 private:
  EvaluatorKinds impl_;
};

}  // namespace kaimo
