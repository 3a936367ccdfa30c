#include <algorithm>
#include <filesystem>

#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "tools/common/cli_args.h"
#include "tools/common/computer_turn.h"
#include "tools/train/chunks.h"
#include "tools/train/folder_lock.h"
#include "tools/train/train_commands.h"
#include "tools/train/train_options.h"
#include "tools/train/training_set.h"

namespace kaimo::train {
namespace {

constexpr int kMaxSolveEmpties = 24;  // beyond this one read takes hours

struct LabelJob {
  std::string dir;
  std::string prefix;
  int minEmpties;
  int maxEmpties;
  int perGame;
  int holdout;  // 0: every game, otherwise only the games held out by the fit
  std::uint64_t seed;
  int gamesPerChunk;
};

bool solve(TrainingPosition& position, tools::TurnSearcher& searcher) {
  const int empties = emptiesOf(position.board);
  const SideSettings exact{.routine = kSimpleRoutine, .normalDepth = empties, .exactDepth = empties};
  const tools::TurnResult turn = searcher.play(position.board, position.side, exact);
  if (isMarker(turn.value) || turn.value == SCORE_NO_MOVE) return false;
  const int mover = turn.value / SCORE_PER_DISC;
  position.margin = position.side == kBlack ? mover : -mover;
  position.kind = LabelKind::Solved;
  return true;
}

bool labelChunk(const std::string& gamesFile, const LabelJob& job, tools::TurnSearcher& searcher,
                std::vector<TrainingPosition>& solved, const std::function<void()>& tick) {
  std::vector<TrainingPosition> positions;
  std::string error;
  if (!readChunkOfGames(gamesFile, job.gamesPerChunk, positions, error)) return false;
  // Positions worth a read: inside the range and not already exact.
  const auto wanted = [&job](const TrainingPosition& p) {
    const int e = emptiesOf(p.board);
    return (job.holdout == 0 || isHeldOut(p.game, job.holdout)) && p.kind == LabelKind::Outcome &&
           e >= job.minEmpties && e <= job.maxEmpties;
  };
  for (TrainingPosition& position : drawPerGame(positions, job.perGame, job.seed, wanted)) {
    if (!solve(position, searcher)) return false;
    solved.push_back(position);
    tick();
  }
  return true;  // a chunk without positions is still written, so it counts as done
}

}  // namespace

const tools::CommandSyntax& labelSyntax() {
  using tools::integerOption;
  static const tools::CommandSyntax syntax{
      kProgram,
      "label",
      "",
      {dirOption("the folder of the games"),
       tools::textOption("--prefix", "NAME", "solved", "the name of the chunks of solved positions",
                         [](const std::string&, const std::string& prefix) {
                           if (prefix.empty() || prefix == "games" || prefix.find('/') != std::string::npos) {
                             throw tools::UsageError("--prefix must be a plain name other than 'games'");
                           }
                         }),
       integerOption("--min", "E", 15, 1, kMaxSolveEmpties, "the fewest empty squares of a position solved"),
       tools::atLeast("--min", integerOption("--max", "E", 18, 1, kMaxSolveEmpties,
                                             "the most empty squares of a position solved")),
       integerOption("--per-game", "N", 1, 1, 100, "positions solved a game"),
       integerOption("--holdout", "N", 0, 0, 1000, "only the games the fit holds out, one in N (0: every game)"),
       chunksOption(), jobsOption(), seedOption("seed of the choice of positions"), shardOption()}};
  return syntax;
}

int runLabel(const tools::Words& words, std::FILE* out) {
  const tools::Args args = tools::Args::parse(labelSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  LabelJob job;
  job.dir = args.getPath("--dir");
  job.prefix = args.get("--prefix");
  job.minEmpties = args.getInt("--min");
  job.maxEmpties = args.getInt("--max");
  job.perGame = args.getInt("--per-game");
  job.holdout = args.getInt("--holdout");
  job.seed = static_cast<std::uint64_t>(args.getInt("--seed"));
  const int jobs = args.getInt("--jobs");

  const Shard shard = parseShard(args.get("--shard"));
  const int chunkLimit = args.getInt("--chunks");
  std::string fault;
  if (!gamesPerChunk(job.dir, job.gamesPerChunk, fault)) {
    std::fprintf(stderr, "kaimo-train label: %s\n", fault.c_str());
    return 1;
  }
  if (existingChunks(job.dir, "games").empty()) {
    std::fprintf(stderr, "kaimo-train label: no games in %s\n", job.dir.c_str());
    return 1;
  }
  char settings[160];
  std::snprintf(settings, sizeof settings, "empties %d..%d\nper game %d\nholdout %d\nseed %llu\n", job.minEmpties,
                job.maxEmpties, job.perGame, job.holdout, static_cast<unsigned long long>(job.seed));
  FolderLock lock;
  if (const int status = lockFolder("label", job.dir, job.prefix + ".lock", lock); status != 0) return status;
  const std::string settingsFile = (std::filesystem::path(job.dir) / (job.prefix + ".cfg")).string();
  const bool made = holdsFilesOf(job.dir, job.prefix, ".kpos");
  if (const int status = keepSettings("label", settingsFile, settings, made); status != 0) return status;

  const int playedChunks = std::min(chunkLimit, gamesPlayedBefore(job.dir, shard));
  const std::vector<int> chunks = chunksToMake(job.dir, job.prefix, playedChunks, shard, "label", job.gamesPerChunk);
  // Every game gives perGame reads (the held-out ones only, with --holdout).
  const auto counts = [&job](std::int32_t game) { return job.holdout == 0 || isHeldOut(game, job.holdout); };
  long units = 0;
  std::string error;
  if (!drawsFromChunks(job.dir, chunks, job.gamesPerChunk, job.perGame, counts, units, error)) {
    std::fprintf(stderr, "kaimo-train label: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(out, "%zu chunks to label\n", chunks.size());
  std::fflush(out);
  tools::TurnSearcher searcher;  // each process of the pool makes its own table
  const auto make = [&](int chunk, std::vector<TrainingPosition>& solved, const std::function<void()>& tick) {
    return labelChunk(chunkFileName(job.dir, "games", chunk), job, searcher, solved, tick);
  };
  return runChunks(job.dir, job.prefix, chunks, jobs, "reads", units, make) ? 0 : 1;
}

}  // namespace kaimo::train
