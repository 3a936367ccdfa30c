#include "tools/cli/side_options.h"

#include "engine/eval/routines.h"
#include "engine/search/probcut.h"
#include "tools/common/computer_turn.h"
#include "tools/common/limits.h"

namespace kaimo::cli {
namespace {

const char* const kSideNames[] = {"depth", "exact", "win", "ms", "probcut", "cut", "cut-depth", "cut-empties"};

// --COLOUR-NAME when given, else --NAME.
std::string optionFor(const Args& args, const std::string& colour, const std::string& name) {
  const std::string own = "--" + colour + "-" + name;
  return !colour.empty() && args.has(own) ? own : "--" + name;
}

int intOption(const Args& args, const std::string& colour, const std::string& name, int fallback, int low, int high) {
  return args.getInt(optionFor(args, colour, name), fallback, low, high);
}

bool switchOption(const Args& args, const std::string& colour, const std::string& name) {
  const std::string option = optionFor(args, colour, name);
  const std::string value = args.get(option, "off");
  if (value != "on" && value != "off") throw UsageError(option + " must be on or off, not '" + value + "'");
  return value == "on";
}

}  // namespace

std::set<std::string> sideOptionNames(const std::string& colour) {
  std::set<std::string> names;
  for (const char* name : kSideNames) {
    names.insert(std::string("--") + name);
    if (!colour.empty()) names.insert("--" + colour + "-" + name);
  }
  return names;
}

SideOptions sideOptionsFrom(const Args& args, const std::string& colour, int routine) {
  SideOptions side;
  side.msPerMove = intOption(args, colour, "ms", 0, 1, tools::kMaxMsPerMove);
  SideSettings& s = side.settings;
  s.routine = routine;
  const int depthFallback = side.msPerMove > 0 ? tools::kMaxNormalDepth : tools::kDefaultNormalDepth;
  s.normalDepth = intOption(args, colour, "depth", depthFallback, 1, tools::kMaxNormalDepth);
  s.exactDepth = intOption(args, colour, "exact", tools::kDefaultExactDepth, 0, tools::kMaxReadEmpties);
  s.winDepth = intOption(args, colour, "win", tools::kDefaultWinDepth, 0, tools::kMaxReadEmpties);
  s.probCut = switchOption(args, colour, "probcut") ? 1 : 0;
  if (s.probCut != 0 && routineTable[routine].evaluation != Evaluation::Pattern) {
    throw UsageError("ProbCut is for 狐 (its table is fitted to the searches of 狐), not for " +
                     std::string(routineTable[routine].name));
  }
  s.cutValue = intOption(args, colour, "cut", tools::kDefaultCutValue, 0, kMaxCutValue);
  s.probCutA = intOption(args, colour, "cut-depth", tools::kDefaultCutDepth, 0, ProbCutTable::kMaxDepth);
  s.probCutB = intOption(args, colour, "cut-empties", tools::kDefaultCutEmpties, 0, ProbCutTable::kMaxDepth);
  return side;
}

std::string describeSide(const SideOptions& side) {
  const SideSettings& s = side.settings;
  std::string text = std::string(routineTable[s.routine].name) + " (depth " + std::to_string(s.normalDepth) +
                     ", exact " + std::to_string(s.exactDepth) + ", win " + std::to_string(s.winDepth);
  if (side.msPerMove > 0) text += ", " + std::to_string(side.msPerMove) + " ms";
  if (s.probCut != 0) {
    text += ", ProbCut " + std::to_string(s.cutValue) + "/" + std::to_string(s.probCutA) + "/" +
            std::to_string(s.probCutB);
  }
  return text + ")";
}

}  // namespace kaimo::cli
