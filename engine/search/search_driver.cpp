#include "engine/search/search_driver.h"

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/empties.h"
#include "engine/search/midgame_search.h"

namespace kaimo {
namespace {

// The shallowest preliminary pass: shallower ones teach the table too little.
constexpr int kFirstPassDepth = 4;
// A think job reports progress from the nodes this close to the root.
constexpr int kProgressPlies = 2;

int emptyCount(const Board& board) {
  DiscCounts counts;
  boardCount(board, counts);
  return counts[2];
}

// A routine index from the settings file may be anything; a computer side
// always gets an evaluation.
EvalFunc evaluationOf(int routine) {
  if (routine < 0 || routine >= routineCount() || routineTable[routine].evaluate == nullptr) {
    return routineTable[kSimpleRoutine].evaluate;
  }
  return routineTable[routine].evaluate;
}

// Shallower searches of the same shape that leave each entry's `middle`
// behind to order the next pass and the real search. Returns a marker when a
// pass stopped or failed, else 0.
int runPreliminaryPasses(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context,
                         const std::int8_t* empties) {
  const int savedHashDepth = context.hashDepth;
  const int lastPass = depth - context.solverDepth;
  int result = 0;
  for (int j = kFirstPassDepth; j <= lastPass; ++j) {
    const int shift = depth - j;
    context.hashDepth = j;
    context.solverDepth -= shift;
    context.orderDepth -= shift;
    const int value = searchMidgame(board, side, j, alpha, beta, context, 0, 0, empties, nullptr);
    kr_mapApplyAll(context.table, resetEntry);
    context.solverDepth += shift;
    context.orderDepth += shift;
    if (isMarker(value)) {
      result = value;
      break;
    }
    if (context.entryCount >= kTableEntryCap) break;
  }
  context.hashDepth = savedHashDepth;
  return result;
}

}  // namespace

void prepareSearch(SearchContext& context, int rootEmpties, EvalFunc evaluate, StopFunc shouldStop,
                   ProgressFunc progress, int progressDepth, int /*probCut*/, int /*cutValue*/, int /*probCutA*/,
                   int /*probCutB*/, int solverDepth, int hashDepth, int clearAllowed, int orderDepth) {
  context.evaluate = evaluate;
  context.shouldStop = shouldStop;
  context.progress = progress;
  context.progressDepth = progressDepth;
  context.solverDepth = solverDepth;
  context.hashDepth = hashDepth;
  context.clearAllowed = clearAllowed;
  context.orderDepth = orderDepth;
  context.hashFound = 0;
  context.hashCutoffs = 0;
  context.hashProbes = 0;
  context.leafCount = 0;
  context.orderCount = 0;
  context.startTime = searchClockMs();
  context.bestMove = -1;
  context.table = acquireTable();
  context.entryCount = kr_mapCount(context.table);
  context.refreshDepth = rootEmpties / 2;
}

void prepareSearchJob(SearchJob& job, const Board& board, int side, int depth, int winDepth, EvalFunc evaluate,
                      StopFunc shouldStop, ProgressFunc progress, int progressDepth, int probCut, int cutValue,
                      int probCutA, int probCutB, int solverDepth, int hashDepth, int clearAllowed, int orderDepth) {
  prepareSearch(job.context, emptyCount(board), evaluate, shouldStop, progress, progressDepth, probCut, cutValue,
                probCutA, probCutB, solverDepth, hashDepth, clearAllowed, orderDepth);
  job.board = &board;
  job.side = side;
  job.depth = depth;
  job.winDepth = winDepth;
  job.progressSpan = kProgressSpan;
}

void prepareComputerMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                         StopFunc shouldStop, ProgressFunc progress) {
  const int empties = emptyCount(board);
  const int depth = chooseDepth(settings.normalDepth, settings.exactDepth, settings.winDepth, empties);
  prepareSearchJob(job, board, side, depth, settings.winDepth, evaluationOf(settings.routine), shouldStop, progress,
                   depth - kProgressPlies, 0, 0, 0, 0, solverDepthFor(depth, empties), hashDepthFor(depth, empties),
                   1, orderDepthFor(depth, empties));
}

int searchRoot(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context,
               int progressBase, int progressSpan) {
  std::int8_t empties[kEmptiesCapacity];
  buildEmpties(board, empties);
  if (context.table != nullptr) {
    const int stopped = runPreliminaryPasses(board, side, depth, alpha, beta, context, empties);
    if (isMarker(stopped)) return stopped;
  }
  return searchMidgame(board, side, depth, alpha, beta, context, progressBase, progressSpan, empties, nullptr);
}

}  // namespace kaimo
