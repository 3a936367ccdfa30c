// kaimo-cli: the engine from the command line.
#include "engine/board/processor_check.h"
#include "support/kr/kr_error.h"
#include "tools/cli/commands.h"
#include "tools/common/subcommands.h"

namespace {

using kaimo::tools::Subcommand;

const Subcommand kSubcommands[] = {
    {"perft", kaimo::cli::runPerft, "perft DEPTH [position]"},
    {"eval", kaimo::cli::runEval, "eval [position]"},
    {"record", kaimo::cli::runRecord, "record show FILE"},
    {"search", kaimo::cli::runSearch, "search [position] [--routine NAME|INDEX] [--depth N] [--exact N] [--win N]"},
    {"analyze", kaimo::cli::runAnalyze, "analyze [position]"},
    {"review", kaimo::cli::runReview, "review --record FILE [--depth N] [--exact N]"},
    {"bench", kaimo::cli::runBench, "bench [--suite FILE]"},
    {"match", kaimo::cli::runMatch, "match --black NAME --white NAME [--depth N] [--exact N] [--win N] [--black-depth N ...] [--book on|off] [--black-book on|off ...] [--games N] [--jobs N] [--seed S] [--plies N]"},
    {"book", kaimo::cli::runBook, "book show [position] [--book FILE] | book check [--positions N] [--depth N] [--jobs N]"},
};

}  // namespace

int main(int argc, char** argv) {
  kaimo::requireBuildProcessor();
  // The logs go where the settings file goes: see support/paths.
  kr_useProgramLogFolder();
  const kaimo::tools::Program program{
      "kaimo-cli", kSubcommands, "position: --moves d5d4d3c3 | --board FILE|- [--side black|white] | --record FILE"};
  return kaimo::tools::runProgram(program, argc, argv);
}
