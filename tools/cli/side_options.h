// The options that set up a computer side for `search` and `match`: depths,
// time per move, threads and ProbCut. `match` takes each as --NAME for both sides and
// --black-NAME / --white-NAME for one, the colour's overriding the common.
#pragma once

#include <string>

#include "engine/search/search_driver.h"
#include "tools/cli/commands.h"

namespace kaimo::cli {

struct SideOptions {
  SideSettings settings;
  int msPerMove = 0;  // 0: read to the normal depth
  int threads = 1;    // searching one tree together
};

// The options sideOptionsFrom reads; `eachColour` declares each also as
// --black-NAME and --white-NAME.
tools::OptionList sideOptions(bool eachColour);

// Depths, time, threads and ProbCut of one side of `routine`. With a time per move
// and no depth given, the normal depth is the deepest a tool accepts.
// ProbCut is refused for a routine other than "狐".
SideOptions sideOptionsFrom(const Args& args, const std::string& colour, int routine);

// "狐 (depth 6, exact 13, win 0, 100 ms, 2 threads, ProbCut 1500/15/15)".
std::string describeSide(const SideOptions& side);

}  // namespace kaimo::cli
