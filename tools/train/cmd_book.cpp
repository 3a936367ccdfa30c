// kaimo-train book: grows the opening book round by round. Each round scores
// the positions that the cheapest leaves of the book so far lead to (see
// book_tree.h): a deep read of each, and the game the program plays on from
// it against itself. The positions go in chunks of a few; a chunk's file is
// written whole once its positions are scored, so a stopped run resumes where it was and gives
// the same book as a run never stopped, and a larger --rounds grows a
// finished book further.
//
// --shard K/N splits each round's chunks among N runs sharing one folder:
// each makes its own chunks, then waits for the others' before it chooses
// the next round (a round is chosen from all the scores of the rounds
// before). Between them the runs write the very chunks and book of an
// unsplit run. The folder keeps N in book.cfg: runs that split a round
// otherwise would leave chunks no run makes and wait for them forever.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "engine/book/book_file.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "support/files/safe_file.h"
#include "tools/common/cli_args.h"
#include "tools/common/computer_turn.h"
#include "tools/common/limits.h"
#include "tools/train/book_tree.h"
#include "tools/train/chunks.h"
#include "tools/train/folder_lock.h"
#include "tools/train/progress.h"
#include "tools/train/train_commands.h"
#include "tools/train/train_options.h"

namespace kaimo::train {
namespace {

constexpr const char* kSettingsFile = "book.cfg";
constexpr int kMaxRounds = 100000;
// A round's leaves: enough chunks for a few processes, few enough that each
// round still follows the values the round before found.
constexpr int kDefaultLeaves = 16;
// Reads of 12 plies reach the network of "狐" from every position of the
// book: the initial position has 96 empty squares, the network scores 84
// and fewer.
constexpr int kDefaultDepth = 12;
// A chunk of positions is under a minute of work.
constexpr int kDefaultChunk = 8;
// A ply costs as much as giving up one disc: the book grows along the best
// lines, and alternatives within a disc or two of the best get their turn
// a few plies later.
constexpr int kDefaultPlyCost = 100;
// How often a shard looks whether the others have written a chunk: soon at
// first (the others may be just done), then every couple of seconds.
constexpr auto kFirstWait = std::chrono::milliseconds(50);
constexpr auto kLongestWait = std::chrono::milliseconds(2000);

struct BookSettings {
  int routine;
  int depth;      // of the deep read
  int gameDepth;  // normal and exact-read depths of the game played on
  int gameExact;
  int leaves;
  int chunk;
  int plyCost;
  int shards;  // N of --shard K/N
};

std::string describe(const BookSettings& s) {
  char text[256];
  std::snprintf(text, sizeof text,
                "routine %d\ndepth %d\ngame depth %d exact %d\nleaves per round %d\npositions per chunk %d\n"
                "ply cost %d\nshards %d\n",
                s.routine, s.depth, s.gameDepth, s.gameExact, s.leaves, s.chunk, s.plyCost, s.shards);
  return text;
}

int hundredths(int score) { return std::clamp(score / (SCORE_PER_DISC / 100), -kBookValueLimit, kBookValueLimit); }

// The final margin for `side` of the game both sides play on from the
// position as computer turns with `settings`; false when a search fails.
bool playOut(const Board& board, int side, const SideSettings& settings, tools::TurnSearcher& searcher, int& value) {
  const auto choose = [&settings, &searcher](const Board& position, int mover) {
    const tools::TurnResult turn = searcher.play(position, mover, settings);
    return isMarker(turn.value) ? -1 : turn.move;
  };
  const std::optional<Board> end = tools::playToTheEnd(board, side, choose);
  if (!end) return false;
  DiscCounts counts;
  boardCount(*end, counts);
  const int black = hundredths(scoreFinal(counts[0], counts[1]));
  value = side == kBlack ? black : -black;
  return true;
}

// A position's own scores, the mover as black: a deep read, and its game.
bool scorePosition(const BookKey& key, const BookSettings& settings, tools::TurnSearcher& searcher, BookEntry& entry) {
  const Board board = boardOfKey(key);
  const SideSettings read{.routine = settings.routine, .normalDepth = settings.depth, .exactDepth = 0};
  const tools::TurnResult turn = searcher.play(board, kBlack, read);
  const SideSettings game{
      .routine = settings.routine, .normalDepth = settings.gameDepth, .exactDepth = settings.gameExact};
  int gameValue = 0;
  if (isMarker(turn.value) || turn.value == SCORE_NO_MOVE || !playOut(board, kBlack, game, searcher, gameValue))
    return false;
  entry = {key, static_cast<std::int16_t>(gameValue), static_cast<std::int16_t>(gameValue),
           static_cast<std::int16_t>(hundredths(turn.value)), static_cast<std::uint8_t>(turn.depth)};
  return true;
}

std::string chunkFile(const std::string& dir, int round, int chunk) {
  char name[64];
  std::snprintf(name, sizeof name, "book-%04d-%04d.kbook", round, chunk);
  return (std::filesystem::path(dir) / name).string();
}

BookKey initialKey() {
  Board board;
  const int side = boardInit(board);
  return *bookKeyOf(board, side);
}

// The positions of one chunk of a round.
std::vector<BookKey> chunkPositions(const std::vector<BookKey>& round, int chunk, int perChunk) {
  const std::size_t begin = static_cast<std::size_t>(chunk) * perChunk;
  const std::size_t end = std::min(round.size(), begin + perChunk);
  return {round.begin() + static_cast<long>(begin), round.begin() + static_cast<long>(end)};
}

// The entries of a chunk's file when it holds exactly the positions wanted.
bool readChunkFile(const std::string& file, const std::vector<BookKey>& wanted, std::vector<BookEntry>& entries,
                   std::string& fault) {
  if (!readBookFile(file, entries, fault)) return false;
  const bool same =
      entries.size() == wanted.size() && std::equal(entries.begin(), entries.end(), wanted.begin(),
                                                    [](const BookEntry& e, const BookKey& k) { return e.key == k; });
  if (!same) fault = file + " does not hold the positions of its chunk";
  return same;
}

// An empty text, or why the file could not be written.
std::string writeBook(const std::string& file, const std::vector<BookEntry>& entries) {
  const std::string bytes = encodeBook(entries);
  const SafeWriteResult written = writeFileSafely(
      file, [&bytes](std::FILE* f) { return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(); });
  return written.ok() ? "" : "cannot write " + file + ": " + std::strerror(written.systemError);
}

// Scores the positions of a chunk and writes its file. An empty text, or
// why it failed.
std::string makeChunk(const std::string& file, const std::vector<BookKey>& positions, const BookSettings& settings,
                      tools::TurnSearcher& searcher, const std::function<void()>& tick) {
  std::vector<BookEntry> entries(positions.size());
  for (std::size_t i = 0; i < positions.size(); ++i) {
    if (!scorePosition(positions[i], settings, searcher, entries[i]))
      return "a search for a position of " + file + " failed";
    tick();
  }
  return writeBook(file, entries);
}

// Temporary files of chunk writes a stopped run of this shard left half done.
void removeLeftovers(const std::string& dir, const Shard& shard) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    const std::string name = entry.path().filename().string();
    int round = 0, chunk = 0;
    if (std::sscanf(name.c_str(), "book-%d-%d.kbook.tmp-", &round, &chunk) == 2 &&
        name.find(".kbook.tmp-") != std::string::npos && shard.owns(chunk)) {
      std::filesystem::remove(entry.path(), error);
    }
  }
}

