// The steps of kaimo-train, in the order its usage lists them.
#include "tools/train/train_commands.h"
#include "tools/train/train_options.h"

namespace kaimo::train {
namespace {

using tools::Subcommand;

const Subcommand kSteps[] = {
    {"tables", runTables, tablesSyntax}, {"sums", runSums, sumsSyntax},
    {"games", runGames, gamesSyntax},    {"label", runLabel, labelSyntax},
    {"fit", runFit, fitSyntax},          {"probcut", runProbCut, probCutSyntax},
    {"book", runBook, bookSyntax},       {"accuracy", runAccuracy, accuracySyntax},
};

}  // namespace

const tools::Program kTrainProgram{kProgram, kSteps, nullptr};

}  // namespace kaimo::train
