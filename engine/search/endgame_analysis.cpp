#include "engine/search/endgame_analysis.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>

#include "engine/eval/score.h"
#include "engine/search/endgame_solver.h"
#include "engine/search/move_order.h"
#include "engine/search/search_driver.h"

namespace kaimo {
namespace {

// The root moves are shared out to this many workers, one move at a time.
constexpr int kAnalysisWorkers = 2;

// What the workers share: the moves to take, and under the lock the values,
// the progress count and the totals.
struct Analysis {
  Bits own;
  Bits opp;
  Bits empty;
  const Evaluator* evaluator;
  std::stop_token stop;
  MoveOrder order;
  std::atomic<int> next{0};
  std::atomic<bool> ended{false};

  std::mutex lock;
  SquareValues* values;
  AnalysisProgressFunc onProgress;
  void* user;
  int done = 0;
  AnalysisResult result{0, 0, 0};
};

// A table to the size of the read: a small one costs less to set up, and a
// read of a few empty squares fills no more.
int tableBitsFor(int empties) { return std::min(SearchTable::kDefaultBucketBits, empties); }

// The exact value of playing `move`, for the side to move. The solver plays
// the opponent's pass, or scores the end, itself.
int moveValue(SearchContext& context, const Analysis& analysis, const OrderedMove& move) {
  const Bits bit = squareBit(move.square);
  const Bits childOwn = analysis.opp & ~move.flips;
  const Bits childOpp = analysis.own | move.flips | bit;
  return -solveExact(context, childOwn, childOpp, analysis.empty ^ bit, -SCORE_INF, SCORE_INF);
}

// Takes moves until none is left or the analysis ended. The table stays
// filled from one move to the next: the moves share most of their subtrees.
void runWorker(Analysis& analysis) {
  SearchTable table(tableBitsFor(bitCount(analysis.empty)));
  SearchContext context;
  prepareSearch(context, *analysis.evaluator, analysis.stop, nullptr, 0, &table);
  context.rootEmpty = analysis.empty;
  for (;;) {
    const int index = analysis.next.fetch_add(1);
    if (index >= analysis.order.count || analysis.ended.load()) break;
    const OrderedMove& move = analysis.order.moves[index];
    const std::int64_t leavesBefore = context.leafCount, nodesBefore = context.nodeCount;
    const int value = moveValue(context, analysis, move);
    SquareValues shown;
    int done;
    {
      std::lock_guard<std::mutex> hold(analysis.lock);
      analysis.result.leafCount += context.leafCount - leavesBefore;
      analysis.result.nodeCount += context.nodeCount - nodesBefore;
      if (analysis.ended.load()) break;
      if (context.abortMarker != 0) {
        analysis.result.last = context.abortMarker;
        analysis.ended.store(true);
        break;
      }
      analysis.result.last = value;
      (*analysis.values)[move.square] = value;
      done = ++analysis.done;
      if (analysis.onProgress != nullptr) shown = *analysis.values;
    }
    // Outside the lock: the caller's progress may take locks of its own.
    if (analysis.onProgress != nullptr) analysis.onProgress(shown, done, analysis.order.count, analysis.user);
  }
}

}  // namespace

AnalysisResult analyzeEndgame(const Board& board, int side, const Evaluator& evaluator, std::stop_token stop,
                              SquareValues& values, AnalysisProgressFunc onProgress, void* user) {
  values.fill(SCORE_NONE);
  const BitBoard bits = toBits(board);
  if (bitCount(bits.empty) >= kAnalysisEmptyLimit) return {SCORE_NONE, 0, 0};
  Analysis analysis;
  analysis.own = side == kBlack ? bits.black : bits.white;
  analysis.opp = side == kBlack ? bits.white : bits.black;
  analysis.empty = bits.empty;
  analysis.evaluator = &evaluator;
  analysis.stop = std::move(stop);
  analysis.values = &values;
  analysis.onProgress = onProgress;
  analysis.user = user;
  // Likely best moves first: they teach the tables the most.
  orderMoves(analysis.own, analysis.opp, analysis.empty, bitLegalMoves(analysis.own, analysis.opp, analysis.empty),
             -1, analysis.order);
  std::thread helper;
  if (analysis.order.count > 1 && kAnalysisWorkers > 1) {
    try {
      helper = std::thread(runWorker, std::ref(analysis));
    } catch (const std::system_error&) {
      // No second thread: this one takes every move.
    }
  }
  runWorker(analysis);
  if (helper.joinable()) helper.join();
  return analysis.result;
}

}  // namespace kaimo