class BookRun {
 public:
  BookRun(std::string dir, const BookSettings& settings, const Shard& shard, int jobs, std::FILE* out)
      : dir_(std::move(dir)), settings_(settings), shard_(shard), jobs_(jobs), out_(out) {}

  // Makes round `round` (its positions are `wanted`) and adds its scores.
  bool runRound(int round, const std::vector<BookKey>& wanted) {
    const int chunkCount = static_cast<int>((wanted.size() + settings_.chunk - 1) / settings_.chunk);
    std::vector<int> toMake;
    for (int c = 0; c < chunkCount; ++c) {
      if (shard_.owns(c) && !chunkIsWhole(round, c, chunkPositions(wanted, c, settings_.chunk), true))
        toMake.push_back(c);
    }
    std::fprintf(out_, "round %d: %zu positions in %d chunks; %zu to score here\n", round, wanted.size(), chunkCount,
                 toMake.size());
    std::fflush(out_);
    long units = 0;
    for (const int c : toMake) units += static_cast<long>(chunkPositions(wanted, c, settings_.chunk).size());
    if (!toMake.empty()) {
      const auto work = [&](int chunk, const std::function<void()>& tick) {
        return makeChunk(chunkFile(dir_, round, chunk), chunkPositions(wanted, chunk, settings_.chunk), settings_,
                         searcher_, tick);
      };
      if (!runChunkWork(toMake, jobs_, "book round " + std::to_string(round), units, work)) return false;
    }
    return collectRound(round, wanted, chunkCount);
  }

