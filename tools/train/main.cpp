// kaimo-train: makes the evaluation data of "狐" (index tables and stage
// weights) from self-play games of the program's own engine.
#include "engine/board/processor_check.h"
#include "support/kr/kr_error.h"
#include "tools/common/subcommands.h"
#include "tools/train/train_commands.h"

namespace {

using kaimo::tools::Subcommand;

const Subcommand kSteps[] = {
    {"tables", kaimo::train::runTables, "tables --out DIR"},
    {"sums", kaimo::train::runSums, "sums --dir DIR"},
    {"games", kaimo::train::runGames, "games --dir DIR --games N [--seed S] [--jobs N] [--routine NAME] [--depth N] [--exact N] ..."},
    {"label", kaimo::train::runLabel, "label --dir DIR [--min E] [--max E] [--per-game N] [--jobs N]"},
    {"fit", kaimo::train::runFit, "fit --dir DIR --out DIR [--stages A-B] [--epochs N] [--l2 X] [--jobs N] [--force 1]"},
    {"probcut", kaimo::train::runProbCut, "probcut --dir DIR --out DIR [--depth D] [--per-game N] [--jobs N] [--shard K/N] ..."},
    {"book", kaimo::train::runBook, "book --dir DIR --rounds N [--leaves N] [--depth N] [--jobs N] [--shard K/N]"},
    {"accuracy", kaimo::train::runAccuracy, "accuracy --dir DIR --data DIR [--min E] [--max E]"},
};

}  // namespace

int main(int argc, char** argv) {
  kaimo::requireBuildProcessor();
  // The logs go where the settings file goes: see support/paths.
  kr_useProgramLogFolder();
  const kaimo::tools::Program program{"kaimo-train", kSteps, nullptr};
  return kaimo::tools::runProgram(program, argc, argv);
}
