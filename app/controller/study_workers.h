// The study commands' jobs on a Worker: the endgame analysis solves every
// legal move of a position to the end, the hint values every legal move as
// deep as a computer turn of the side would read. Both report the values
// found so far as each move is done, and return the whole set.
#pragma once

#include <stop_token>

#include "app/controller/worker.h"
#include "engine/eval/evaluator.h"
#include "engine/search/endgame_analysis.h"
#include "engine/search/search_driver.h"

namespace kaimo {

// SCORE_NONE on every square.
SquareValues noSquareValues();

struct ValuesProgress {
  SquareValues values = noSquareValues();  // SCORE_NONE where not a move or not valued yet
  int done = 0;                            // moves valued
};

struct ValuesResult {
  SquareValues values = noSquareValues();
  bool evalFailed = false;  // the evaluation failed: the values end there, and the window says so
};

using ValuesWorker = Worker<ValuesProgress, ValuesResult>;

// Copies of what the analysis reads: the window may change its own board at once.
struct AnalysisJob {
  Board board;
  int side;
  Evaluator evaluator;  // scores what a read cannot take to the end
  Evaluator orderer;    // "狐", ordering the reads (see AnalysisSetup)
};

// Values from `side`'s point of view.
ValuesResult analyse(const AnalysisJob& job, std::stop_token stop, ValuesWorker::Exchange& exchange);

struct HintJob {
  Board board;
  int side;
  SideSettings settings;  // the side's: its routine and depths
};

ValuesResult hint(const HintJob& job, std::stop_token stop, ValuesWorker::Exchange& exchange);

}  // namespace kaimo