  BookTree& tree() { return tree_; }

 private:
  bool chunkIsWhole(int round, int chunk, const std::vector<BookKey>& wanted, bool sayWhy) {
    const std::string file = chunkFile(dir_, round, chunk);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(file, error))) return false;
    std::vector<BookEntry> entries;
    std::string fault;
    if (readChunkFile(file, wanted, entries, fault)) return true;
    if (sayWhy) std::fprintf(stderr, "book: %s; it is made again\n", fault.c_str());
    return false;
  }

  // Adds every chunk of the round, waiting for those of other shards; a
  // damaged one is made again here (any run makes the same file).
  bool collectRound(int round, const std::vector<BookKey>& wanted, int chunkCount) {
    bool toldWaiting = false;
    for (int c = 0; c < chunkCount; ++c) {
      auto wait = kFirstWait;
      const std::vector<BookKey> positions = chunkPositions(wanted, c, settings_.chunk);
      const std::string file = chunkFile(dir_, round, c);
      std::vector<BookEntry> entries;
      std::string fault;
      for (;;) {
        std::error_code error;
        const bool present = std::filesystem::exists(std::filesystem::symlink_status(file, error));
        if (present && readChunkFile(file, positions, entries, fault)) break;
        if (present) {
          std::fprintf(stderr, "book: %s; it is made again\n", fault.c_str());
          const std::string failure = makeChunk(file, positions, settings_, searcher_, [] {});
          if (!failure.empty()) {
            std::fprintf(stderr, "book: %s\n", failure.c_str());
            return false;
          }
          continue;
        }
        if (!toldWaiting) {
          std::fprintf(stderr, "book: round %d waits for the chunks of other shards\n", round);
          toldWaiting = true;
        }
        std::this_thread::sleep_for(wait);
        wait = std::min(2 * wait, kLongestWait);
      }
      tree_.add(entries);
    }
    return true;
  }

  std::string dir_;
  BookSettings settings_;
  tools::TurnSearcher searcher_;  // each process of the pool makes its own table
  Shard shard_;
  int jobs_;
  std::FILE* out_;
  BookTree tree_;
};

}  // namespace

