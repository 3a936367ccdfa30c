#include <filesystem>

#include "engine/eval/routines.h"
#include "tools/common/cli_args.h"
#include "tools/common/computer_turn.h"
#include "tools/train/chunks.h"
#include "tools/train/folder_lock.h"
#include "tools/train/self_play.h"
#include "tools/train/train_commands.h"
#include "tools/train/train_options.h"

namespace kaimo::train {
namespace {

constexpr int kDefaultGamesPerChunk = 100;  // a few minutes of work: little is lost to a stop
constexpr int kMaxGames = 10000000;

std::string describe(const SelfPlaySettings& s, std::uint64_t seed, int perChunk) {
  char text[256];
  std::snprintf(text, sizeof text,
                "seed %llu\nroutine %d\ndepth %d\nexact %d\nrandom plies %d..%d\nepsilon %d%% for %d plies\n"
                "games per chunk %d\n",
                static_cast<unsigned long long>(seed), s.routine, s.depth, s.exactDepth, s.randomPliesMin,
                s.randomPliesMax, s.epsilonPercent, s.epsilonPlies, perChunk);
  return text;
}

}  // namespace

const tools::CommandSyntax& gamesSyntax() {
  using tools::integerOption;
  constexpr SelfPlaySettings kDefaults;
  static const tools::CommandSyntax syntax{
      kProgram,
      "games",
      "",
      {dirOption("the folder of the chunks of games"),
       tools::required(integerOption("--games", "N", 0, 1, kMaxGames, "games in all, a multiple of --chunk")),
       seedOption("seed of the games"), jobsOption(),
       tools::routineOption("--routine", routineTable[kSimpleRoutine].name, "the routine that plays"),
       integerOption("--depth", "N", kDefaults.depth, 1, 20, "normal depth of its searches"),
       integerOption("--exact", "N", kDefaults.exactDepth, 0, 24, "exact reads from N empty squares on"),
       integerOption("--chunk", "N", kDefaultGamesPerChunk, 1, kMaxGamesPerChunk, "games a chunk file"),
       integerOption("--random-min", "N", kDefaults.randomPliesMin, 0, 40,
                     "the fewest random plies a game starts with"),
       tools::atLeast("--random-min", integerOption("--random-max", "N", kDefaults.randomPliesMax, 0, 40,
                                                    "the most random plies a game starts with")),
       integerOption("--epsilon", "PERCENT", kDefaults.epsilonPercent, 0, 100, "chance of a random move after them"),
       integerOption("--epsilon-plies", "N", kDefaults.epsilonPlies, 0, 100, "plies that chance lasts"),
       shardOption()}};
  return syntax;
}

int runGames(const tools::Words& words, std::FILE* out) {
  const tools::Args args = tools::Args::parse(gamesSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  const std::string dir = args.getPath("--dir");
  const int games = args.getInt("--games");
  const auto seed = static_cast<std::uint64_t>(args.getInt("--seed"));
  const int jobs = args.getInt("--jobs");
  const int perChunk = args.getInt("--chunk");
  const Shard shard = parseShard(args.get("--shard"));
  SelfPlaySettings settings;
  settings.routine = tools::routineFromArgument(args.get("--routine"));
  settings.depth = args.getInt("--depth");
  settings.exactDepth = args.getInt("--exact");
  settings.randomPliesMin = args.getInt("--random-min");
  settings.randomPliesMax = args.getInt("--random-max");
  settings.epsilonPercent = args.getInt("--epsilon");
  settings.epsilonPlies = args.getInt("--epsilon-plies");

  if (games % perChunk != 0) {
    throw tools::UsageError("--games must be a multiple of the games per chunk (" + std::to_string(perChunk) +
                            "), not " + std::to_string(games));
  }

  std::error_code error;
  std::filesystem::create_directories(dir, error);
  FolderLock lock;
  if (const int status = lockFolder("games", dir, "games.lock", lock); status != 0) return status;
  const std::string settingsFile = (std::filesystem::path(dir) / kGamesSettingsFile).string();
  const std::string wanted = describe(settings, seed, perChunk);
  if (const int status = keepSettings("games", settingsFile, wanted, holdsFilesOf(dir, "games", ".kpos"));
      status != 0) {
    return status;
  }

  const int chunkCount = games / perChunk;
  const std::vector<int> chunks = chunksToMake(dir, "games", chunkCount, shard, "games", perChunk);
  std::fprintf(out, "%d games in %d chunks of %d; %zu chunks to play\n", games, chunkCount, perChunk, chunks.size());
  std::fflush(out);
  tools::TurnSearcher searcher;  // each process of the pool makes its own table
  const auto make = [&](int chunk, std::vector<TrainingPosition>& positions, const std::function<void()>& tick) {
    for (int g = chunk * perChunk; g < (chunk + 1) * perChunk; ++g) {
      bool failed = false;
      const std::vector<TrainingPosition> game = playTrainingGame(seed, g, settings, searcher, failed);
      if (failed) return false;
      positions.insert(positions.end(), game.begin(), game.end());
      tick();
    }
    return true;
  };
  const bool ok = runChunks(dir, "games", chunks, jobs, "games", static_cast<long>(chunks.size()) * perChunk, make);
  return ok ? 0 : 1;
}

}  // namespace kaimo::train
