#include "engine/search/endgame_analysis.h"

#include <algorithm>
#include <mutex>
#include <optional>

#include "engine/eval/score.h"
#include "engine/search/endgame_solver.h"
#include "engine/search/evaluation_order.h"
#include "engine/search/move_loop.h"
#include "engine/search/move_order.h"
#include "engine/search/search_driver.h"
#include "engine/search/search_team.h"

namespace kaimo {
namespace {

// A miss counts at most this much: a wipe-out's value says little about
// the next guess.
constexpr int kMissLimit = 16 * SCORE_PER_DISC;

// What the threads share besides the tree: the values found, under the lock.
struct Analysis {
  Bits own;
  Bits opp;
  Bits empty;
  MoveOrder order;
  bool winLoss;  // each move read only for its sign (AnalysisSetup::winLoss)

  std::mutex lock;
  SquareValues* values;
  AnalysisProgressFunc onProgress;
  void* user;
  int done = 0;
  int last = 0;
  // How far the guesses of the moves solved so far missed their values
  // (value - guess, each at most kMissLimit either way, summed), and how
  // many there were.
  std::int64_t missSum = 0;
  int missCount = 0;

  // The exact value of playing move `index`, for the side to move, kept
  // and reported once solved. The solver plays the opponent's pass, or
  // scores the end, itself.
  int solve(SearchThread& thread, int index) {
    const OrderedMove& move = order.moves[index];
    const Bits bit = squareBit(move.square);
    int guess = SCORE_NONE;
    const int childValue = solveChild(thread, opp & ~move.flips, own | move.flips | bit, empty ^ bit, guess);
    const int value = -childValue;
    if (thread.abortReason != 0) return value;
    SquareValues shown;
    int count;
    {
      std::lock_guard hold(lock);
      if (guess != SCORE_NONE) {
        missSum += std::clamp(childValue - guess, -kMissLimit, kMissLimit);
        ++missCount;
      }
      last = value;
      (*values)[move.square] = value;
      count = ++done;
      if (onProgress != nullptr) shown = *values;
    }
    // Outside the lock: the caller's progress may take locks of its own.
    if (onProgress != nullptr) onProgress(shown, count, order.count, user);
    return value;
  }

  // The exact value of a child for its own mover: around what a short read
  // of "狐" expects (`guess`) when the set-up has its data, else in the
  // full window; the narrow windows take about half the time of full ones.
  // The guess is moved by how far the read missed on the moves solved
  // before: its misses in one position lean the same way, and a guess that
  // misses costs a second read (docs/benchmarks.md, "Tunables of the exact
  // solver").
  int solveChild(SearchThread& thread, Bits childOwn, Bits childOpp, Bits childEmpty, int& guess) {
    if (winLoss) return solveExact(thread, childOwn, childOpp, childEmpty, -1, 1);
    guess = guessExactValue(thread.setup->orderer, childOwn, childOpp, childEmpty);
    if (guess == SCORE_NONE) return solveExact(thread, childOwn, childOpp, childEmpty, -SCORE_INF, SCORE_INF);
    guess += usualMiss();
    return solveExactNear(thread, childOwn, childOpp, childEmpty, guess);
  }

  int usualMiss() {
    std::lock_guard hold(lock);
    return missCount == 0 ? 0 : static_cast<int>(missSum / missCount);
  }
};

}  // namespace

AnalysisResult analyzeEndgame(const Board& board, int side, const Evaluator& evaluator, std::stop_token stop,
                              SquareValues& values, AnalysisProgressFunc onProgress, void* user,
                              const AnalysisSetup& setup) {
  values.fill(SCORE_NONE);
  const BitBoard bits = toBits(board);
  const int empties = bitCount(bits.empty);
  if (empties >= kAnalysisEmptyLimit) return {SCORE_NONE, 0, 0};
  Analysis analysis;
  analysis.own = side == kBlack ? bits.black : bits.white;
  analysis.opp = side == kBlack ? bits.white : bits.black;
  analysis.empty = bits.empty;
  analysis.winLoss = setup.winLoss;
  analysis.values = &values;
  analysis.onProgress = onProgress;
  analysis.user = user;
  // Likely best moves first: they teach the table the most.
  orderMoves(analysis.own, analysis.opp, analysis.empty, bitLegalMoves(analysis.own, analysis.opp, analysis.empty), -1,
             analysis.order);

  std::optional<SearchTable> ownTable;
  SearchTable* table = setup.table;
  if (table == nullptr) table = &ownTable.emplace(SearchTable::bucketBitsForEmpties(empties));
  SearchContext context;
  prepareSearch(context, evaluator, std::move(stop), nullptr, 0, table);
  if (context.setup.table != nullptr) context.setup.table->useBuckets(SearchTable::bucketBitsForEmpties(empties));
  if (setup.orderer != nullptr) orderReadsWith(context, *setup.orderer);
  context.setup.threads = setup.threads;
  SearchThread& thread = context.thread;
  thread.rootEmpty = analysis.empty;
  {
    // The moves go to the threads one at a time, each searched whole with
    // the full window; a thread left without a move helps the others below
    // theirs.
    SearchTeam team(thread, context.setup.threads);
    shareMoves(
        thread, analysis.order, 0, MoveLoop{-SCORE_INF, -1, -SCORE_INF}, SCORE_INF, MoveWindows::Every,
        [&analysis](SearchThread& searching, int index, int, int) { return analysis.solve(searching, index); },
        noReport);
  }
  return {thread.abortReason != 0 ? thread.abortReason : analysis.last, thread.leafCount, thread.nodeCount};
}

}  // namespace kaimo