const tools::CommandSyntax& bookSyntax() {
  using tools::integerOption;
  static const tools::CommandSyntax syntax{
      kProgram,
      "book",
      "",
      {dirOption("the folder of the book's chunks and kaimobook.dat"),
       tools::required(integerOption("--rounds", "N", 1, 1, kMaxRounds, "rounds of growth, round 0 included")),
       integerOption("--leaves", "N", kDefaultLeaves, 1, 100000, "positions expanded a round"),
       integerOption("--depth", "N", kDefaultDepth, 1, tools::kMaxNormalDepth, "plies of each position's deep read"),
       integerOption("--game-depth", "N", tools::kDefaultNormalDepth, 1, tools::kMaxNormalDepth,
                     "normal depth of each position's game"),
       integerOption("--game-exact", "N", tools::kDefaultExactDepth, 0, tools::kMaxReadEmpties,
                     "exact-read depth of each position's game"),
       tools::routineOption("--routine", "狐", "the routine that reads and plays"),
       integerOption("--chunk", "N", kDefaultChunk, 1, 100000, "positions a chunk file"),
       integerOption("--ply-cost", "HUNDREDTHS", kDefaultPlyCost, 0, 10000,
                     "a position's cost a ply, in hundredths of a disc"),
       jobsOption(), shardOption()}};
  return syntax;
}

int runBook(const tools::Words& words, std::FILE* out) {
  const tools::Args args = tools::Args::parse(bookSyntax(), words);
  if (!args.positional.empty()) throw args.usageError();
  const std::string dir = args.getPath("--dir");
  const int rounds = args.getInt("--rounds");
  BookSettings settings;
  settings.routine = tools::routineFromArgument(args.get("--routine"));
  settings.depth = args.getInt("--depth");
  settings.gameDepth = args.getInt("--game-depth");
  settings.gameExact = args.getInt("--game-exact");
  settings.leaves = args.getInt("--leaves");
  settings.chunk = args.getInt("--chunk");
  settings.plyCost = args.getInt("--ply-cost");
  const int jobs = args.getInt("--jobs");
  const Shard shard = parseShard(args.get("--shard"));
  settings.shards = shard.count;

  std::error_code error;
  std::filesystem::create_directories(dir, error);
  // The shards of a book share its folder: one run at a time per shard.
  FolderLock lock;
  const std::string lockName = "book-" + std::to_string(shard.index) + ".lock";
  if (const int status = lockFolder("book", dir, lockName, lock); status != 0) return status;
  const std::string settingsFile = (std::filesystem::path(dir) / kSettingsFile).string();
  const bool made = holdsFilesOf(dir, "book", ".kbook");
  if (const int status = keepSettings("book", settingsFile, describe(settings), made); status != 0) return status;
  removeLeftovers(dir, shard);

  const auto start = std::chrono::steady_clock::now();
  const BookKey root = initialKey();
  BookRun run(dir, settings, shard, jobs, out);
  for (int round = 0; round < rounds; ++round) {
    std::vector<BookKey> positions{root};
    if (round > 0) {
      run.tree().evaluate(root, settings.plyCost);
      positions = run.tree().positionsAfter(run.tree().cheapestLeaves(static_cast<std::size_t>(settings.leaves)));
    }
    if (!run.runRound(round, positions)) return 1;
  }
  run.tree().evaluate(root, settings.plyCost);
  const BookTree::Summary s = run.tree().summary(root);
  std::fprintf(out,
               "book: %zu positions, %zu in play; deepest position %d plies from the start (in play %d); "
               "best line %d plies; reads of %d plies, games at %d (exact %d); %s\n",
               s.positions, s.inPlay, s.deepestPly, s.deepestPlayPly, s.bestLinePlies, settings.depth,
               settings.gameDepth, settings.gameExact,
               formatDuration(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()).c_str());
  if (shard.index != 0) return 0;
  // One shard writes the book, so two never race to replace it.
  const std::string bookFile = (std::filesystem::path(dir) / kBookFileName).string();
  const std::vector<BookEntry> entries = run.tree().entries();
  if (const std::string failure = writeBook(bookFile, entries); !failure.empty()) {
    std::fprintf(stderr, "kaimo-train book: %s\n", failure.c_str());
    return 1;
  }
  std::fprintf(out, "wrote %s (%zu positions)\n", bookFile.c_str(), entries.size());
  return 0;
}

}  // namespace kaimo::train
