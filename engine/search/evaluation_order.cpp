#include "engine/search/evaluation_order.h"

#include <type_traits>

#include "engine/eval/score.h"
#include "engine/search/midgame_search.h"

namespace kaimo {
namespace {

// A reply more for the opponent weighs as much as 8 discs of value
// (fastestFirstKey counts a reply 4): the sum leaves fewer nodes than the
// value or the masks alone (docs/benchmarks.md, "Tunables of the exact
// solver").
constexpr int kReplyWeight = 2;

// The plies of the read that guesses a read to the end: fewer or more did
// alike (docs/benchmarks.md, "Tunables of the exact solver").
constexpr int kGuessPlies = 6;

// The thread of a read of "狐" made for the order: its own counts, no
// table and no stop request; it sees the colours as they are named here
// (the side to move as black), since only values of one position are
// compared.
SearchThread readingThread(Bits empty) {
  static const SearchSetup reading;
  return SearchThread{.setup = &reading, .rootEmpty = empty};
}

// orderMovesByEvaluation compiled for the orderer's evaluator.
template <typename Eval>
int orderWith(const Eval& orderer, int plies, Bits own, Bits opp, Bits empty, Bits moves, int first, MoveOrder& order) {
  SearchThread reading = readingThread(empty);
  MidgameSearch<Eval> search(reading, orderer);
  const auto node = SearchNode<Eval>::root(orderer, own, opp, kBlack);
  order.count = 0;
  for (; moves != 0; moves &= moves - 1) {
    const int square = lowestSquare(moves);
    const Bits flips = bitFlips(own, opp, square);
    int key = -SCORE_INF;
    Bits replies = kRepliesUnknown;
    if (square != first) {
      // The value for the opponent, in discs: lower first.
      int value = search.search(node.child(square, flips), plies, -SCORE_INF, SCORE_INF) / SCORE_PER_DISC;
      if (reading.abortReason != 0) value = 0;  // a stage without its weights: no preference
      reading.abortReason = 0;
      replies = repliesTo(own, opp, empty, square, flips);
      key = value + kReplyWeight * fastestFirstKey(own, opp, empty, square, flips, replies);
    }
    order.insert({square, key, flips, replies});
  }
  return order.count;
}

}  // namespace

int orderMovesByEvaluation(const Evaluator& orderer, int plies, Bits own, Bits opp, Bits empty, Bits moves, int first,
                           MoveOrder& order) {
  return orderer.visit([&](const auto& eval) { return orderWith(eval, plies, own, opp, empty, moves, first, order); });
}

int valueByEvaluation(const Evaluator& orderer, int plies, Bits own, Bits opp, Bits empty) {
  return orderer.visit([&](const auto& eval) {
    using Eval = std::decay_t<decltype(eval)>;
    SearchThread reading = readingThread(empty);
    const int value = MidgameSearch<Eval>(reading, eval)
                          .search(SearchNode<Eval>::root(eval, own, opp, kBlack), plies, -SCORE_INF, SCORE_INF);
    return reading.abortReason != 0 ? SCORE_NONE : value;
  });
}

int guessExactValue(const Evaluator* orderer, Bits own, Bits opp, Bits empty) {
  if (orderer == nullptr) return SCORE_NONE;
  return valueByEvaluation(*orderer, kGuessPlies, own, opp, empty);
}

}  // namespace kaimo
