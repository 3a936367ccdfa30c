#include "engine/search/search_driver.h"

#include <filesystem>
#include <optional>
#include <type_traits>
#include <utility>

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_solver.h"
#include "engine/search/evaluation_order.h"
#include "engine/search/guessed_window.h"
#include "engine/search/midgame_search.h"
#include "engine/search/move_loop.h"
#include "engine/search/move_order.h"
#include "engine/search/probcut.h"
#include "engine/search/search_team.h"

namespace kaimo {
namespace {

// A think job reports progress from the nodes this close to the root.
constexpr int kProgressPlies = 2;

void report(SearchContext& context, int value) {
  if (context.setup.progress == nullptr || value <= context.root.shown) return;
  context.root.shown = value;
  context.setup.progress->report(value, context);
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
  SearchThread& thread = context.thread;
  SearchTable* table = context.setup.table;
  const Bits own = root.own, opp = root.opp;
  const Bits empty = thread.rootEmpty;
  const bool exact = pass.depth >= bitCount(empty);
  const int tableSide = exact ? kExactTableSide : root.side;
  const int depth = tableDepth(pass.depth, bitCount(empty));
  const TableKey key = SearchTable::keyOf(own, opp);
  // The root searches every move whatever the table holds: only the move it
  // stored goes first.
  const int first = table != nullptr ? probeNode(thread, *table, key, tableSide, -1, pass.alpha, pass.beta).move : -1;
  MoveOrder order;
  thread.orderCount += orderMoves(own, opp, empty, bitLegalMoves(own, opp, empty), first, order);
  context.root.depth = pass.depth;
  if (context.setup.progress != nullptr) context.setup.progress->passBegins(context);
  auto shareStart = [&](int done) {
    return pass.progressBase + static_cast<int>(static_cast<std::int64_t>(pass.progressSpan) * done / order.count);
  };
  const MoveLoopResult result = searchMoves(
      thread, order, pass.alpha, pass.beta, true,
      [&](SearchThread& searching, int index, int low, int high) {
        const OrderedMove& move = order.moves[index];
        if (searching.reportsFor != nullptr) {
          searching.reportsFor->root.base = shareStart(index);
          searching.reportsFor->root.span = pass.progressSpan / order.count;
        }
        return -MidgameSearch<Eval>(searching, eval)
                    .search(root.child(move.square, move.flips), pass.depth - 1, -high, -low);
      },
      [&](int done) {
        if (pass.reports) report(context, shareStart(done));
      });
  if (thread.abortReason != 0) return thread.abortReason;
  if (pass.reports) report(context, pass.progressBase + pass.progressSpan);
  if (table != nullptr) table->store(key, tableSide, depth, pass.alpha, pass.beta, result.best, result.bestMove);
  context.bestMove = result.bestMove;
  return result.best;
}

// Reads the root at depth 1, 2, ... up to `last`, each with the full window
// and no reports, each ordered by what the ones before left in the table;
// tells `onDepth(depth, value, move)` each finished depth. Returns the
// value of the last read, or the marker of a read that stopped.
template <typename Eval, typename OnDepth>
int deepen(SearchContext& context, const Eval& eval, const SearchNode<Eval>& root, int last, const OnDepth& onDepth) {
  int value = SCORE_NONE;
  for (int depth = 1; depth <= last; ++depth) {
    value = searchRootMoves(context, eval, root, {depth, -SCORE_INF, SCORE_INF, 0, 0, false});
    if (isMarker(value)) break;
    onDepth(depth, value, context.bestMove);
  }
  return value;
}

// The root of a read to the end, around what "狐" expects of it: narrow
// windows cut far more, and the value is the same. Each pass after a miss
// reports its progress in the half of the span the one before left.
template <typename Eval>
int searchExactRoot(SearchContext& context, const Eval& eval, const SearchNode<Eval>& root, const RootPass& pass,
                    int guess) {
  RootPass attempt = pass;
  attempt.progressSpan = pass.progressSpan / 2;
  const int value = readAroundGuess(
      context.thread, guess, pass.alpha, pass.beta,
      [&](int alpha, int beta) {
        attempt.alpha = alpha;
        attempt.beta = beta;
        return searchRootMoves(context, eval, root, attempt);
      },
      [&] {
        attempt.progressBase += attempt.progressSpan;
        attempt.progressSpan /= 2;
      });
  if (context.thread.abortReason == 0 && pass.reports) report(context, pass.progressBase + pass.progressSpan);
  return value;
}

// The root with the preliminary passes, compiled for the set-up's evaluator.
template <typename Eval>
int searchFrom(SearchContext& context, const Eval& eval, const SearchNode<Eval>& root, int depth, int alpha, int beta,
               int progressBase, int progressSpan) {
  SearchThread& thread = context.thread;
  const int empties = bitCount(thread.rootEmpty);
  if (depth <= 0) {
    const int value = MidgameSearch<Eval>(thread, eval).search(root, 0, alpha, beta);
    return thread.abortReason != 0 ? thread.abortReason : value;
  }
  // Shallower reads first: each leaves its best moves in the table to order
  // the next. A read to the end needs none: its own ordering does better.
  if (context.setup.table != nullptr && depth > 1 && depth < empties) {
    const int value = deepen(context, eval, root, depth - 1, [](int, int, int) {});
    if (isMarker(value)) return value;
  }
  const RootPass pass{depth, alpha, beta, progressBase, progressSpan, depth >= context.setup.progressDepth};
  if (depth >= empties) {
    const int guess = guessExactValue(context.setup.orderer, root.own, root.opp, thread.rootEmpty);
    if (guess != SCORE_NONE) return searchExactRoot(context, eval, root, pass, guess);
  }
  return searchRootMoves(context, eval, root, pass);
}

// The root position's masks, set into the context for a new read.
struct RootMasks {
  Bits own;
  Bits opp;
};
RootMasks startRoot(const Board& board, int side, SearchContext& context) {
  const BitBoard bits = toBits(board);
  context.thread.rootEmpty = bits.empty;
  context.thread.abortReason = 0;
  context.bestMove = -1;
  return {side == kBlack ? bits.black : bits.white, side == kBlack ? bits.white : bits.black};
}

// Runs `read(eval, root)` from the root startRoot set, compiled for the
// set-up's evaluator, with the set-up's threads searching it together.
// SCORE_NO_MOVE when the side to move has no move.
template <typename Read>
int readRoot(SearchContext& context, const RootMasks& masks, int side, const Read& read) {
  SearchThread& thread = context.thread;
  if (bitLegalMoves(masks.own, masks.opp, thread.rootEmpty) == 0) return SCORE_NO_MOVE;
  // The helpers build their state from this root's.
  std::optional<SearchTeam> team;
  if (context.setup.threads > 1 && thread.team == nullptr) team.emplace(thread, context.setup.threads);
  return context.setup.evaluator->visit([&](const auto& eval) {
    using Eval = std::decay_t<decltype(eval)>;
    return read(eval, SearchNode<Eval>::root(eval, masks.own, masks.opp, side));
  });
}

ProbCut probCutFor(const SideSettings& settings, const Evaluator& evaluator) {
  // The table is fitted to the searches of the evaluator it lies beside.
  const std::filesystem::path* folder = evaluator.probCutFolder();
  if (!settings.probCut || folder == nullptr || evaluator.failed()) return {};
  return probCutOf(probCutTableIn(*folder).get(), settings.cutValue, settings.probCutMaxDepth,
                   settings.probCutAboveEmpties);
}

}  // namespace

void prepareSearch(SearchContext& context, const Evaluator& evaluator, std::stop_token stop, SearchProgress* progress,
                   int progressDepth, SearchTable* table) {
  context.setup = SearchSetup{.evaluator = &evaluator,
                              .stop = std::move(stop),
                              .table = table != nullptr && table->startSearch() ? table : nullptr,
                              .progress = progress,
                              .progressDepth = progressDepth,
                              .startTime = searchClockMs()};
  orderReadsWith(context, evaluator);
  context.root = RootProgress{};
  context.thread = SearchThread{.setup = &context.setup, .reportsFor = progress != nullptr ? &context : nullptr};
  context.bestMove = -1;
}

void orderReadsWith(SearchContext& context, const Evaluator& orderer) {
  context.setup.orderer = orderer.ordersExactReads() && !orderer.failed() ? &orderer : nullptr;
}

void prepareSearchJob(SearchJob& job, const Board& board, int side, int depth, int winDepth, Evaluator evaluator,
                      std::stop_token stop, SearchProgress* progress, int progressDepth) {
  job.evaluator = std::move(evaluator);
  prepareSearch(job.context, job.evaluator, std::move(stop), progress, progressDepth, &job.table);
  job.board = &board;
  job.side = side;
  job.depth = depth;
  job.winDepth = winDepth;
  job.read = depth >= boardEmptyCount(board) ? ReadKind::Exact : ReadKind::Normal;
  job.progressSpan = kProgressSpan;
}

void prepareComputerMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                         Evaluator evaluator, std::stop_token stop, SearchProgress* progress, int threads) {
  const int empties = boardEmptyCount(board);
  const int depth = settings.depthFor(empties);
  prepareSearchJob(job, board, side, depth, settings.winDepth, std::move(evaluator), std::move(stop), progress,
                   depth - kProgressPlies);
  job.read = settings.readKindFor(empties);
  job.context.setup.threads = threads;
  job.context.setup.probCut = probCutFor(settings, job.evaluator);
  // Only a read to the end needs an evaluator that orders it: a side whose
  // own cannot ("狸") reads the program's data of "狐" then.
  if (!job.evaluator.ordersExactReads() && depth >= empties) {
    job.orderer = routineEvaluator(kPatternRoutine);
    orderReadsWith(job.context, job.orderer);
  }
}

void prepareComputerMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                         std::stop_token stop, SearchProgress* progress, int threads) {
  prepareComputerMove(job, board, side, settings, routineEvaluator(settings.routine), std::move(stop), progress,
                      threads);
}

int searchRoot(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context, int progressBase,
               int progressSpan) {
  const RootMasks masks = startRoot(board, side, context);
  const int empties = bitCount(context.thread.rootEmpty);
  if (context.setup.table != nullptr && depth >= empties) {
    context.setup.table->useBuckets(SearchTable::bucketBitsForEmpties(empties));
  }
  return readRoot(context, masks, side, [&](const auto& eval, const auto& root) {
    return searchFrom(context, eval, root, depth, alpha, beta, progressBase, progressSpan);
  });
}

int searchDeepening(const Board& board, int side, int maxDepth, SearchContext& context, const DepthFinished& onDepth) {
  // The shallow reads fill the table first: it keeps all its buckets.
  const RootMasks masks = startRoot(board, side, context);
  return readRoot(context, masks, side,
                  [&](const auto& eval, const auto& root) { return deepen(context, eval, root, maxDepth, onDepth); });
}

}  // namespace kaimo
