// The evaluation of "狐" through the one process-wide pattern evaluator.
#pragma once

#include <cstdio>

#include "engine/board/board.h"
#include "engine/eval/pattern_evaluator.h"

namespace kaimo {

// The process-wide evaluator. It is built at its first use, reading its data
// from the folder paths::dataFolder finds (the current folder, else the
// installed copy beside the program), and lives until the process ends; its
// stage weights are freed at exit. A program that never evaluates with "狐"
// (perft, say) never reads its files or writes to its error log.
PatternEvaluator& patternEvaluator();

// Where the evaluator, once built, writes its "jMax = N" line: the window
// announces it on standard output, the command-line tools nowhere (the
// default). Set it before the first use.
void setPatternAnnouncement(std::FILE* stream);

// Makes the evaluator, once built, hold every stage's weights (84 MB) instead
// of the three most recently used: for the command-line tools, whose games
// cross every stage again and again. Call it before the first use.
void holdEveryPatternStage();

// An EvalFunc (row "狐" of the routine table); safe from several threads.
int evalPattern(const Board& board, int finalFlag, int side, DiscCounts& counts);

}  // namespace kaimo
