#include "engine/search/search_driver.h"

#include <optional>
#include <type_traits>
#include <utility>

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_solver.h"
#include "engine/search/midgame_search.h"
#include "engine/search/move_loop.h"
#include "engine/search/move_order.h"
#include "engine/search/search_team.h"

namespace kaimo {
namespace {

// A think job reports progress from the nodes this close to the root.
constexpr int kProgressPlies = 2;

int emptyCount(const Board& board) {
  DiscCounts counts;
  boardCount(board, counts);
  return counts[2];
}

void report(SearchContext& context, int value) {
  if (context.progress == nullptr || value <= context.progressShown) return;
  context.progressShown = value;
  context.progress->report(value, context);
}

// Where the root's moves and their progress shares are searched.
struct RootPass {
  int depth;
  int alpha;
  int beta;
  int progressBase;
  int progressSpan;
  bool reports;
};

// The root node: every move in order, the first with the window, the others
// with a null window first. Sets context.bestMove.
template <typename Eval>
int searchRootMoves(SearchContext& context, const Eval& eval, const SearchNode<Eval>& root, const RootPass& pass) {
  const Bits own = root.own, opp = root.opp;
  const Bits empty = context.rootEmpty;
  const bool exact = pass.depth >= bitCount(empty);
  const int tableSide = exact ? kExactTableSide : root.side;
  const int depth = tableDepth(pass.depth, bitCount(empty));
  const TableKey key = SearchTable::keyOf(own, opp);
  // The root searches every move whatever the table holds: only the move it
  // stored goes first.
  const int first = context.table != nullptr ? probeNode(context, key, tableSide, -1, pass.alpha, pass.beta).move : -1;
  MoveOrder order;
  context.orderCount += orderMoves(own, opp, empty, bitLegalMoves(own, opp, empty), first, order);
  context.rootDepth = pass.depth;
  if (context.progress != nullptr) context.progress->passBegins(context);
  auto shareStart = [&](int done) {
    return pass.progressBase + static_cast<int>(static_cast<std::int64_t>(pass.progressSpan) * done / order.count);
  };
  const MoveLoopResult result = searchMoves(
      context, order, pass.alpha, pass.beta, true,
      [&](SearchContext& searching, int index, int low, int high) {
        const OrderedMove& move = order.moves[index];
        searching.progressBase = shareStart(index);
        searching.progressSpan = pass.progressSpan / order.count;
        return -MidgameSearch<Eval>(searching, eval).search(root.child(move.square, move.flips), pass.depth - 1, -high,
                                                            -low);
      },
      [&](int done) {
        if (pass.reports) report(context, shareStart(done));
      });
  if (context.abortMarker != 0) return context.abortMarker;
  if (pass.reports) report(context, pass.progressBase + pass.progressSpan);
  if (context.table != nullptr) {
    context.table->store(key, tableSide, depth, pass.alpha, pass.beta, result.best, result.bestMove);
  }
  context.bestMove = result.bestMove;
  return result.best;
}

// The root with the preliminary passes, compiled for the context's evaluator.
template <typename Eval>
int searchFrom(SearchContext& context, const Eval& eval, const SearchNode<Eval>& root, int depth, int alpha, int beta,
               int progressBase, int progressSpan) {
  const Bits empty = context.rootEmpty;
  if (depth <= 0) {
    const int value = MidgameSearch<Eval>(context, eval).search(root, 0, alpha, beta);
    return context.abortMarker != 0 ? context.abortMarker : value;
  }
  // Shallower reads first: each leaves its best moves in the table to order
  // the next. A read to the end needs none: its own ordering does better.
  if (context.table != nullptr && depth < bitCount(empty)) {
    for (int shallower = 1; shallower < depth; ++shallower) {
      const int value = searchRootMoves(context, eval, root, {shallower, -SCORE_INF, SCORE_INF, 0, 0, false});
      if (isMarker(value)) return value;
    }
  }
  const bool reports = depth >= context.progressDepth;
  return searchRootMoves(context, eval, root, {depth, alpha, beta, progressBase, progressSpan, reports});
}

}  // namespace

void prepareSearch(SearchContext& context, const Evaluator& evaluator, std::stop_token stop,
                   SearchProgress* progress, int progressDepth, SearchTable* table) {
  context = SearchContext{};
  context.evaluator = &evaluator;
  orderReadsWith(context, evaluator);
  context.stop = std::move(stop);
  context.progress = progress;
  context.progressDepth = progressDepth;
  context.table = table != nullptr && table->startSearch() ? table : nullptr;
  context.bestMove = -1;
  context.threads = 1;
  context.startTime = searchClockMs();
  context.progressShown = -1;
  context.pollCountdown = 1;  // the first node asks
}

void orderReadsWith(SearchContext& context, const Evaluator& orderer) {
  context.orderer = orderer.pattern() != nullptr && !orderer.failed() ? orderer.pattern() : nullptr;
}

void prepareSearchJob(SearchJob& job, const Board& board, int side, int depth, int winDepth, Evaluator evaluator,
                      std::stop_token stop, SearchProgress* progress, int progressDepth) {
  job.evaluator = std::move(evaluator);
  prepareSearch(job.context, job.evaluator, std::move(stop), progress, progressDepth, &job.table);
  job.board = &board;
  job.side = side;
  job.depth = depth;
  job.winDepth = winDepth;
  job.progressSpan = kProgressSpan;
}

void prepareComputerMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                         Evaluator evaluator, std::stop_token stop, SearchProgress* progress, int threads) {
  const int depth = chooseDepth(settings.normalDepth, settings.exactDepth, settings.winDepth, emptyCount(board));
  prepareSearchJob(job, board, side, depth, settings.winDepth, std::move(evaluator), std::move(stop), progress,
                   depth - kProgressPlies);
  job.context.threads = threads;
  // Only a read to the end needs "狐" to order it: "狸" reads its data then.
  if (!job.evaluator.isPattern() && depth >= emptyCount(board)) {
    job.orderer = routineEvaluator(kPatternRoutine);
    orderReadsWith(job.context, job.orderer);
  }
}

void prepareComputerMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                         std::stop_token stop, SearchProgress* progress, int threads) {
  prepareComputerMove(job, board, side, settings, routineEvaluator(settings.routine), std::move(stop), progress,
                      threads);
}

int searchRoot(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context,
               int progressBase, int progressSpan) {
  const BitBoard bits = toBits(board);
  const Bits own = side == kBlack ? bits.black : bits.white;
  const Bits opp = side == kBlack ? bits.white : bits.black;
  context.rootEmpty = bits.empty;
  context.bestMove = -1;
  context.abortMarker = 0;
  if (context.table != nullptr && depth >= bitCount(bits.empty)) {
    context.table->useBuckets(SearchTable::bucketBitsForEmpties(bitCount(bits.empty)));
  }
  if (bitLegalMoves(own, opp, bits.empty) == 0) return SCORE_NO_MOVE;
  // The helpers copy the context as it stands: set up for this root.
  std::optional<SearchTeam> team;
  if (context.threads > 1 && context.team == nullptr) team.emplace(context, context.threads);
  return context.evaluator->visit([&](const auto& eval) {
    using Eval = std::decay_t<decltype(eval)>;
    return searchFrom(context, eval, SearchNode<Eval>::root(eval, own, opp, side), depth, alpha, beta, progressBase,
                      progressSpan);
  });
}

}  // namespace kaimo
