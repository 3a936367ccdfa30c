// The subcommands of kaimo-cli, in the order its usage lists them.
#include "tools/cli/commands.h"

namespace kaimo::cli {
namespace {

using tools::Subcommand;

const Subcommand kSubcommands[] = {
    {"perft", runPerft, perftSpec},    {"eval", runEval, evalSpec},          {"record", runRecord, recordShowSpec},
    {"search", runSearch, searchSpec}, {"analyze", runAnalyze, analyzeSpec}, {"review", runReview, reviewSpec},
    {"bench", runBench, benchSpec},    {"match", runMatch, matchSpec},       {"book", runBook, bookShowSpec},
    {"book", runBook, bookCheckSpec},
};

}  // namespace

const tools::Program kCliProgram{kProgram, kSubcommands,
                                 "position: --moves d5d4d3c3 | --board FILE|- [--side black|white] | --record FILE"};

}  // namespace kaimo::cli
