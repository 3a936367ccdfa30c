// The engine's entry for everybody who wants a move or a value: the depth
// rule, the context set-up and the root search.
#pragma once

#include <functional>

#include "engine/search/search_context.h"
#include "engine/search/search_table.h"
#include "engine/search/side_settings.h"

namespace kaimo {

// The whole progress scale of one computer move.
constexpr int kProgressSpan = 1000000000;

// One computer move: the context, and the evaluators and table it owns.
struct SearchJob {
  SearchContext context;
  const Board* board;  // read only; the window leaves it alone while the worker runs
  int side;
  int depth;
  int winDepth;
  ReadKind read;  // what the computer move asks of the search (readComputerMove)
  int progressSpan;
  Evaluator evaluator;
  Evaluator orderer;  // "狐", ordering a read to the end (see orderReadsWith)
  SearchTable table;
};

// The search depth of a side with these settings at `empties` empty
// squares (SideSettings::depthFor).
int chooseDepth(int normalDepth, int exactDepth, int winDepth, int empties);

// Fills `context` for a new search with the caller's evaluator (which must
// outlive the search), stop request, progress report and table (null: none).
// The table forgets what an earlier search stored.
void prepareSearch(SearchContext& context, const Evaluator& evaluator, std::stop_token stop, SearchProgress* progress,
                   int progressDepth, SearchTable* table);
void prepareSearch(SearchContext&, const Evaluator&&, std::stop_token, SearchProgress*, int, SearchTable*) = delete;

// Lets the evaluation of `orderer` order the upper plies of the context's
// reads to the end, when it is "狐" with its data; otherwise they stay
// ordered from the masks alone. `orderer` must outlive the search.
void orderReadsWith(SearchContext& context, const Evaluator& orderer);
void orderReadsWith(SearchContext&, const Evaluator&&) = delete;

// Fills `job` for a search of `depth` plies with the job's own evaluator and
// table: an exact read when the depth reaches the end, else a normal read.
void prepareSearchJob(SearchJob& job, const Board& board, int side, int depth, int winDepth, Evaluator evaluator,
                      std::stop_token stop, SearchProgress* progress, int progressDepth);

// Fills `job` as a computer turn does: the depth rule for the board's empty
// squares, progress from the nodes two plies below the root, `evaluator`
// (the side's routine's unless the caller has another), `threads`
// searching the tree together (see SearchTeam), and ProbCut when the side's
// switch is on and the evaluator is "狐" with a table in its folder. A read
// to the end is ordered by "狐": `evaluator` when it is "狐", else the
// program's data of "狐" (when they are missing, from the masks alone).
void prepareComputerMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                         Evaluator evaluator, std::stop_token stop, SearchProgress* progress, int threads = 1);
void prepareComputerMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                         std::stop_token stop, SearchProgress* progress, int threads = 1);

// The value of the position for `side`, fail-soft in (alpha, beta);
// SCORE_NO_MOVE when it has no move, or a marker above SCORE_INF (stopped,
// or the evaluation failed). After a value, context.bestMove is the square
// (-1 when no move rose above alpha). Progress runs from progressBase to
// progressBase + progressSpan.
int searchRoot(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context, int progressBase,
               int progressSpan);

// Reads the position to depth 1, 2, ... up to `maxDepth`, each read with the
// full window, each ordered by what the ones before left in the table, and
// tells `onDepth` each finished depth's value and move. Returns the value of
// the last read, SCORE_NO_MOVE when `side` has no move, or the marker of a
// read the context stopped (what onDepth heard before stays valid).
using DepthFinished = std::function<void(int depth, int value, int move)>;
int searchDeepening(const Board& board, int side, int maxDepth, SearchContext& context, const DepthFinished& onDepth);

}  // namespace kaimo
