// The engine's entry for everybody who wants a move or a value: the depth
// rules, the context set-up, the process-wide transposition table and the
// root search with its preliminary passes.
#pragma once

#include "engine/search/search_context.h"
#include "engine/search/transposition_table.h"

namespace kaimo {

// The whole progress scale of one computer move.
constexpr int kProgressSpan = 1000000000;

struct SearchJob {
  SearchContext context;
  const Board* board;  // read only; the window leaves it alone while the worker runs
  int side;
  int depth;
  int winDepth;
  int progressSpan;
};

// One side's settings as the driver consumes them.
struct SideSettings {
  int routine;  // row of the routine table; 0 (human) never reaches the driver
  int normalDepth;
  int exactDepth;
  int winDepth;
  int probCut;  // carried, without effect
  int cutValue;
  int probCutA;
  int probCutB;
};

int chooseDepth(int normalDepth, int exactDepth, int winDepth, int empties);
int solverDepthFor(int depth, int empties);
int hashDepthFor(int depth, int empties);
int orderDepthFor(int depth, int empties);

void prepareSearch(SearchContext& context, int rootEmpties, EvalFunc evaluate, StopFunc shouldStop,
                   ProgressFunc progress, int progressDepth, int probCut, int cutValue, int probCutA, int probCutB,
                   int solverDepth, int hashDepth, int clearAllowed, int orderDepth);

void prepareSearchJob(SearchJob& job, const Board& board, int side, int depth, int winDepth, EvalFunc evaluate,
                      StopFunc shouldStop, ProgressFunc progress, int progressDepth, int probCut, int cutValue,
                      int probCutA, int probCutB, int solverDepth, int hashDepth, int clearAllowed, int orderDepth);

// Fills `job` as a computer turn does: the depth rules for the board's empty
// squares, progressDepth = depth - 2, clearAllowed = 1, ProbCut off, and the
// evaluation of the side's routine.
void prepareComputerMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                         StopFunc shouldStop, ProgressFunc progress);

// The value of the position for `side`, SCORE_NO_MOVE when it has no move, or
// a marker above SCORE_INF. After a value, context.bestMove is the square.
int searchRoot(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context,
               int progressBase, int progressSpan);

// Empties and hands out the process-wide table (created on first use; null
// when creation failed, and the next call tries again).
MapHeader* acquireTable();
void releaseTable();
// Wipes an entry's bounds and tried marks, keeping `middle` and `key`; the
// shape of a kr_mapApplyAll callback.
void resetEntry(void* entry, int* status);

}  // namespace kaimo
