#include <algorithm>
#include <cinttypes>
#include <cstdlib>
#include <filesystem>

#include "engine/book/book_file.h"
#include "engine/eval/routines.h"
#include "engine/search/probcut.h"
#include "support/paths/program_paths.h"
#include "tools/cli/commands.h"
#include "tools/cli/match_games.h"
#include "tools/cli/side_options.h"
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

// --black-book (or --white-book), else --book, else off.
bool bookWanted(const Args& args, const std::string& colour) {
  const std::string own = "--" + colour + "-book";
  return args.isOn(args.has(own) ? own : "--book");
}

// The book of the side's data folder; a book that cannot be read is refused.
std::shared_ptr<const OpeningBook> bookOf(const MatchPlayer& player) {
  const std::filesystem::path folder =
      player.dataFolder.empty() ? paths::dataFolder() : std::filesystem::path(player.dataFolder);
  const std::string file = bookFileIn(folder).string();
  std::string fault;
  auto book = loadOpeningBook(file, fault);
  if (!book) throw UsageError("the opening book cannot be read: " + fault);
  return book;
}

MatchPlayer playerFrom(const Args& args, const std::string& colour) {
  MatchPlayer player;
  const SideOptions side = sideOptionsFrom(args, colour, tools::routineFromArgument(args.get("--" + colour)));
  player.settings = side.settings;
  player.msPerMove = side.msPerMove;
  player.clock = side.clock;
  player.level = side.level;
  player.threads = side.threads;
  const std::string data = "--" + colour + "-data";
  const bool fox = routineTable[player.settings.routine].evaluation == Evaluation::Pattern;
  if (args.has(data) && !fox) throw UsageError(data + " is for 狐, which reads data files");
  if (!args.has(data)) {
    player.evaluator = routineEvaluator(player.settings.routine);
  } else {
    player.dataFolder = args.getPath(data);
    player.evaluator = tools::foxEvaluatorFrom(player.dataFolder);
  }
  if (bookWanted(args, colour)) player.book = bookOf(player);
  return player;
}

// Reads the player's ProbCut table now, once for every worker, and says so
// when there is none: the player then reads in full, and its settings (and
// so the match's header) say so too.
void loadProbCut(MatchPlayer& player) {
  const std::filesystem::path* folder = player.evaluator.probCutFolder();
  if (!player.settings.probCut || folder == nullptr || probCutTableIn(*folder) != nullptr) return;
  std::fprintf(stderr, "kaimo-cli match: no ProbCut table (%s) for 狐 in '%s': it reads without ProbCut\n",
               ProbCutTable::kFileName, folder->empty() ? "." : folder->c_str());
  player.settings.probCut = false;
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
  std::string text = describeSide({player.settings, player.msPerMove, player.clock, player.threads, player.level});
  if (!player.dataFolder.empty()) text.insert(text.size() - 1, ", data " + player.dataFolder);
  if (player.book) text.insert(text.size() - 1, ", book");
  return text;
}

// A game's line from a worker: "g black white loss", the colour that
// lost on time (-1 none), each colour's moves, processor time, reads to a
// depth, the sum of their depths, their processor time, its moves from the
// book and its longest move's time, then the squares played.
void printGameLine(std::FILE* report, int game, const GameResult& r) {
  std::fprintf(report, "%d %d %d %d", game, r.black, r.white, r.timeLoss);
  for (const MoveTally* t : {&r.blackMoves, &r.whiteMoves}) {
    std::fprintf(report, " %d %" PRId64 " %d %ld %" PRId64 " %d %" PRId64, t->moves, t->cpuMsec, t->normalReads,
                 t->depthSum, t->normalCpuMsec, t->bookMoves, t->maxMsec);
  }
  for (const int move : r.moves) std::fprintf(report, " %d", move);
  std::fprintf(report, "\n");
}

