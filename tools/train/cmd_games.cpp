#include <filesystem>

#include "engine/eval/routines.h"
#include "tools/common/cli_args.h"
#include "tools/common/computer_turn.h"
#include "tools/train/chunks.h"
#include "tools/train/folder_lock.h"
#include "tools/train/self_play.h"
#include "tools/train/train_commands.h"

namespace kaimo::train {
namespace {

constexpr int kDefaultGamesPerChunk = 100;  // a few minutes of work: little is lost to a stop
constexpr int kMaxGames = 10000000;
constexpr int kMaxJobs = 64;

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

int runGames(const tools::Words& words, std::FILE* out) {
  const tools::Args args = tools::Args::parse(words);
  args.allowOnly({"--dir", "--games", "--seed", "--jobs", "--routine", "--depth", "--exact", "--chunk", "--random-min",
                  "--random-max", "--epsilon", "--epsilon-plies", "--shard"});
  if (!args.positional.empty() || !args.has("--dir") || !args.has("--games")) {
    throw tools::UsageError("usage: kaimo-train games --dir DIR --games N [--seed S] [--jobs N] [--routine NAME] "
                          "[--depth N] [--exact N] [--chunk N] [--random-min N] [--random-max N] [--epsilon PERCENT] "
                          "[--epsilon-plies N] [--shard K/N]");
  }
  const std::string dir = args.getPath("--dir");
  const int games = args.getInt("--games", 0, 1, kMaxGames);
  const auto seed = static_cast<std::uint64_t>(args.getInt("--seed", 1, 0, 2147483647));
  const int jobs = args.getInt("--jobs", 2, 1, kMaxJobs);
  const int perChunk = args.getInt("--chunk", kDefaultGamesPerChunk, 1, kMaxGamesPerChunk);
  const Shard shard = parseShard(args.get("--shard", "0/1"));
  SelfPlaySettings settings;
  settings.routine = tools::routineFromArgument(args.get("--routine", routineTable[kSimpleRoutine].name));
  settings.depth = args.getInt("--depth", settings.depth, 1, 20);
  settings.exactDepth = args.getInt("--exact", settings.exactDepth, 0, 24);
  settings.randomPliesMin = args.getInt("--random-min", settings.randomPliesMin, 0, 40);
  settings.randomPliesMax = args.getInt("--random-max", settings.randomPliesMax, settings.randomPliesMin, 40);
  settings.epsilonPercent = args.getInt("--epsilon", settings.epsilonPercent, 0, 100);
  settings.epsilonPlies = args.getInt("--epsilon-plies", settings.epsilonPlies, 0, 100);

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
  if (const int status = keepSettings("games", settingsFile, wanted, holdsFilesOf(dir, "games", ".kpos")); status != 0) {
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
