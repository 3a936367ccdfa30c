// The evaluation of "狐" through the one process-wide pattern evaluator.
#pragma once

#include "engine/board/board.h"
#include "engine/eval/pattern_evaluator.h"

namespace kaimo {

// The process-wide evaluator. It is built before main, reading its data from
// the folder paths::dataFolder finds (the current folder, else the installed
// copy beside the program), and lives until the process ends; its stage
// weights are freed at exit.
PatternEvaluator& patternEvaluator();

// An EvalFunc (row "狐" of the routine table); safe from several threads.
int evalPattern(const Board& board, int finalFlag, int side, DiscCounts& counts);

}  // namespace kaimo
