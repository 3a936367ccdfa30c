// The exact result of every legal move of a position: what the endgame
// analysis command writes on the board and `kaimo-cli analyze` prints.
#pragma once

#include <array>
#include <cstdint>

#include "engine/search/search_context.h"

namespace kaimo {

// Positions with this many empty squares or more are refused.
constexpr int kAnalysisEmptyLimit = 40;

using SquareValues = std::array<int, kSquareCount>;

// Called after each solved move: the values so far (SCORE_NONE where not a
// move or not yet solved), moves done and the total of legal moves. The
// moves are solved by two workers, and each calls from its own thread with
// no lock held: two calls may overlap or arrive out of turn (the one with
// more moves done is the newer), each with its own copy of the values.
using AnalysisProgressFunc = void (*)(const SquareValues& values, int done, int total, void* user);

struct AnalysisResult {
  int last;                 // the last search result: above SCORE_INF when stopped or failed
  std::int64_t leafCount;   // leaves of all the searches
  std::int64_t nodeCount;   // positions of all the searches
};

// Solves every legal move of `side` exactly, two moves at a time on two
// threads, each thread keeping its table from one move to its next. Values
// are from `side`'s point of view. `evaluator` is the routine the analysis
// stands for; a read to the end never calls it. Stops early when `stop` is
// requested; the values found so far stay in `values`. A position with
// kAnalysisEmptyLimit or more empty squares is refused: no values, and
// `last` is SCORE_NONE.
AnalysisResult analyzeEndgame(const Board& board, int side, const Evaluator& evaluator, std::stop_token stop,
                              SquareValues& values, AnalysisProgressFunc onProgress, void* user);

}  // namespace kaimo
