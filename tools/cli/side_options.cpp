#include "tools/cli/side_options.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/settings/strength_levels.h"
#include "engine/eval/routines.h"
#include "engine/search/probcut.h"
#include "tools/common/computer_turn.h"
#include "tools/common/limits.h"

namespace kaimo::cli {
namespace {

// --COLOUR-NAME when given, else --NAME.
std::string optionFor(const Args& args, const std::string& colour, const std::string& name) {
  const std::string own = "--" + colour + "-" + name;
  return !colour.empty() && args.has(own) ? own : "--" + name;
}

int intOption(const Args& args, const std::string& colour, const std::string& name) {
  return args.getInt(optionFor(args, colour, name));
}

void checkClock(const std::string& name, const std::string& value) { parseClock(value, name); }

std::string secondsText(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(ms) / 1000);
  return text;
}

// A level as the window plays it: its depths and ProbCut, and a level by
// time spends its time a move as the window's clock manager does (in
// processor time here).
SideOptions levelOptions(SideOptions side, int level) {
  if (side.msPerMove > 0 || side.clock.timed()) throw UsageError("a level comes with its own time: no --ms or --clock");
  const StrengthLevel& l = strengthLevel(level);
  SideSettings& s = side.settings;
  s.normalDepth = std::min(l.depths.normal, tools::kMaxNormalDepth);
  s.winDepth = l.depths.win;
  s.exactDepth = l.depths.exact;
  s.probCut = l.probCut && routineTable[s.routine].evaluation == Evaluation::Pattern;
  side.clock = TimeControl{.perMoveMs = l.msPerMove};
  side.level = level;
  return side;
}

}  // namespace

TimeControl parseClock(const std::string& text, const std::string& what) {
  const std::size_t plus = text.find('+');
  const double seconds = tools::parseNumber(text.substr(0, plus), what, 0.1, tools::kMaxClockSeconds);
  const double increment =
      plus == std::string::npos ? 0 : tools::parseNumber(text.substr(plus + 1), what, 0, tools::kMaxIncrementSeconds);
  return TimeControl{.gameMs = std::llround(seconds * 1000), .incrementMs = std::llround(increment * 1000)};
}

tools::OptionList sideOptions(bool eachColour) {
  using tools::integerOption;
  tools::OptionList options = {
      integerOption("--depth", "N", tools::kDefaultNormalDepth, 1, tools::kMaxNormalDepth,
                    "normal depth in plies (the deepest with --ms)"),
      integerOption("--exact", "N", tools::kDefaultExactDepth, 0, tools::kMaxReadEmpties,
                    "exact read to the end from N empty squares on"),
      integerOption("--win", "N", tools::kDefaultWinDepth, 0, tools::kMaxReadEmpties,
                    "win read to the end from N empty squares on"),
      integerOption("--ms", "N", 0, 1, tools::kMaxMsPerMove,
                    "processor time per move in ms, deeper reads until it is spent; 0 reads by depth"),
      integerOption("--threads", "N", 1, 1, tools::kMaxSearchThreads, "threads searching one tree"),
      tools::switchOption("--probcut", false, "ProbCut in the reads of 狐"),
      integerOption("--cut", "N", tools::kDefaultCutValue, 0, kMaxCutValue,
                    "ProbCut's confidence in thousandths of a deviation"),
      integerOption("--cut-depth", "N", tools::kDefaultCutDepth, 0, ProbCutTable::kMaxDepth,
                    "the deepest node depth where ProbCut checks"),
      integerOption("--cut-empties", "N", tools::kDefaultCutEmpties, 0, ProbCutTable::kMaxDepth,
                    "empty squares at and below which ProbCut does not check"),
  };
  if (eachColour) {
    options.insert(options.begin() + 4,
                   tools::textOption("--clock", "S[+I]", nullptr,
                                     "a game clock of S seconds of processor time, I more after each move", checkClock));
    options.insert(options.begin(), integerOption("--level", "N", 0, 1, kLevelCount,
                                                  "a level of the window: its depths, ProbCut and time a move"));
    for (tools::OptionSyntax& option : options) option = tools::forEachColour(option);
  }
  return options;
}

SideOptions sideOptionsFrom(const Args& args, const std::string& colour, int routine) {
  SideOptions side;
  side.msPerMove = intOption(args, colour, "ms");
  side.threads = intOption(args, colour, "threads");
  if (!colour.empty() && args.has(optionFor(args, colour, "clock"))) {
    side.clock = parseClock(args.get(optionFor(args, colour, "clock")), optionFor(args, colour, "clock"));
    if (side.msPerMove > 0) throw UsageError("the " + colour + " player has a time per move and a clock: one of them");
  }
  SideSettings& s = side.settings;
  s.routine = routine;
  if (!colour.empty() && args.has(optionFor(args, colour, "level"))) return levelOptions(side, intOption(args, colour, "level"));
  const bool timed = side.msPerMove > 0 || side.clock.timed();
  const int depthFallback = timed ? tools::kMaxNormalDepth : tools::kDefaultNormalDepth;
  s.normalDepth = args.givenInt(optionFor(args, colour, "depth")).value_or(depthFallback);
  s.exactDepth = intOption(args, colour, "exact");
  s.winDepth = intOption(args, colour, "win");
  s.probCut = args.isOn(optionFor(args, colour, "probcut"));
  if (s.probCut && routineTable[routine].evaluation != Evaluation::Pattern) {
    throw UsageError("ProbCut is for 狐 (its table is fitted to the searches of 狐), not for " +
                     std::string(routineTable[routine].name));
  }
  s.cutValue = intOption(args, colour, "cut");
  s.probCutMaxDepth = intOption(args, colour, "cut-depth");
  s.probCutAboveEmpties = intOption(args, colour, "cut-empties");
  return side;
}

std::string describeSide(const SideOptions& side) {
  const SideSettings& s = side.settings;
  std::string text = std::string(routineTable[s.routine].name) + " (";
  if (side.level > 0) text += "level " + std::to_string(side.level) + ", ";
  text += "depth " + std::to_string(s.normalDepth) +
                     ", exact " + std::to_string(s.exactDepth) + ", win " + std::to_string(s.winDepth);
  if (side.msPerMove > 0) text += ", " + std::to_string(side.msPerMove) + " ms";
  if (side.clock.perMoveMs > 0) text += ", " + secondsText(side.clock.perMoveMs) + " s a move";
  if (side.clock.isClock()) {
    text += ", clock " + secondsText(side.clock.gameMs);
    if (side.clock.incrementMs > 0) text += "+" + secondsText(side.clock.incrementMs);
    text += " s";
  }
  if (side.threads > 1) text += ", " + std::to_string(side.threads) + " threads";
  if (s.probCut) {
    text += ", ProbCut " + std::to_string(s.cutValue) + "/" + std::to_string(s.probCutMaxDepth) + "/" +
            std::to_string(s.probCutAboveEmpties);
  }
  return text + ")";
}

}  // namespace kaimo::cli
