// The subcommands of kaimo-cli, in the order its usage lists them.
#include "tools/cli/commands.h"

namespace kaimo::cli {
namespace {

using tools::Subcommand;

const Subcommand kSubcommands[] = {
    {"perft", runPerft, perftSyntax},        {"eval", runEval, evalSyntax},
    {"record", runRecord, recordShowSyntax}, {"search", runSearch, searchSyntax},
    {"analyze", runAnalyze, analyzeSyntax},  {"review", runReview, reviewSyntax},
    {"bench", runBench, benchSyntax},        {"match", runMatch, matchSyntax},
    {"book", runBook, bookShowSyntax},       {"book", runBook, bookCheckSyntax},
};

}  // namespace

const tools::Program kCliProgram{kProgram, kSubcommands,
                                 "position: --moves d5d4d3c3 | --board FILE|- [--side black|white] | --record FILE"};

}  // namespace kaimo::cli
