#include "engine/search/search_driver.h"

#include <type_traits>
#include <utility>

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_solver.h"
#include "engine/search/midgame_search.h"
#include "engine/search/move_order.h"
#include "engine/search/probcut.h"

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
  const int first = context.table != nullptr ? context.table->move(own, opp, tableSide) : -1;
  MoveOrder order;
  context.orderCount += orderMoves(own, opp, empty, bitLegalMoves(own, opp, empty), first, order);
  context.rootDepth = pass.depth;
  if (context.progress != nullptr) context.progress->passBegins(context);
  MidgameSearch<Eval> search(context, eval);
  int best = -SCORE_INF;
  int bestMove = -1;
  int low = pass.alpha;
  for (int i = 0; i < order.count; ++i) {
    const OrderedMove& move = order.moves[i];
    const SearchNode<Eval> child = root.child(move.square, move.flips);
    context.progressBase = pass.progressBase + static_cast<int>(static_cast<std::int64_t>(pass.progressSpan) * i / order.count);
    context.progressSpan = pass.progressSpan / order.count;
    int value;
    if (i == 0) {
      value = -search.search(child, pass.depth - 1, -pass.beta, -low);
    } else {
      value = -search.search(child, pass.depth - 1, -low - 1, -low);
      if (value > low && value < pass.beta) value = -search.search(child, pass.depth - 1, -pass.beta, -low);
    }
    if (context.abortMarker != 0) return context.abortMarker;
    if (pass.reports) {
      report(context, pass.progressBase + static_cast<int>(static_cast<std::int64_t>(pass.progressSpan) * (i + 1) / order.count));
    }
    if (value > best) {
      best = value;
      if (value > low) {
        bestMove = move.square;
        low = value;
        if (low >= pass.beta) break;
      }
    }
  }
  if (pass.reports) report(context, pass.progressBase + pass.progressSpan);
  if (context.table != nullptr) {
    context.table->store(own, opp, tableSide, tableDepth(pass.depth, bitCount(empty)), pass.alpha, pass.beta, best,
                         bestMove);
  }
  context.bestMove = bestMove;
  return best;
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

// The root position's masks, set into the context for a new read.
struct RootMasks {
  Bits own;
  Bits opp;
};
RootMasks startRoot(const Board& board, int side, SearchContext& context) {
  const BitBoard bits = toBits(board);
  context.rootEmpty = bits.empty;
  context.bestMove = -1;
  context.abortMarker = 0;
  return {side == kBlack ? bits.black : bits.white, side == kBlack ? bits.white : bits.black};
}

ProbCut probCutFor(const SideSettings& settings, const Evaluator& evaluator) {
  // The table is fitted to the searches of "狐" with the data beside it.
  const PatternData* data = evaluator.patternData();
  if (settings.probCut == 0 || data == nullptr || data->failed()) return {};
  return probCutOf(probCutTableIn(data->folder()).get(), settings.cutValue, settings.probCutA, settings.probCutB);
}

}  // namespace

void prepareSearch(SearchContext& context, const Evaluator& evaluator, std::stop_token stop,
                   SearchProgress* progress, int progressDepth, SearchTable* table) {
  context = SearchContext{};
  context.evaluator = &evaluator;
  context.stop = std::move(stop);
  context.progress = progress;
  context.progressDepth = progressDepth;
  context.table = table != nullptr && table->startSearch() ? table : nullptr;
  context.bestMove = -1;
  context.startTime = searchClockMs();
  context.progressShown = -1;
  context.pollCountdown = 1;  // the first node asks
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
                         Evaluator evaluator, std::stop_token stop, SearchProgress* progress) {
  const int depth = chooseDepth(settings.normalDepth, settings.exactDepth, settings.winDepth, emptyCount(board));
  prepareSearchJob(job, board, side, depth, settings.winDepth, std::move(evaluator), std::move(stop), progress,
                   depth - kProgressPlies);
  job.context.probCut = probCutFor(settings, job.evaluator);
}

void prepareComputerMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                         std::stop_token stop, SearchProgress* progress) {
  prepareComputerMove(job, board, side, settings, routineEvaluator(settings.routine), std::move(stop), progress);
}

int searchRoot(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context,
               int progressBase, int progressSpan) {
  // Named fields, not a structured binding: clang 14 cannot capture one in a lambda.
  const RootMasks masks = startRoot(board, side, context);
  if (bitLegalMoves(masks.own, masks.opp, context.rootEmpty) == 0) return SCORE_NO_MOVE;
  return context.evaluator->visit([&](const auto& eval) {
    using Eval = std::decay_t<decltype(eval)>;
    return searchFrom(context, eval, SearchNode<Eval>::root(eval, masks.own, masks.opp, side), depth, alpha, beta,
                      progressBase, progressSpan);
  });
}

int searchDeepening(const Board& board, int side, int maxDepth, SearchContext& context, const DepthFinished& onDepth) {
  const RootMasks masks = startRoot(board, side, context);
  if (bitLegalMoves(masks.own, masks.opp, context.rootEmpty) == 0) return SCORE_NO_MOVE;
  return context.evaluator->visit([&](const auto& eval) {
    using Eval = std::decay_t<decltype(eval)>;
    const SearchNode<Eval> root = SearchNode<Eval>::root(eval, masks.own, masks.opp, side);
    int value = SCORE_NONE;
    for (int depth = 1; depth <= maxDepth; ++depth) {
      value = searchRootMoves(context, eval, root, {depth, -SCORE_INF, SCORE_INF, 0, 0, false});
      if (isMarker(value)) break;
      onDepth(depth, value, context.bestMove);
    }
    return value;
  });
}

}  // namespace kaimo
