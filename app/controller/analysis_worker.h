// The worker of the endgame analysis: solves every legal move of a position
// to the end on its own thread, publishing each value as soon as it is known
// and the share of moves done, and posts the whole set when it is done or
// stopped. Like the think worker it talks only to the exchange.
#pragma once

#include "engine/board/board.h"
#include <stop_token>

#include "engine/eval/evaluator.h"
#include "engine/search/search_driver.h"

namespace kaimo {

struct AnalysisJob {
  Board board;          // a copy: the window may change its own board at once
  int side;             // the colour to move in it
  Evaluator evaluator;  // scores what a read cannot take to the end
  std::stop_token stop;
};

// Values from `side`'s point of view, SCORE_NONE where no legal move or not
// solved. An evaluation failure is flagged for the window thread to show.
void analysisWorker(AnalysisJob* job);

}  // namespace kaimo