bool parseGameLine(const std::string& line, int& game, GameResult& r) {
  MoveTally& b = r.blackMoves;
  MoveTally& w = r.whiteMoves;
  int used = 0;
  if (std::sscanf(line.c_str(),
                  "%d %d %d %d %d %" SCNd64 " %d %ld %" SCNd64 " %d %" SCNd64 " %d %" SCNd64 " %d %ld %" SCNd64
                  " %d %" SCNd64 "%n",
                  &game, &r.black, &r.white, &r.timeLoss, &b.moves, &b.cpuMsec, &b.normalReads, &b.depthSum,
                  &b.normalCpuMsec, &b.bookMoves, &b.maxMsec, &w.moves, &w.cpuMsec, &w.normalReads, &w.depthSum,
                  &w.normalCpuMsec, &w.bookMoves, &w.maxMsec, &used) != 18) {
    return false;
  }
  for (int move = 0, n = 0; std::sscanf(line.c_str() + used, "%d%n", &move, &n) == 1; used += n)
    r.moves.push_back(move);
  return true;
}

void printMoveSummary(std::FILE* out, const char* which, const char* name, const MoveTally& t) {
  std::fprintf(out, "%s %s: %d reads to a depth, mean depth %.2f, mean time %.1f ms; all %d moves, mean time %.1f ms\n",
               which, name, t.normalReads, t.meanDepth(), t.meanNormalMsec(), t.moves, t.meanMsec());
}

// The clocks: black and white name the players of --black and --white,
// whichever colour they had in a game.
void printTimeSummary(std::FILE* out, const int timeLosses[2], const MoveTally& first, const MoveTally& second) {
  std::fprintf(out, "time losses: black %d, white %d\n", timeLosses[0], timeLosses[1]);
  std::fprintf(out, "time per move: black mean %.1f ms, largest %" PRId64 " ms; white mean %.1f ms, largest %" PRId64
               " ms\n", first.meanMsec(), first.maxMsec, second.meanMsec(), second.maxMsec);
}

}  // namespace

const CommandSyntax& matchSyntax() {
  using tools::integerOption;
  using tools::pathOption;
  using tools::required;
  static const CommandSyntax syntax{
      kProgram, "match", "",
      tools::joinOptions(
          {{required(tools::routineOption("--black", nullptr, "the first player's routine, black in the first game")),
            required(tools::routineOption("--white", nullptr, "the second player's routine"))},
           sideOptions(true),
           {pathOption("--black-data", "DIR", "the data of the first player's 狐"),
            pathOption("--white-data", "DIR", "the data of the second player's 狐"),
            tools::forEachColour(tools::switchOption("--book", false, "moves from the opening book")),
            integerOption("--games", "N", kDefaultGames, 1, kMaxGames, "games, each opening played with both colours"),
            integerOption("--jobs", "N", 1, 1, kMaxJobs, "processes sharing the games"),
            integerOption("--seed", "S", 1, 0, 2147483647, "seed of the openings and the book's choices"),
            integerOption("--plies", "N", kDefaultOpeningPlies, 0, kMaxOpeningPlies,
                          "random plies of each opening")}})};
  return syntax;
}

