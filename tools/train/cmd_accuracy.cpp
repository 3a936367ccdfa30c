#include <cmath>
#include <filesystem>

#include "engine/eval/eval_simple.h"
#include "engine/eval/score.h"
#include "tools/common/cli_args.h"
#include "tools/train/evaluator_in_dir.h"
#include "tools/train/line_fit.h"
#include "tools/train/train_commands.h"
#include "tools/train/train_options.h"
#include "tools/train/training_set.h"

namespace kaimo::train {
namespace {

constexpr int kDefaultHoldout = 20;  // the fit's default

// Positions with an exact margin; with `outcomes` also those whose margin is
// only their game's result (where exact reads cost too much).
bool measuredInRange(const TrainingPosition& p, int minEmpties, int maxEmpties, bool outcomes) {
  const int e = emptiesOf(p.board);
  return (outcomes || p.kind != LabelKind::Outcome) && e >= minEmpties && e <= maxEmpties;
}

double simpleValue(const TrainingPosition& p) {
  DiscCounts counts;
  boardCount(p.board, counts);
  return evalSimple(p.board, 0, p.side, counts) / static_cast<double>(SCORE_PER_DISC);
}

}  // namespace

const tools::CommandSyntax& accuracySyntax() {
  using tools::integerOption;
  static const tools::CommandSyntax syntax{
      kProgram,
      "accuracy",
      "",
      {dirListOption("the folders of games (and held-out positions) to score"),
       tools::required(tools::pathOption("--data", "DIR", "the data of 狐 to score")),
       integerOption("--min", "E", 16, 1, 84, "the fewest empty squares of a position scored"),
       tools::atLeast("--min", integerOption("--max", "E", 20, 1, 84, "the most empty squares of a position scored")),
       integerOption("--holdout", "N", kDefaultHoldout, 1, 1000, "one game in N held out by the fit is scored"),
       integerOption("--outcomes", "0|1", 0, 0, 1, "1: also against the final margins where no exact value is known")}};
  return syntax;
}

int runAccuracy(const tools::Words& words, std::FILE* out) {
  const tools::Args args = tools::Args::parse(accuracySyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  const bool outcomes = args.getInt("--outcomes") == 1;
  const int minEmpties = args.getInt("--min");
  const int maxEmpties = args.getInt("--max");
  const int holdout = args.getInt("--holdout");
  const std::vector<std::string> dirs = folderList(args.getPath("--dir"), "--dir");
  const std::string data = args.getPath("--data");
  std::vector<TrainingPosition> positions;
  std::string error;
  if (!loadTrainingSet(dirs, positions, error)) {
    std::fprintf(stderr, "kaimo-train accuracy: %s\n", error.c_str());
    return 1;
  }
  std::vector<double> fitValues, fitMargins;
  std::vector<TrainingPosition> heldOut;
  for (const auto& p : positions) {
    if (!measuredInRange(p, minEmpties, maxEmpties, outcomes)) continue;
    if (isHeldOut(p.game, holdout)) {
      heldOut.push_back(p);
    } else {
      fitValues.push_back(simpleValue(p));
      fitMargins.push_back(p.margin);
    }
  }
  if (heldOut.empty()) {
    std::fprintf(stderr, "kaimo-train accuracy: no held-out %spositions with %d..%d empty squares\n",
                 outcomes ? "" : "exact ", minEmpties, maxEmpties);
    return 1;
  }

  const EvaluatorInDirectory evaluator(data);
  double patternError = 0;
  for (const auto& p : heldOut) {
    double value = 0;
    if (!evaluator.discs(p.board, p.side, value)) {
      std::fprintf(stderr, "kaimo-train accuracy: 狐 cannot evaluate with the files of %s\n", data.c_str());
      return 1;
    }
    patternError += std::fabs(value - p.margin);
  }
  // Without training positions in the range the line is fitted to the held-out ones themselves.
  const bool ownFit = fitValues.empty();
  if (ownFit) {
    for (const auto& p : heldOut) {
      fitValues.push_back(simpleValue(p));
      fitMargins.push_back(p.margin);
    }
  }
  const LineFit line = fitLine(fitValues, fitMargins);
  const double slope = line.slope, intercept = line.intercept;
  double simpleError = 0;
  for (const auto& p : heldOut) simpleError += std::fabs(slope * simpleValue(p) + intercept - p.margin);
  const double n = static_cast<double>(heldOut.size());
  std::fprintf(out, "%zu held-out positions with %d..%d empty squares and %s\n", heldOut.size(), minEmpties, maxEmpties,
               outcomes ? "their games' final margins (exact where known)" : "exact margins");
  std::fprintf(out, "狐 static evaluation: mean absolute error %.2f discs\n", patternError / n);
  std::fprintf(
      out, "狸 linear fit (margin = %.4f * value %+.2f, fitted on %zu %s positions): mean absolute error %.2f discs\n",
      slope, intercept, fitValues.size(), ownFit ? "held-out" : "training", simpleError / n);
  return 0;
}

}  // namespace kaimo::train
