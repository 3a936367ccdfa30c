#include <cinttypes>
#include <cstdlib>
#include <map>

#include "engine/eval/routines.h"
#include "tools/cli/commands.h"
#include "tools/cli/match_games.h"
#include "tools/common/computer_turn.h"
#include "tools/common/process_pool.h"

namespace kaimo::cli {
namespace {

// The settings a new side starts with.
constexpr int kDefaultNormalDepth = 6;
constexpr int kDefaultExactDepth = 13;
constexpr int kDefaultWinDepth = 0;
constexpr int kMaxDepth = 60;
constexpr int kDefaultGames = 100;
constexpr int kMaxGames = 100000;
constexpr int kDefaultOpeningPlies = 6;  // enough for thousands of different openings
constexpr int kMaxOpeningPlies = 40;
constexpr int kMaxJobs = 64;

const char* const kUsage =
    "usage: kaimo-cli match --black NAME --white NAME [--depth N] [--exact N] [--win N] "
    "[--black-depth N] [--black-exact N] [--black-win N] [--white-depth N] [--white-exact N] [--white-win N] "
    "[--games N] [--jobs N] [--seed S] [--plies N]";

// The common depth options, overridden per side by --black-depth and so on.
SideSettings sideFrom(const Args& args, const std::string& colour) {
  SideSettings s{};
  s.routine = tools::routineFromArgument(args.get("--" + colour, ""));
  s.normalDepth = args.getInt("--" + colour + "-depth", args.getInt("--depth", kDefaultNormalDepth, 1, kMaxDepth), 1, kMaxDepth);
  s.exactDepth = args.getInt("--" + colour + "-exact", args.getInt("--exact", kDefaultExactDepth, 0, kSquareCount), 0, kSquareCount);
  s.winDepth = args.getInt("--" + colour + "-win", args.getInt("--win", kDefaultWinDepth, 0, kSquareCount), 0, kSquareCount);
  return s;
}

std::string describe(const SideSettings& s) {
  return std::string(routineTable[s.routine].name) + " (depth " + std::to_string(s.normalDepth) + ", exact " +
         std::to_string(s.exactDepth) + ", win " + std::to_string(s.winDepth) + ")";
}

}  // namespace

int runMatch(const Words& words, std::FILE* out) {
  const Args args = Args::parse(words);
  args.allowOnly({"--black", "--white", "--depth", "--exact", "--win", "--black-depth", "--black-exact", "--black-win",
                  "--white-depth", "--white-exact", "--white-win", "--games", "--jobs", "--seed", "--plies"});
  if (!args.positional.empty() || !args.has("--black") || !args.has("--white")) throw UsageError(kUsage);
  const SideSettings first = sideFrom(args, "black");
  const SideSettings second = sideFrom(args, "white");
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
  const char* firstName = routineTable[first.routine].name;
  const char* secondName = routineTable[second.routine].name;
  std::fprintf(out, "%s vs %s, %d games from %d openings of %d plies\n", describe(first).c_str(),
               describe(second).c_str(), games, openingCount, plies);
  std::fflush(out);

  // A child reports "g black white", or "g failed".
  const auto work = [&](int job, std::FILE* report) {
    for (int g = job; g < games; g += jobs) {
      const bool firstBlack = firstPlaysBlack(g);
      const GameResult r = playMatchGame(openings[g / 2], firstBlack ? first : second, firstBlack ? second : first);
      if (r.failed) {
        std::fprintf(report, "%d failed\n", g);
        return 1;
      }
      std::fprintf(report, "%d %d %d\n", g, r.black, r.white);
    }
    return 0;
  };
  MatchTally tally;
  bool failed = false;
  const auto onLine = [&](int, const std::string& line) {
    int g = 0, black = 0, white = 0;
    if (std::sscanf(line.c_str(), "%d %d %d", &g, &black, &white) != 3) {
      failed = true;
      return;
    }
    const bool firstBlack = firstPlaysBlack(g);
    tally.add(firstBlack ? black : white, firstBlack ? white : black);
    std::fprintf(out, "game %d (opening %d): black %s %d - %d white %s\n", g + 1, g / 2 + 1,
                 firstBlack ? firstName : secondName, black, white, firstBlack ? secondName : firstName);
    std::fflush(out);
  };
  const bool ok = tools::runInProcesses(jobs, work, onLine);
  if (!ok || failed) {
    std::fprintf(stderr, "%s\n", tools::kEvalErrorMessage);
    return 1;
  }
  std::fprintf(out, "%s %d-%d-%d vs %s, score %.1f%%\n", firstName, tally.wins, tally.draws, tally.losses, secondName,
               tally.scorePercent());
  std::fprintf(out, "mean disc margin %+.2f\n", tally.meanMargin());
  return 0;
}

}  // namespace kaimo::cli
