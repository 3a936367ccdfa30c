#include <algorithm>
#include <cinttypes>
#include <cstdlib>

#include "engine/eval/routines.h"
#include "tools/cli/commands.h"
#include "tools/cli/match_games.h"
#include "tools/common/computer_turn.h"
#include "tools/common/fox_data.h"
#include "tools/common/limits.h"
#include "tools/common/process_pool.h"

namespace kaimo::cli {
namespace {

constexpr int kDefaultGames = 100;
constexpr int kMaxGames = 100000;
constexpr int kDefaultOpeningPlies = 6;  // enough for thousands of different openings
constexpr int kMaxOpeningPlies = 40;
constexpr int kMaxJobs = 64;

const char* const kUsage =
    "usage: kaimo-cli match --black NAME --white NAME [--depth N] [--exact N] [--win N] "
    "[--black-depth N] [--black-exact N] [--black-win N] [--white-depth N] [--white-exact N] [--white-win N] "
    "[--black-data DIR] [--white-data DIR] [--games N] [--jobs N] [--seed S] [--plies N]";

// --black-depth (and so on) for one side, else the common --depth, else the default.
int sideOption(const Args& args, const std::string& colour, const std::string& name, int fallback, int low, int high) {
  return args.getInt("--" + colour + "-" + name, args.getInt("--" + name, fallback, low, high), low, high);
}

SideSettings sideFrom(const Args& args, const std::string& colour) {
  SideSettings s{};
  s.routine = tools::routineFromArgument(args.get("--" + colour, ""));
  s.normalDepth = sideOption(args, colour, "depth", tools::kDefaultNormalDepth, 1, tools::kMaxNormalDepth);
  s.exactDepth = sideOption(args, colour, "exact", tools::kDefaultExactDepth, 0, tools::kMaxReadEmpties);
  s.winDepth = sideOption(args, colour, "win", tools::kDefaultWinDepth, 0, tools::kMaxReadEmpties);
  return s;
}

MatchPlayer playerFrom(const Args& args, const std::string& colour) {
  MatchPlayer player;
  player.settings = sideFrom(args, colour);
  const std::string data = "--" + colour + "-data";
  if (!args.has(data)) {
    player.evaluator = routineEvaluator(player.settings.routine);
    return player;
  }
  if (routineTable[player.settings.routine].evaluation != Evaluation::Pattern) {
    throw UsageError(data + " is for 狐, which reads data files");
  }
  player.dataFolder = args.getPath(data);
  player.evaluator = tools::foxEvaluatorFrom(player.dataFolder);
  return player;
}

// "4, 6, 8", the game numbers as the game lines show them; a long list is cut.
std::string missingGames(const std::vector<bool>& finished) {
  constexpr int kShown = 20;
  std::string list;
  int count = 0;
  for (std::size_t g = 0; g < finished.size(); ++g) {
    if (finished[g]) continue;
    if (++count <= kShown) list += (count > 1 ? ", " : "") + std::to_string(g + 1);
  }
  if (count > kShown) list += ", ... (" + std::to_string(count) + " in all)";
  return list;
}

// Why games are missing, on standard error: a failed evaluation says so
// itself, a worker that ended otherwise is named with how it ended.
void reportMissingGames(const std::vector<tools::WorkerEnd>& ends, bool evaluationFailed,
                        const std::vector<bool>& finished) {
  if (evaluationFailed) tools::printEvalError();
  for (std::size_t job = 0; job < ends.size(); ++job) {
    if (ends[job].ok() || (evaluationFailed && ends[job].exited)) continue;
    std::fprintf(stderr, "kaimo-cli match: worker %zu of %zu %s\n", job + 1, ends.size(),
                 tools::describeWorkerEnd(ends[job]).c_str());
  }
  const auto done = std::count(finished.begin(), finished.end(), true);
  std::fprintf(stderr, "kaimo-cli match: %ld of %zu games finished; missing: %s\n", static_cast<long>(done),
               finished.size(), missingGames(finished).c_str());
}

std::string describe(const MatchPlayer& player) {
  const SideSettings& s = player.settings;
  const std::string data = player.dataFolder.empty() ? "" : ", data " + player.dataFolder;
  return std::string(routineTable[s.routine].name) + " (depth " + std::to_string(s.normalDepth) + ", exact " +
         std::to_string(s.exactDepth) + ", win " + std::to_string(s.winDepth) + data + ")";
}

}  // namespace

int runMatch(const Words& words, std::FILE* out) {
  const Args args = Args::parse(words);
  args.allowOnly({"--black", "--white", "--depth", "--exact", "--win", "--black-depth", "--black-exact", "--black-win",
                  "--white-depth", "--white-exact", "--white-win", "--black-data", "--white-data", "--games", "--jobs", "--seed",
                  "--plies"});
  if (!args.positional.empty() || !args.has("--black") || !args.has("--white")) throw UsageError(kUsage);
  const MatchPlayer first = playerFrom(args, "black");
  const MatchPlayer second = playerFrom(args, "white");
  const int games = args.getInt("--games", kDefaultGames, 1, kMaxGames);
  const int jobs = std::min(args.getInt("--jobs", 1, 1, kMaxJobs), games);
  const auto seed = static_cast<std::uint64_t>(args.getInt("--seed", 1, 0, 2147483647));
  const int plies = args.getInt("--plies", kDefaultOpeningPlies, 0, kMaxOpeningPlies);

  const int openingCount = (games + 1) / 2;
  const std::vector<Opening> openings = randomOpenings(openingCount, plies, seed);
  if (static_cast<int>(openings.size()) < openingCount) {
    std::fprintf(stderr, "kaimo-cli match: only %zu different openings of %d plies\n", openings.size(), plies);
    return 2;
  }
  const char* firstName = routineTable[first.settings.routine].name;
  const char* secondName = routineTable[second.settings.routine].name;
  std::fprintf(out, "%s vs %s, %d games from %d openings of %d plies\n", describe(first).c_str(),
               describe(second).c_str(), games, openingCount, plies);
  std::fflush(out);

  // A child reports "g black white", or "g failed".
  const auto work = [&](int job, std::FILE* report) {
    tools::TurnSearcher searcher;
    for (int g = job; g < games; g += jobs) {
      const bool firstBlack = firstPlaysBlack(g);
      const GameResult r = playMatchGame(openings[g / 2], firstBlack ? first : second, firstBlack ? second : first, searcher);
      if (r.failed) {
        std::fprintf(report, "%d failed\n", g);
        return 1;
      }
      std::fprintf(report, "%d %d %d\n", g, r.black, r.white);
    }
    return 0;
  };
  MatchTally tally;
  std::vector<bool> finished(static_cast<std::size_t>(games), false);
  bool evaluationFailed = false;
  const auto onLine = [&](int, const std::string& line) {
    int g = 0, black = 0, white = 0;
    if (std::sscanf(line.c_str(), "%d %d %d", &g, &black, &white) != 3 || g < 0 || g >= games) {
      evaluationFailed = true;
      return;
    }
    finished[static_cast<std::size_t>(g)] = true;
    const bool firstBlack = firstPlaysBlack(g);
    tally.add(firstBlack ? black : white, firstBlack ? white : black);
    std::fprintf(out, "game %d (opening %d): black %s %d - %d white %s\n", g + 1, g / 2 + 1,
                 firstBlack ? firstName : secondName, black, white, firstBlack ? secondName : firstName);
    std::fflush(out);
  };
  const std::vector<tools::WorkerEnd> ends = tools::runInProcesses(jobs, work, onLine);
  // The games that did finish are scored whatever happened to the others.
  std::fprintf(out, "%s %d-%d-%d vs %s, score %.1f%%\n", firstName, tally.wins, tally.draws, tally.losses, secondName,
               tally.scorePercent());
  std::fprintf(out, "mean disc margin %+.2f\n", tally.meanMargin());
  std::fflush(out);
  if (tally.games() == games && !evaluationFailed) return 0;
  reportMissingGames(ends, evaluationFailed, finished);
  return 1;
}

}  // namespace kaimo::cli
