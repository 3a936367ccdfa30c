// The steps of kaimo-train, in the order its usage lists them.
#include "tools/train/train_commands.h"
#include "tools/train/train_options.h"

namespace kaimo::train {
namespace {

using tools::Subcommand;

const Subcommand kSteps[] = {
    {"tables", runTables, tablesSpec}, {"sums", runSums, sumsSpec},
    {"games", runGames, gamesSpec},    {"label", runLabel, labelSpec},
    {"fit", runFit, fitSpec},          {"probcut", runProbCut, probCutSpec},
    {"book", runBook, bookSpec},       {"accuracy", runAccuracy, accuracySpec},
};

}  // namespace

const tools::Program kTrainProgram{kProgram, kSteps, nullptr};

}  // namespace kaimo::train
