#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>

#include "engine/eval/data_sums.h"
#include "tools/common/cli_args.h"
#include "tools/common/process_pool.h"
#include "tools/train/evaluator_in_dir.h"
#include "tools/train/network_fit.h"
#include "tools/train/progress.h"
#include "tools/train/stage_outcome.h"
#include "tools/train/train_commands.h"
#include "tools/train/train_data.h"
#include "tools/train/train_options.h"
#include "tools/train/training_set.h"

namespace kaimo::train {
namespace {

constexpr int kFirstStage = 3;                  // 81..84 empty squares: the first the network sees
constexpr int kLastStage = 23;                  // 1..4 empty squares
constexpr int kDefaultHoldout = 20;             // one game in 20 checks the fit
constexpr float kNeighbourWeight = 0.5f;        // positions of the stages beside help a thinly covered stage
constexpr double kQuantisationTolerance = 0.1;  // discs of mean error the int16 model may lose
// A bootstrapped target looks at least one stage ahead, whose weights exist
// by then (the stages are fitted from the end of the game backwards).
constexpr int kMinBootstrapPlies = kEmptiesPerStage;

struct FitJob {
  std::string out;  // absolute
  int holdout = kDefaultHoldout;
  FitSettings settings;
  int bootstrapPlies = 0;  // 0: every target is the game's final margin
  float outcomeShare = 0;  // lambda: the final margin's share in a bootstrapped target
  bool reflect = false;    // train on each position's reflection too (measured: no gain)
  int neighbours = 1;      // stages on each side whose positions train a stage too
  float searchShare = 0;   // the player's search value's share in the target of a position not known exactly
  std::string init;        // absolute; when set, each stage starts from this folder's weights of the stage
};

std::string stageText(int stage) {
  char text[16];
  std::snprintf(text, sizeof text, "stage %02d: ", stage);
  return text;
}

// Starts a stage from the weights an earlier fit wrote for it, so that a new
// round of games refines what the rounds before taught instead of starting
// over without their games.
bool startFromEarlierFit(const FitJob& job, int stage, FloatNetwork& network, std::string& failure) {
  const long rows = inputSpace().layout.rowCount;
  std::vector<std::int16_t> weights(static_cast<std::size_t>(rows) * kHiddenUnits);
  std::array<std::int16_t, kOutputWeights> output{};
  const std::string name = (std::filesystem::path(job.init) / stageFileName(stage)).string();
  if (readStageWeights(name.c_str(), rows, weights.data(), output.data()) != LayoutStatus::Ok) {
    failure = stageText(stage) + "cannot read " + name;
    return false;
  }
  network.load(weights, output);
  return true;
}

// Writes a stage file whole: into NAME.part, renamed once complete, so that
// the evaluator never meets half a stage. On a failure the part goes (a full
// disk keeps no leftovers) and `failure` gives the system's reason.
bool writeStageFile(const std::string& name, const std::vector<std::int16_t>& weights,
                    const std::array<std::int16_t, kOutputWeights>& output, std::string& failure) {
  const std::string part = name + ".part";
  errno = 0;
  // The writer says only whether it failed; errno is the failing call's.
  const bool written = writeStageWeights(part.c_str(), weights.data(), inputSpace().layout.rowCount, output.data()) &&
                       std::rename(part.c_str(), name.c_str()) == 0;
  if (written) return true;
  const int reason = errno != 0 ? errno : EIO;
  std::remove(part.c_str());
  failure = "cannot write " + name + ": " + std::strerror(reason);
  return false;
}

// A target not known exactly, blended with what the player's search made of
// the position when the game was played.
float withSearchValue(const TrainingPosition& p, float target, const FitJob& job) {
  if (p.kind != LabelKind::Outcome || p.searchValue == kNoSearchValue || job.searchShare == 0) return target;
  return job.searchShare * static_cast<float>(p.searchValue) / 100.0f + (1 - job.searchShare) * target;
}

int stageOf(const TrainingPosition& p) { return stageOfEmpties(emptiesOf(p.board)); }

// For each self-play position, the first later position of its game with at
// least `plies` fewer empty squares; -1 when the game ends first.
std::vector<long> successors(const std::vector<TrainingPosition>& positions, int plies) {
  std::vector<long> next(positions.size(), -1);
  for (std::size_t i = 0; i < positions.size(); ++i) {
    if (positions[i].kind == LabelKind::Solved) continue;
    const int wanted = emptiesOf(positions[i].board) - plies;
    for (std::size_t j = i + 1;
         j < positions.size() && positions[j].game == positions[i].game && positions[j].kind != LabelKind::Solved;
         ++j) {
      if (emptiesOf(positions[j].board) <= wanted) {
        next[i] = static_cast<long>(j);
        break;
      }
    }
  }
  return next;
}

// A position left out of the fit: search values are wanted, it has none, and
// its bootstrapped target would come from the network itself (positions of
// games played before search values were recorded still teach the endgame).
constexpr float kNoTarget = std::numeric_limits<float>::quiet_NaN();

// Targets of the positions of stages from..to: exact margins stay; a game
// outcome becomes (1 - lambda) * the value of the position `plies` later
// (its exact margin, or what "狐" makes of it with the stages already
// written) + lambda * the outcome, blended with the search value.
bool bootstrapTargets(const std::vector<TrainingPosition>& positions, const std::vector<long>& next, int from, int to,
                      const FitJob& job, std::vector<float>& targets) {
  std::unique_ptr<EvaluatorInDirectory> evaluator;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const TrainingPosition& p = positions[i];
    const int stage = stageOf(p);
    if (stage < from || stage > to) continue;
    targets[i] = withSearchValue(p, static_cast<float>(p.margin), job);
    if (p.kind != LabelKind::Outcome || next[i] < 0) continue;
    const TrainingPosition& later = positions[static_cast<std::size_t>(next[i])];
    if (later.kind != LabelKind::Outcome) {
      // Perfect play from a few plies on: closer to the truth than a shallow search.
      targets[i] = static_cast<float>((1 - job.outcomeShare) * later.margin + job.outcomeShare * p.margin);
      continue;
    }
    if (job.searchShare > 0 && p.searchValue == kNoSearchValue) {
      targets[i] = kNoTarget;
      continue;
    }
    if (!evaluator) evaluator = std::make_unique<EvaluatorInDirectory>(job.out);
    double value = 0;
    if (!evaluator->discs(later.board, later.side, value)) return false;
    targets[i] =
        withSearchValue(p, static_cast<float>((1 - job.outcomeShare) * value + job.outcomeShare * p.margin), job);
  }
  return true;
}

struct StageData {
  std::vector<Sample> training;
  std::vector<Sample> validation;
  std::vector<TrainingPosition> heldOut;
  std::vector<float> heldOutTargets;
};

// The position reflected in the main diagonal. The network's patterns are
// placed in all four rotations, but an edge that reads the same from both
// corners sees its corner squares in one fixed order, so a reflection can
// feed the network rows the position itself does not.
TrainingPosition reflected(const TrainingPosition& p) {
  TrainingPosition image = p;
  boardTranspose(image.board, p.board);
  return image;
}

// Fills `data` (cleared first; its buffers are reused from stage to stage,
// sparing the system hundreds of megabytes of fresh pages per stage).
void fillStageData(const std::vector<TrainingPosition>& positions, const std::vector<float>& targets, int stage,
                   int lowest, int highest, const FitJob& job, StageData& data) {
  const int holdout = job.holdout;
  data.training.clear();
  data.validation.clear();
  data.heldOut.clear();
  data.heldOutTargets.clear();
  for (std::size_t i = 0; i < positions.size(); ++i) {
    const TrainingPosition& p = positions[i];
    const int s = stageOf(p);
    if (s < lowest || s > highest || std::isnan(targets[i])) continue;
    if (isHeldOut(p.game, holdout)) {
      if (s == stage) {
        data.heldOut.push_back(p);
        data.heldOutTargets.push_back(targets[i]);
      }
      continue;
    }
    if (isValidation(p.game, holdout)) {
      if (s == stage) data.validation.push_back(makeSample(p, targets[i], false, 1.0f));
      continue;
    }
    const float weight = std::pow(kNeighbourWeight, static_cast<float>(std::abs(s - stage)));
    data.training.push_back(makeSample(p, targets[i], false, weight));
    data.training.push_back(makeSample(p, targets[i], true, weight));
    if (job.reflect) {
      const TrainingPosition image = reflected(p);
      data.training.push_back(makeSample(image, targets[i], false, weight));
      data.training.push_back(makeSample(image, targets[i], true, weight));
    }
  }
}

// Fits one stage, writes its file and checks it through the evaluator: the
// int16 model must score the held-out positions about as well as the float
// one. Its line of results, or why it was not written.
StageOutcome fitStage(StageData& data, int stage, const FitJob& job, FloatNetwork& network) {
  FitSettings settings = job.settings;
  settings.seed = job.settings.seed * 1000 + static_cast<std::uint64_t>(stage);
  const FitReport fit = network.fit(data.training, settings, data.validation, !job.init.empty());
  std::vector<Sample> heldOut;
  for (std::size_t i = 0; i < data.heldOut.size(); ++i) {
    heldOut.push_back(makeSample(data.heldOut[i], data.heldOutTargets[i], false, 1.0f));
  }
  const double floatError = network.meanAbsoluteError(heldOut);

  std::vector<std::int16_t> weights;
  std::array<std::int16_t, kOutputWeights> output{};
  network.quantise(weights, output);
  const std::string name = (std::filesystem::path(job.out) / stageFileName(stage)).string();
  std::string failure;
  if (!writeStageFile(name, weights, output, failure)) return {StageEnd::Failed, stageText(stage) + failure};
  const EvaluatorInDirectory evaluator(job.out);
  double intError = 0;
  bool read = evaluator.get() != nullptr;
  for (std::size_t i = 0; read && i < data.heldOut.size(); ++i) {
    double value = 0;
    read = evaluator.discs(data.heldOut[i].board, data.heldOut[i].side, value);
    intError += std::fabs(value - data.heldOutTargets[i]);
  }
  if (!read) return {StageEnd::Failed, stageText(stage) + "the evaluator cannot read " + job.out};
  if (!data.heldOut.empty()) intError /= static_cast<double>(data.heldOut.size());
  const bool close = std::fabs(intError - floatError) <= kQuantisationTolerance;
  char line[512];
  std::snprintf(line, sizeof line,
                "stage %02d: %zu training samples, training error %.2f; validation %.2f after pass %d of %d; %zu held "
                "out: float %.2f, evalPattern %.2f discs%s",
                stage, data.training.size(), fit.trainingError, fit.validationError, fit.bestPass, fit.passes,
                heldOut.size(), floatError, intError, close ? "" : "  <- the int16 model differs");
  return {close ? StageEnd::Fitted : StageEnd::Differs, line};
}

bool writeTables(const std::string& dir) {
  for (const TableFile& file : indexTableFiles()) {
    const std::string name = (std::filesystem::path(dir) / file.name).string();
    if (!writeIndexTable(name.c_str(), file.table)) return false;
  }
  return true;
}

// What every stage of one fit shares.
struct FitInputs {
  const std::vector<TrainingPosition>& positions;
  const FitJob& job;
  std::vector<long> next;  // bootstrapped: each position's successor
};

bool bootstrapped(const FitJob& job) { return job.bootstrapPlies > 0; }

// One worker's state: its samples' buffers, reused from stage to stage
// (sparing the system hundreds of megabytes of fresh pages per stage), the
// targets, and the network, which a bootstrapped fit carries from a stage to
// the one before it, so a row seen too rarely in one stage keeps what the
// later stages made of it.
struct StageWorker {
  StageData data;
  std::vector<float> targets;
  FloatNetwork network{inputSpace().layout.rowCount};
};

// A target is the game's final margin (blended with the search value) unless
// the fit is bootstrapped, which sets each stage's targets when it comes.
std::vector<float> outcomeTargets(const FitInputs& in) {
  std::vector<float> targets(in.positions.size(), 0.0f);
  if (bootstrapped(in.job)) return targets;
  for (std::size_t i = 0; i < in.positions.size(); ++i) {
    targets[i] = withSearchValue(in.positions[i], static_cast<float>(in.positions[i].margin), in.job);
  }
  return targets;
}

// One stage from start to end: its network started, its targets and
// samples, the fit, the file.
StageOutcome fitOneStage(const FitInputs& in, int stage, StageWorker& worker) {
  const FitJob& job = in.job;
  if (bootstrapped(job)) {
    worker.network.restartSteps();
  } else {
    worker.network = FloatNetwork(inputSpace().layout.rowCount);
  }
  std::string failure;
  if (!job.init.empty() && !startFromEarlierFit(job, stage, worker.network, failure)) {
    return {StageEnd::NotStarted, failure};
  }
  // A bootstrapped fit's earlier stages join once their targets look only at
  // stages already written: a stage back needs a bootstrap of two stages' plies.
  const int back =
      bootstrapped(job) ? std::min(job.neighbours, job.bootstrapPlies / kEmptiesPerStage - 1) : job.neighbours;
  const int lowest = std::max(stage - back, kFirstStage);
  const int highest = std::min(stage + job.neighbours, kLastStage);
  if (bootstrapped(job) && !bootstrapTargets(in.positions, in.next, lowest, highest, job, worker.targets)) {
    return {StageEnd::Failed, stageText(stage) + "the stages after it cannot be read from " + job.out};
  }
  fillStageData(in.positions, worker.targets, stage, lowest, highest, job, worker.data);
  return fitStage(worker.data, stage, job, worker.network);
}

// The stages of worker `k` of `workers`, in the order it fits them. A
// bootstrapped fit has one worker, which goes from the end of the game
// backwards: each stage looks at the ones already written.
std::vector<int> stagesOfWorker(const std::vector<int>& stages, int k, int workers, bool backwards) {
  std::vector<int> own;
  for (std::size_t i = static_cast<std::size_t>(k); i < stages.size(); i += static_cast<std::size_t>(workers)) {
    own.push_back(stages[i]);
  }
  if (backwards) std::reverse(own.begin(), own.end());
  return own;
}

// Fits `stages`: a bootstrapped fit one stage after another in this
// process, otherwise side by side in `jobs` processes. Every stage's
// outcome comes back as a value: its line goes to `out`, a failure to
// standard error. A worker stops at a stage it could not write, and a
// bootstrapped fit at any stage not written (the stages before look at it).
bool fitStages(const std::vector<TrainingPosition>& positions, const std::vector<int>& stages, int jobs,
               const FitJob& job, std::FILE* out) {
  const bool backwards = bootstrapped(job);
  const FitInputs in{positions, job, backwards ? successors(positions, job.bootstrapPlies) : std::vector<long>{}};
  const std::vector<float> targets = outcomeTargets(in);
  const int workers = backwards ? 1 : std::min(jobs, static_cast<int>(stages.size()));
  Progress progress("stages", static_cast<long>(stages.size()));
  bool ok = true;
  const auto receive = [&](const StageOutcome& outcome) {
    ok = ok && outcome.end == StageEnd::Fitted;
    if (!outcome.written()) {
      std::fprintf(stderr, "kaimo-train fit: %s\n", outcome.text.c_str());
      return;
    }
    std::fprintf(out, "%s\n", outcome.text.c_str());
    std::fflush(out);
    progress.advance();
  };
  const auto work = [&](int k, const std::function<void(const StageOutcome&)>& send) {
    StageWorker worker;
    worker.targets = targets;
    for (const int stage : stagesOfWorker(stages, k, workers, backwards)) {
      const StageOutcome outcome = fitOneStage(in, stage, worker);
      send(outcome);
      if (outcome.end == StageEnd::Failed || (backwards && !outcome.written())) return;
    }
  };
  if (backwards) {
    work(0, receive);
  } else {
    const auto inWorker = [&](int k, std::FILE* pipe) {
      work(k, [pipe](const StageOutcome& outcome) {
        std::fprintf(pipe, "%s\n", encodeOutcome(outcome).c_str());
        std::fflush(pipe);
      });
      return 0;
    };
    const auto fromWorker = [&](int, const std::string& line) {
      const std::optional<StageOutcome> outcome = decodeOutcome(line);
      receive(outcome ? *outcome : StageOutcome{StageEnd::Failed, "a worker wrote '" + line + "'"});
    };
    ok = tools::allSucceeded(tools::runInProcesses(workers, inWorker, fromWorker)) && ok;
  }
  progress.finish();
  return ok;
}

void checkStages(const std::string& name, const std::string& value) {
  int first = 0;
  int last = 0;
  parseRange(value, name, kFirstStage, kLastStage, first, last);
}

}  // namespace

