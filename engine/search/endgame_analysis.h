// The exact result of every legal move of a position: what the endgame
// analysis command writes on the board and `kaimo-cli analyze` prints.
#pragma once

#include <array>
#include <cstdint>

#include "engine/search/search_context.h"
#include "engine/search/search_table.h"
#include "engine/search/search_team.h"

namespace kaimo {

// Positions with this many empty squares or more are refused.
constexpr int kAnalysisEmptyLimit = 40;

using SquareValues = std::array<int, kSquareCount>;

// Called after each solved move: the values so far (SCORE_NONE where not a
// move or not yet solved), moves done and the total of legal moves. The
// moves are solved by several threads, and each calls from its own thread
// with no lock held: two calls may overlap or arrive out of turn (the one
// with more moves done is the newer), each with its own copy of the values.
using AnalysisProgressFunc = void (*)(const SquareValues& values, int done, int total, void* user);

struct AnalysisResult {
  int last;                // the last search result: above SCORE_INF when stopped or failed
  std::int64_t leafCount;  // leaves of all the searches
  std::int64_t nodeCount;  // positions of all the searches
};

// What an analysis works with besides the position.
struct AnalysisSetup {
  // Kept by the caller from one analysis to the next (a new analysis
  // forgets what it holds at no cost); null: a table of its own.
  SearchTable* table = nullptr;
  // "狐", whose evaluation orders the upper plies of the reads; null, or
  // without its data: ordered from the masks alone.
  const Evaluator* orderer = nullptr;
  int threads = defaultSearchThreads();
  // Only whether each move wins, draws or loses: every move read in the
  // window -1..+1, far cheaper than its margin. A value is then right only
  // by its sign: above 0 a win, 0 a draw, below 0 a loss.
  bool winLoss = false;
};

// Solves every legal move of `side` exactly: the threads take the moves one
// at a time, and a thread without a move left helps the others inside
// theirs; they share one table. Values are from `side`'s point of view.
// `evaluator` is the routine the analysis stands for; a read to the end
// never calls it. Stops early when `stop` is requested; the values found so
// far stay in `values`. A position with kAnalysisEmptyLimit or more empty
// squares is refused: no values, and `last` is SCORE_NONE.
AnalysisResult analyzeEndgame(const Board& board, int side, const Evaluator& evaluator, std::stop_token stop,
                              SquareValues& values, AnalysisProgressFunc onProgress, void* user,
                              const AnalysisSetup& setup = {});

}  // namespace kaimo
