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
// move or not yet solved), moves done and the total of legal moves.
using AnalysisProgressFunc = void (*)(const SquareValues& values, int done, int total, void* user);

struct AnalysisResult {
  int last;                 // the last search result: above SCORE_INF when stopped or failed
  std::int64_t leafCount;   // leaves of all the searches
};

// Solves every legal move of `side` in square order with the evaluation
// `evaluate` (which only scores positions the read cannot reach the end of,
// after a pass runs out of plies). Values are from `side`'s point of view.
// Stops early when `shouldStop` asks or the evaluation fails; the values found
// so far stay in `values`. A position with kAnalysisEmptyLimit or more empty
// squares is refused: no values, and `last` is SCORE_NONE.
AnalysisResult analyzeEndgame(const Board& board, int side, EvalFunc evaluate, StopFunc shouldStop,
                              SquareValues& values, AnalysisProgressFunc onProgress, void* user);

}  // namespace kaimo