const tools::CommandSyntax& fitSyntax() {
  using tools::integerOption;
  using tools::numberOption;
  constexpr FitSettings kDefaults;
  static const tools::CommandSyntax syntax{
      kProgram,
      "fit",
      "",
      {dirListOption("the folders of games (and solved positions) to fit"),
       tools::required(tools::pathOption("--out", "DIR", "the folder the tables and stage files go to")),
       tools::textOption("--stages", "A-B", nullptr, "the stages fitted, by number (all: 3-23)", checkStages),
       integerOption("--epochs", "N", kDefaults.epochs, 1, 1000, "passes over a stage's positions at most"),
       numberOption("--rate", "X", 0.01, 1e-6, 10, "Adagrad's step"),
       numberOption("--l2", "X", 0.1, 0, 10, "the pull of a visited weight towards 0"), jobsOption(),
       integerOption("--holdout", "N", kDefaultHoldout, 0, 1000, "one game in N held out, one in N for validation"),
       integerOption("--force", "0|1", 0, 0, 1, "1: fits the stages whose files exist too"),
       seedOption("seed of the shuffles"),
       integerOption("--bootstrap", "PLIES", 0, 0, 40,
                     "targets from the stages written, PLIES later; 0 takes the outcomes"),
       numberOption("--lambda", "X", 0.2, 0, 1, "the final margin's share in a bootstrapped target"),
       numberOption("--decay", "X", 1, 0.01, 1, "the step's factor after every pass"),
       integerOption("--patience", "N", kDefaults.patience, 1, 1000, "passes without a better validation error"),
       integerOption("--reflect", "0|1", 0, 0, 1, "1: trains on each position's reflection too"),
       numberOption("--search", "X", 0, 0, 1, "the player's search value's share in a target not known exactly"),
       integerOption("--neighbours", "N", FitJob{}.neighbours, 0, 4,
                     "stages on each side whose positions train a stage"),
       tools::pathOption("--init", "DIR", "starts each stage from the weights of DIR")}};
  return syntax;
}

