// A search run the way a computer turn runs it, for the search and bench
// subcommands.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/board/board.h"
#include "engine/search/computer_read.h"
#include "engine/search/move_clock.h"
#include "engine/search/search_driver.h"
#include "tools/common/option_syntax.h"

namespace kaimo::tools {

struct TurnResult {
  int value;  // for the side to move; SCORE_NO_MOVE or a marker as the driver returns them
  int move;   // the chosen square, -1 when there is none
  int depth;  // of the read that chose the move (with a time limit: the deepest finished)
  std::int64_t leaves;
  std::int64_t msec;     // elapsed
  std::int64_t cpuMsec;  // processor time of the process: steady on a busy machine
  std::int64_t nodes;    // positions searched, leaves included
  bool toEnd;            // a read to the end (the exact-read or win-read depth covered the position)
  // What a win/loss read proved (the win-read depth covered the position,
  // the exact-read depth did not); after a win `value` is only a bound.
  std::optional<Verdict> verdict;
};

// The settings a new side starts with: a normal read of 6 plies, exact from
// 13 empty squares, no win/loss read.
constexpr int kDefaultNormalDepth = 6;
constexpr int kDefaultExactDepth = 13;
constexpr int kDefaultWinDepth = 0;
// ProbCut, when it is asked for: the values of the settings file's defaults
// for black (confidence 1.5 deviations, nodes up to 15 plies deep, none at 15
// empty squares or fewer).
constexpr int kDefaultCutValue = 1500;
constexpr int kDefaultCutDepth = 15;
constexpr int kDefaultCutEmpties = 15;

// Computer turns one after another, each searched as the window's computer
// searches a turn: the depth rule, no stop and no progress report. One table
// serves all the turns (a new search ignores what the last one stored), so a
// match, a self-play run or the bench suite keeps one searcher for all of
// them. The table is made at the first turn: a searcher made before the
// process pool forks costs nothing, and each process gets its own.
class TurnSearcher {
 public:
  // The leaves scored by `evaluator`, by default the routine's own;
  // `threads` searching together (one: the same leaves and move on every
  // run). With `msPerMove` above 0 a normal read deepens ply by ply, up to
  // the normal depth, and plays the move of the deepest read that finished
  // within that much processor time of the process (at least one ply; with
  // two threads the time runs out twice as fast); a read to the end is not
  // timed.
  TurnResult play(const Board& board, int side, const SideSettings& settings, const Evaluator& evaluator,
                  int msPerMove = 0, int threads = 1);
  TurnResult play(const Board& board, int side, const SideSettings& settings);
  // A move within `budget` (move_clock.h) of the process's processor time,
  // as a side with a clock plays it: deeper reads while they fit, a read to
  // the end when the budget says so, the last finished read's move at the
  // hard limit.
  TurnResult playWithin(const Board& board, int side, const SideSettings& settings, const Evaluator& evaluator,
                        const MoveBudget& budget, int threads = 1);

 private:
  std::unique_ptr<SearchJob> job_;
};

// Plays on from `board` with `side` to move until neither side can move
// (passes implied), each move the square chooseMove(board, side) gives; -1
// there means the choice failed. The final board, or nothing when a choice
// failed or was no legal move; `moves`, when given, gets the squares played.
std::optional<Board> playToTheEnd(Board board, int side, const std::function<int(const Board&, int)>& chooseMove,
                                  std::vector<int>* moves = nullptr);

// A computer routine by name or index ("狸", "2"); throws UsageError for a
// human or an unknown routine.
int routineFromArgument(const std::string& text);
// The declaration of an option that names a routine (--routine NAME|INDEX),
// read by routineFromArgument.
OptionSyntax routineOption(const char* name, const char* fallback, const char* help);

// Thousands of leaves per second.
std::int64_t kiloLeavesPerSecond(std::int64_t leaves, std::int64_t msec);

// The message the window shows when an evaluation fails.
constexpr const char* kEvalErrorMessage = "評価函数でエラーが起きました。\n詳しくはerrorlog.txtをご覧ください。";

// That message on standard error, with the log's full path when the log is
// not in the current folder.
void printEvalError();

}  // namespace kaimo::tools
