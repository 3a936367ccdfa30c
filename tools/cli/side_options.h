// The options that set up a computer side for `search` and `match`: depths,
// time per move (and for `match` a game clock), threads and ProbCut. `match` takes each as --NAME for both sides and
// --black-NAME / --white-NAME for one, the colour's overriding the common.
#pragma once

#include <string>

#include "engine/search/move_clock.h"
#include "engine/search/search_driver.h"
#include "tools/cli/commands.h"

namespace kaimo::cli {

struct SideOptions {
  SideSettings settings;
  int msPerMove = 0;    // 0: read to the normal depth
  TimeControl clock{};  // a game clock or a level's time a move (processor time), or none
  int threads = 1;      // searching one tree together
  int level = 0;        // the window's level it plays as, or 0
};

// The options sideOptionsFrom reads; `eachColour` declares each also as
// --black-NAME and --white-NAME, and the game clock --clock (of `match`).
tools::OptionList sideOptions(bool eachColour);

// Depths, time, threads and ProbCut of one side of `routine` (`colour`
// "black" or "white" in a match, empty for one search). With a time per
// move or a clock and no depth given, the normal depth is the deepest a
// tool accepts. ProbCut is refused for a routine other than "狐", and a
// time per move together with a clock for one side. A level (--level N)
// sets the side as the window's level N plays, replacing its depths,
// ProbCut and time; ProbCut only for "狐".
SideOptions sideOptionsFrom(const Args& args, const std::string& colour, int routine);

// A clock as `--clock` gives it: "S" or "S+I", seconds on the clock and
// seconds added after each move, decimals allowed; UsageError naming
// `what` when wrong.
TimeControl parseClock(const std::string& text, const std::string& what);

// "狐 (depth 6, exact 13, win 0, 100 ms, 2 threads, ProbCut 1500/15/15)";
// a clock shows as "clock 20+0.5 s".
std::string describeSide(const SideOptions& side);

}  // namespace kaimo::cli