int runFit(const tools::Words& words, std::FILE* out) {
  const tools::Args args = tools::Args::parse(fitSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  int first = kFirstStage;
  int last = kLastStage;
  if (args.has("--stages")) parseRange(args.get("--stages"), "--stages", kFirstStage, kLastStage, first, last);
  FitJob job;
  job.out = std::filesystem::absolute(args.getPath("--out")).string();
  if (args.has("--init")) job.init = std::filesystem::absolute(args.getPath("--init")).string();
  job.holdout = args.getInt("--holdout");
  job.settings.epochs = args.getInt("--epochs");
  job.settings.learningRate = static_cast<float>(args.getNumber("--rate"));
  job.settings.l2 = static_cast<float>(args.getNumber("--l2"));
  job.settings.rateDecay = static_cast<float>(args.getNumber("--decay"));
  job.settings.patience = args.getInt("--patience");
  job.reflect = args.getInt("--reflect") == 1;
  job.neighbours = args.getInt("--neighbours");
  job.searchShare = static_cast<float>(args.getNumber("--search"));
  job.settings.seed = static_cast<std::uint64_t>(args.getInt("--seed"));
  job.bootstrapPlies = args.getInt("--bootstrap");
  if (job.bootstrapPlies != 0 && job.bootstrapPlies < kMinBootstrapPlies) {
    throw tools::UsageError("--bootstrap must be 0 or at least " + std::to_string(kMinBootstrapPlies) + " plies");
  }
  job.outcomeShare = static_cast<float>(args.getNumber("--lambda"));
  const int jobs = args.getInt("--jobs");
  const bool force = args.getInt("--force") == 1;

  std::vector<TrainingPosition> positions;
  std::string error;
  if (!loadTrainingSet(folderList(args.getPath("--dir"), "--dir"), positions, error)) {
    std::fprintf(stderr, "kaimo-train fit: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(out, "%zu positions\n", positions.size());
  std::error_code ignored;
  std::filesystem::create_directories(job.out, ignored);
  // The checksum list no longer holds once a file changes; it is written
  // again at the end (a fit stopped before leaves none: the data are read
  // unchecked until the next fit writes it).
  std::filesystem::remove(std::filesystem::path(job.out) / kDataSumsFileName, ignored);
  errno = 0;
  if (!writeTables(job.out)) {
    // The writer says only whether it failed; errno is the failing call's.
    std::fprintf(stderr, "kaimo-train fit: cannot write the index tables into %s: %s\n", job.out.c_str(),
                 std::strerror(errno != 0 ? errno : EIO));
    return 1;
  }
  std::vector<int> stages;
  for (int s = first; s <= last; ++s) {
    if (force || !std::filesystem::exists(std::filesystem::path(job.out) / stageFileName(s))) stages.push_back(s);
  }
  bool ok = true;
  if (stages.empty()) {
    std::fprintf(out, "every stage file exists (--force 1 fits them again)\n");
  } else {
    ok = fitStages(positions, stages, jobs, job, out);
  }
  std::string file;
  if (const int writeError = writeDataSums(job.out, file); writeError != 0) {
    std::fprintf(stderr, "kaimo-train fit: cannot write %s: %s\n", file.c_str(), std::strerror(writeError));
    return 1;
  }
  return ok ? 0 : 1;
}

}  // namespace kaimo::train
