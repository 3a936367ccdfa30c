// The evaluation of "狐": the network of the position's stage over the
// pattern rows, read from data shared with every other evaluator of the same
// folder. A small value to copy: the search holds one, and so can each
// thread.
//
// The search keeps the pattern indices of its position up to date move by
// move (State, play) and asks for the value of a position it has them for
// (score); the rest of the program asks for the value of a Board (evaluate),
// which computes them from scratch. Both give the same value.
#pragma once

#include <memory>

#include "engine/board/bitboard.h"
#include "engine/eval/pattern_data.h"
#include "engine/eval/pattern_indices.h"

namespace kaimo {

class PatternEvaluator {
 public:
  using State = PatternIndices;

  explicit PatternEvaluator(std::shared_ptr<const PatternData> data) : data_(std::move(data)) {}

  const PatternData& data() const { return *data_; }
  bool failed() const { return data_->failed(); }
  // Its values are in discs: with its data they order and guess reads to
  // the end.
  static constexpr bool kOrdersExactReads = true;
  // The ProbCut table is fitted to its searches, beside its data.
  const std::filesystem::path& probCutFolder() const { return data_->folder(); }

  State stateOf(Bits black, Bits white) const { return patternIndicesOf(black, white); }
  static void play(State& state, int square, Bits flips, int mover) { patternIndicesPlay(state, square, flips, mover); }

  // Black's point of view for a position with `empty` squares left to play
  // (at least one) and `side` to move: the simple evaluation above 84 empty
  // squares, else the network, or SCORE_EVAL_ERROR when the data are missing.
  int score(const State& state, Bits black, Bits white, Bits empty, int side) const;

  // What the children of one position share when each is scored as a leaf
  // (familyOf, then childScore for each): they have the same number of
  // empty squares, so how they are scored and the stage's weights are
  // looked up once for all of them.
  struct Family {
    enum class Kind { Network, Simple, Failed };
    Kind kind = Kind::Failed;
    const StageWeights* stage = nullptr;
  };
  // `childEmpties`: the squares left to play after any one move.
  Family familyOf(int childEmpties) const;
  // score() of a child of that family.
  int childScore(const Family& family, const State& child, Bits black, Bits white, Bits empty, int side) const;

  // The evaluation of a routine: evalSimple when `counts` say more than 84
  // empty squares, scoreFinal of `counts` for a finished position or with
  // the final flag, otherwise the network.
  int evaluate(const Board& board, int scoreAsFinished, int side, DiscCounts& counts) const;

 private:
  int network(const State& state, Bits black, Bits white, Bits empty, int side) const;
  int networkOf(const StageWeights& stage, const State& state, Bits black, Bits white, Bits empty, int side) const;

  std::shared_ptr<const PatternData> data_;
};

}  // namespace kaimo
