#include <cinttypes>

#include "engine/board/notation.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "tools/cli/commands.h"
#include "tools/cli/position_args.h"
#include "tools/cli/side_options.h"
#include "tools/common/computer_turn.h"
#include "tools/common/limits.h"

namespace kaimo::cli {

const CommandSyntax& searchSyntax() {
  static const CommandSyntax syntax{
      kProgram, "search", "[position]",
      tools::joinOptions(
          {positionOptions(),
           {tools::routineOption("--routine", routineTable[kSimpleRoutine].name, "the computer routine that searches")},
           sideOptions(false)})};
  return syntax;
}

int runSearch(const Words& words, std::FILE* out) {
  const Args args = Args::parse(searchSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  const int routine = tools::routineFromArgument(args.get("--routine"));
  const SideOptions side = sideOptionsFrom(args, "", routine);
  const Position position = positionFrom(args);

  const tools::TurnResult result = tools::TurnSearcher().play(position.board, position.side, side.settings,
                                                              routineEvaluator(routine), side.msPerMove, side.threads);
  if (result.value == SCORE_EVAL_ERROR) {
    tools::printEvalError();
    return 1;
  }
  std::fprintf(out, "move %s value ", squareName(result.move).c_str());
  if (result.value == SCORE_NO_MOVE) {
    std::fprintf(out, "none");
  } else if (result.verdict && *result.verdict != Verdict::Loss) {
    // A proven win is only a bound; a loss was read again for its margin.
    std::fprintf(out, "%s", verdictWord(*result.verdict));
  } else {
    std::fprintf(out, "%+.2lf", result.value / 1000.0);
  }
  std::fprintf(out, " depth %d leaves %" PRId64 " msec %" PRId64 " kleaf/s %" PRId64 "\n", result.depth, result.leaves,
               result.msec, tools::kiloLeavesPerSecond(result.leaves, result.msec));
  return 0;
}

}  // namespace kaimo::cli
