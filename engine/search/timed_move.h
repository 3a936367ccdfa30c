// A computer move within a time budget (move_clock.h): reads one ply
// deeper after another while a deeper read fits the soft budget, reads to
// the end when the budget says it fits, and is stopped at the hard limit,
// playing the move of the last read that finished.
#pragma once

#include <stop_token>

#include "engine/search/move_clock.h"
#include "engine/search/search_deadline.h"
#include "engine/search/search_driver.h"

namespace kaimo {

struct TimedMove {
  int value;   // for the side to move; SCORE_NO_MOVE, or a marker when stopped from outside or failed
  int move;    // -1 when there is none
  int depth;   // of the read that chose the move
  bool toEnd;  // that read went to the end of the game
};

// The move of `side` on `board`, searched in `job` with `settings` (their
// normal depth the deepest a read goes; their exact-read and win-read
// depths still read to the end where they cover the position) and
// `evaluator`, timed on `clock`. A stop of `outer` ends it with SCORE_NONE;
// when no read finished within the hard limit, one ply is read, untimed,
// so there is a move.
TimedMove searchTimedMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                          const Evaluator& evaluator, const MoveBudget& budget, MicrosClock clock,
                          std::stop_token outer, SearchProgress* progress, int threads = 1);

}  // namespace kaimo