int runMatch(const Words& words, std::FILE* out) {
  const Args args = Args::parse(matchSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  MatchPlayer first = playerFrom(args, "black");
  MatchPlayer second = playerFrom(args, "white");
  loadProbCut(first);
  loadProbCut(second);
  const int games = args.getInt("--games");
  const int jobs = std::min(args.getInt("--jobs"), games);
  const auto seed = static_cast<std::uint64_t>(args.getInt("--seed"));
  const int plies = args.getInt("--plies");

  const int openingCount = (games + 1) / 2;
  const std::vector<Opening> openings = randomOpenings(openingCount, plies, seed);
  if (static_cast<int>(openings.size()) < openingCount) {
    std::fprintf(stderr, "kaimo-cli match: only %zu different openings of %d plies\n", openings.size(), plies);
    return 2;
  }
  const char* firstName = routineTable[first.settings.routine].name;
  const char* secondName = routineTable[second.settings.routine].name;
  const std::string from = plies == 0
                               ? "the initial position"
                               : std::to_string(openingCount) + " openings of " + std::to_string(plies) + " plies";
  std::fprintf(out, "%s vs %s, %d games from %s\n", describe(first).c_str(), describe(second).c_str(), games,
               from.c_str());
  std::fflush(out);

  // A child reports a game line (see printGameLine), or "g failed".
  const auto work = [&](int job, std::FILE* report) {
    tools::TurnSearcher searcher;
    for (int g = job; g < games; g += jobs) {
      const bool firstBlack = firstPlaysBlack(g);
      std::mt19937_64 random = gameRandom(seed, g);
      const GameResult r =
          playMatchGame(openings[g / 2], firstBlack ? first : second, firstBlack ? second : first, searcher, random);
      if (r.failed) {
        std::fprintf(report, "%d failed\n", g);
        return 1;
      }
      printGameLine(report, g, r);
    }
    return 0;
  };
  MatchTally tally;
  MoveTally firstMoves, secondMoves;
  int timeLosses[2] = {0, 0};  // of the first and the second player
  std::vector<bool> finished(static_cast<std::size_t>(games), false);
  std::vector<std::pair<Board, std::vector<int>>> played;
  bool evaluationFailed = false;
  const auto onLine = [&](int, const std::string& line) {
    int g = 0;
    GameResult r;
    if (!parseGameLine(line, g, r) || g < 0 || g >= games) {
      evaluationFailed = true;
      return;
    }
    const int black = r.black, white = r.white;
    finished[static_cast<std::size_t>(g)] = true;
    const bool firstBlack = firstPlaysBlack(g);
    const int firstColour = firstBlack ? kBlack : kWhite;
    if (r.timeLoss >= 0) ++timeLosses[r.timeLoss == firstColour ? 0 : 1];
    tally.add(firstBlack ? black : white, firstBlack ? white : black, r.timeLoss == firstColour,
              r.timeLoss == opponentOf(firstColour));
    firstMoves.add(firstBlack ? r.blackMoves : r.whiteMoves);
    secondMoves.add(firstBlack ? r.whiteMoves : r.blackMoves);
    played.emplace_back(openings[g / 2].board, std::move(r.moves));
    std::fprintf(out, "game %d (opening %d): black %s %d - %d white %s%s\n", g + 1, g / 2 + 1,
                 firstBlack ? firstName : secondName, black, white, firstBlack ? secondName : firstName,
                 r.timeLoss < 0 ? "" : r.timeLoss == kBlack ? ", black lost on time" : ", white lost on time");
    std::fflush(out);
  };
  const std::vector<tools::WorkerEnd> ends = tools::runInProcesses(jobs, work, onLine);
  // The games that did finish are scored whatever happened to the others.
  std::fprintf(out, "%s %d-%d-%d vs %s, score %.1f%%\n", firstName, tally.wins, tally.draws, tally.losses, secondName,
               tally.scorePercent());
  std::fprintf(out, "mean disc margin %+.2f\n", tally.meanMargin());
  printMoveSummary(out, "first", firstName, firstMoves);
  printMoveSummary(out, "second", secondName, secondMoves);
  printTimeSummary(out, timeLosses, firstMoves, secondMoves);
  const DistinctGames distinct = countDistinctGames(played);
  std::fprintf(out, "%d different games (%d up to rotations and reflections)\n", distinct.asPlayed,
               distinct.upToSymmetry);
  if (first.book || second.book) {
    const double count = std::max(1, tally.games());
    std::fprintf(out, "book moves a game: %s %.1f, %s %.1f\n", firstName, firstMoves.bookMoves / count, secondName,
                 secondMoves.bookMoves / count);
  }
  std::fflush(out);
  if (tally.games() == games && !evaluationFailed) return 0;
  reportMissingGames(ends, evaluationFailed, finished);
  return 1;
}

}  // namespace kaimo::cli
