#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "tools/cli/commands.h"
#include "tools/cli/position_args.h"

namespace kaimo::cli {

const CommandSyntax& evalSyntax() {
  static const CommandSyntax syntax{kProgram, "eval", "[position]", positionOptions()};
  return syntax;
}

int runEval(const Words& words, std::FILE* out) {
  const Args args = Args::parse(evalSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  const Position position = positionFrom(args);
  bool failed = false;
  for (int i = kSimpleRoutine; i < routineCount(); ++i) {
    DiscCounts counts;
    boardCount(position.board, counts);
    const int value = routineEvaluator(i).evaluate(position.board, 0, position.side, counts);
    if (isMarker(value)) {
      std::fprintf(out, "%s error\n", routineTable[i].name);
      failed = true;
    } else {
      std::fprintf(out, "%s %+.2lf\n", routineTable[i].name, value / 1000.0);
    }
  }
  return failed ? 1 : 0;
}

}  // namespace kaimo::cli
