// A search run the way a computer turn runs it, for the search and bench
// subcommands.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/board/board.h"
#include "engine/search/search_driver.h"

namespace kaimo::tools {

struct TurnResult {
  int value;  // for the side to move; SCORE_NO_MOVE or a marker as the driver returns them
  int move;   // the chosen square, -1 when there is none
  int depth;
  std::int64_t leaves;
  std::int64_t msec;     // elapsed
  std::int64_t cpuMsec;  // processor time of the searching thread: steady on a busy machine
  std::int64_t nodes;    // positions searched, leaves included
};

// The settings a new side starts with: a normal read of 6 plies, exact from
// 13 empty squares, no win/loss read.
constexpr int kDefaultNormalDepth = 6;
constexpr int kDefaultExactDepth = 13;
constexpr int kDefaultWinDepth = 0;

// Computer turns one after another, each searched as the window's computer
// searches a turn: the depth rule, no stop and no progress report. One table
// serves all the turns (a new search ignores what the last one stored), so a
// match, a self-play run or the bench suite keeps one searcher for all of
// them. The table is made at the first turn: a searcher made before the
// process pool forks costs nothing, and each process gets its own.
class TurnSearcher {
 public:
  // The leaves scored by `evaluator`, by default the routine's own.
  TurnResult play(const Board& board, int side, const SideSettings& settings, const Evaluator& evaluator);
  TurnResult play(const Board& board, int side, const SideSettings& settings);

 private:
  std::unique_ptr<SearchJob> job_;
};

// A computer routine by name or index ("狸", "2"); throws UsageError for a
// human or an unknown routine.
int routineFromArgument(const std::string& text);

// Thousands of leaves per second.
std::int64_t kiloLeavesPerSecond(std::int64_t leaves, std::int64_t msec);

// The message the window shows when an evaluation fails.
constexpr const char* kEvalErrorMessage = "評価函数でエラーが起きました。\n詳しくはerrorlog.txtをご覧ください。";

// That message on standard error, with the log's full path when the log is
// not in the current folder.
void printEvalError();

}  // namespace kaimo::tools
