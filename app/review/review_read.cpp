#include "app/review/review_read.h"

#include <algorithm>

#include "app/review/better_move.h"
#include "engine/board/bitboard.h"
#include "engine/eval/pattern_data.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/midgame_search.h"
#include "engine/search/move_order.h"
#include "engine/search/search_driver.h"
#include "engine/search/search_table.h"

namespace kaimo {
namespace {

// What a read knows about its root while it searches the moves.
struct Root {
  Bits own;
  Bits opp;
  int side;
  int depth;
};

// The value of `square` for the side to move, fail-soft in (alpha, beta):
// the child searched one ply less deep. A pass of the opponent and the end
// of the game are the search's own business.
int moveValue(SearchThread& thread, const Root& root, int square, int alpha, int beta) {
  const Bits bit = squareBit(square);
  const Bits flips = bitFlips(root.own, root.opp, square);
  return -searchMidgame(thread, root.opp & ~flips, root.own | flips | bit, opponentOf(root.side), root.depth - 1, -beta,
                        -alpha);
}

// The evaluation of the routine that reads with the network ("狐").
Evaluator foxEvaluator() {
  for (int routine = 0; routine < routineCount(); ++routine) {
    if (routineTable[routine].evaluation == Evaluation::Pattern) return routineEvaluator(routine);
  }
  return Evaluator{};
}

ReadOutcome outcomeOfAbort(int marker) {
  return marker == SCORE_EVAL_ERROR ? ReadOutcome::NoData : ReadOutcome::Stopped;
}

PositionRead failed(ReadOutcome outcome, std::int64_t leaves = 0) {
  return PositionRead{outcome, ReviewValueKind::None, SCORE_NONE, -1, SCORE_NONE, leaves};
}

}  // namespace

bool foxDataReadable() { return !foxEvaluator().failed(); }

int finishedPositionValue(const Board& board) {
  DiscCounts counts;
  boardCount(board, counts);
  return scoreFinal(counts[kBlack], counts[kWhite]);
}

PositionReader::PositionReader(const ReviewSettings& settings, ReviewEvaluator evaluator)
    : settings_(settings), use_(evaluator), fox_(foxEvaluator()), table_(std::make_unique<SearchTable>()) {}

PositionReader::~PositionReader() = default;

PositionRead PositionReader::read(const Board& board, int side, int played, std::stop_token stop) {
  const BitBoard bits = toBits(board);
  const Bits own = side == kBlack ? bits.black : bits.white;
  const Bits opp = side == kBlack ? bits.white : bits.black;
  const Bits legal = bitLegalMoves(own, opp, bits.empty);
  if (played < 0 || played >= kSquareCount || (legal & squareBit(played)) == 0) return failed(ReadOutcome::NotAMove);
  const int empties = bitCount(bits.empty);
  const bool exact = empties <= settings_.exactEmpties || settings_.depth >= empties;
  if (!exact && use_ == ReviewEvaluator::ExactOnly) return failed(ReadOutcome::NoData);
  // "狐" scores positions above kPatternMaxEmpties empty squares with the
  // simple evaluation, which is not in discs: an opening read goes deep
  // enough for its leaves to reach the network.
  const int depth = exact ? empties : std::max(settings_.depth, empties - kPatternMaxEmpties);
  const Root root{own, opp, side, depth};

  SearchContext context;
  prepareSearch(context, fox_, std::move(stop), nullptr, 0, table_.get());
  // Shallower passes leave the best moves in the table to order the real
  // one; a read to the end orders itself better.
  if (!exact && depth > 1) {
    const int value = searchRoot(board, side, depth - 1, -SCORE_INF, SCORE_INF, context, 0, 0);
    if (isMarker(value)) return failed(outcomeOfAbort(value), context.thread.leafCount);
  }
  SearchThread& thread = context.thread;
  thread.rootEmpty = bits.empty;
  thread.abortReason = 0;
  context.root.depth = depth;

  // The move played first with the whole window: its value is exact.
  const int playedValue = moveValue(thread, root, played, -SCORE_INF, SCORE_INF);
  MoveOrder order;
  const int tableMove =
      context.setup.table != nullptr ? context.setup.table->move(SearchTable::keyOf(own, opp), side) : -1;
  orderMoves(own, opp, bits.empty, legal & ~squareBit(played), tableMove, order);
  const ValuedMove best = bestAgainst(thread, order, {playedValue, played}, [&](int square, int alpha, int beta) {
    return moveValue(thread, root, square, alpha, beta);
  });
  if (thread.abortReason != 0) return failed(outcomeOfAbort(thread.abortReason), thread.leafCount);
  return PositionRead{ReadOutcome::Done, exact ? ReviewValueKind::Exact : ReviewValueKind::Estimate,
                      playedValue,       best.square,
                      best.value,        thread.leafCount};
}

}  // namespace kaimo
