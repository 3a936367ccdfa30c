// kaimo-cli book: the opening book's moves for a position, and how its values
// compare with deeper reads.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>

#include "engine/board/notation.h"
#include "engine/book/book_choice.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "support/paths/program_paths.h"
#include "tools/cli/commands.h"
#include "tools/cli/position_args.h"
#include "tools/common/computer_turn.h"
#include "tools/common/limits.h"
#include "tools/common/process_pool.h"

namespace kaimo::cli {
namespace {

constexpr int kDefaultCheckPositions = 50;
constexpr int kDefaultCheckDepth = 14;  // two plies beyond the book's own reads
constexpr int kMaxJobs = 64;

double discs(int hundredths) { return hundredths / 100.0; }

std::shared_ptr<const OpeningBook> bookFrom(const Args& args) {
  const std::string file = args.has("--book") ? args.getPath("--book") : bookFileIn(paths::dataFolder()).string();
  std::string fault;
  auto book = loadOpeningBook(file, fault);
  if (!book) std::fprintf(stderr, "kaimo-cli book: the opening book cannot be read: %s\n", fault.c_str());
  return book;
}

int showBook(const Args& args, std::FILE* out) {
  if (args.positional.size() != 1) throw args.usageError();
  const Position position = positionFrom(args);
  const auto book = bookFrom(args);
  if (!book) return 2;
  const std::optional<BookKey> key = bookKeyOf(position.board, position.side);
  const BookEntry* entry = key ? book->find(*key) : nullptr;
  if (entry == nullptr) {
    std::fprintf(out, "not in the book (%zu positions)\n", book->size());
    return 1;
  }
  const std::vector<BookMove> moves = book->movesOf(position.board, position.side);
  std::fprintf(out, "%s: value %+.2f for the side to move; its own game %+.2f, its own read of %d plies %+.2f\n",
               moves.empty() ? "the book ends here" : "in the book", discs(entry->value), discs(entry->gameValue),
               entry->readDepth, discs(entry->readValue));
  if (moves.empty()) return 1;
  // Marked: the moves a computer side that does not read this position to
  // the end chooses from.
  const SideSettings readsNormally{};
  const std::vector<BookMove> candidates = bookCandidates(*book, position.board, position.side, readsNormally);
  for (const BookMove& move : moves) {
    const bool close = std::any_of(candidates.begin(), candidates.end(),
                                   [&](const BookMove& candidate) { return candidate.square == move.square; });
    std::fprintf(out, "%s %+.2f%s\n", squareName(move.square).c_str(), discs(move.value), close ? " *" : "");
  }
  return 0;
}

struct CheckSample {
  std::vector<const BookEntry*> inPlay;
  std::vector<const BookEntry*> ends;
};

// Up to `count` positions of each kind, chosen at random with `seed`.
CheckSample sampleOf(const OpeningBook& book, int count, std::uint64_t seed) {
  CheckSample all;
  for (const BookEntry& e : book.entries()) {
    (book.movesOf(boardOfKey(e.key), kBlack).empty() ? all.ends : all.inPlay).push_back(&e);
  }
  std::mt19937_64 random(seed);
  for (auto* kind : {&all.inPlay, &all.ends}) {
    std::shuffle(kind->begin(), kind->end(), random);
    if (static_cast<int>(kind->size()) > count) kind->resize(static_cast<std::size_t>(count));
  }
  return all;
}

struct Differences {
  double sum = 0, absoluteSum = 0;
  int count = 0;
  void add(int difference) {
    sum += discs(difference);
    absoluteSum += std::fabs(discs(difference));
    ++count;
  }
  void print(std::FILE* out, const char* what) const {
    if (count == 0) return;
    std::fprintf(out, "  %s: mean %+.2f, mean absolute %.2f discs\n", what, sum / count, absoluteSum / count);
  }
};

int checkBook(const Args& args, std::FILE* out) {
  if (args.positional.size() != 1) throw args.usageError();
  const int count = args.getInt("--positions");
  const int depth = args.getInt("--depth");
  const auto seed = static_cast<std::uint64_t>(args.getInt("--seed"));
  const int jobs = args.getInt("--jobs");
  const auto book = bookFrom(args);
  if (!book) return 2;
  const CheckSample sample = sampleOf(*book, count, seed);
  std::vector<const BookEntry*> positions = sample.inPlay;
  positions.insert(positions.end(), sample.ends.begin(), sample.ends.end());
  const SideSettings deep{.routine = routineIndexOf("狐"), .normalDepth = depth, .exactDepth = 0};

  // A child reports "index value" in hundredths, or "index failed".
  const auto work = [&](int job, std::FILE* report) {
    tools::TurnSearcher searcher;
    for (std::size_t i = static_cast<std::size_t>(job); i < positions.size(); i += static_cast<std::size_t>(jobs)) {
      const tools::TurnResult turn = searcher.play(boardOfKey(positions[i]->key), kBlack, deep);
      if (isMarker(turn.value)) {
        std::fprintf(report, "%zu failed\n", i);
        return 1;
      }
      std::fprintf(report, "%zu %d\n", i, turn.value / (SCORE_PER_DISC / 100));
    }
    return 0;
  };
  Differences bookInPlay, readInPlay, bookAtEnds, readAtEnds;
  bool failed = false;
  const auto onLine = [&](int, const std::string& line) {
    std::size_t i = 0;
    int read = 0;
    if (std::sscanf(line.c_str(), "%zu %d", &i, &read) != 2 || i >= positions.size()) {
      failed = true;
      return;
    }
    const BookEntry& e = *positions[i];
    const bool inPlay = i < sample.inPlay.size();
    (inPlay ? bookInPlay : bookAtEnds).add(e.value - read);
    (inPlay ? readInPlay : readAtEnds).add(e.readValue - read);
  };
  const int workers = std::min(jobs, static_cast<int>(positions.size()));
  if (failed || !tools::allSucceeded(tools::runInProcesses(workers, work, onLine))) {
    std::fprintf(stderr, "%s\n", tools::kEvalErrorMessage);
    return 1;
  }
  std::fprintf(out, "%d positions in play and %d where the book ends, against reads of %d plies by 狐:\n",
               bookInPlay.count, bookAtEnds.count, depth);
  bookInPlay.print(out, "in play, the book's value");
  readInPlay.print(out, "in play, the position's own read");
  bookAtEnds.print(out, "where the book ends, the book's value (its own game)");
  readAtEnds.print(out, "where the book ends, the position's own read");
  return 0;
}

// "show" or "check": the first word that is neither an option nor its value
// (every option takes one).
std::string firstOperand(const Words& words) {
  for (std::size_t i = 0; i < words.size(); i += 2) {
    if (words[i].size() <= 2 || words[i].compare(0, 2, "--") != 0) return words[i];
  }
  return "";
}

tools::OptionSyntax bookFileOption() {
  return tools::pathOption("--book", "FILE", "the book file (kaimobook.dat of the data folder unless given)");
}

}  // namespace

const CommandSyntax& bookShowSyntax() {
  static const CommandSyntax syntax{kProgram, "book show", "[position]",
                                    tools::joinOptions({positionOptions(), {bookFileOption()}})};
  return syntax;
}

const CommandSyntax& bookCheckSyntax() {
  using tools::integerOption;
  static const CommandSyntax syntax{
      kProgram,
      "book check",
      "",
      {bookFileOption(),
       integerOption("--positions", "N", kDefaultCheckPositions, 1, 100000, "positions of each kind, chosen at random"),
       integerOption("--depth", "N", kDefaultCheckDepth, 1, tools::kMaxNormalDepth, "plies of the reads by 狐"),
       integerOption("--seed", "S", 1, 0, 2147483647, "seed of the random choice"),
       integerOption("--jobs", "N", 1, 1, kMaxJobs, "processes sharing the reads")}};
  return syntax;
}

int runBook(const Words& words, std::FILE* out) {
  const std::string form = firstOperand(words);
  if (form == "show") return showBook(Args::parse(bookShowSyntax(), words), out);
  if (form == "check") return checkBook(Args::parse(bookCheckSyntax(), words), out);
  throw UsageError(bookShowSyntax().usage() + " | " + bookCheckSyntax().usage().substr(std::strlen("usage: ")));
}

}  // namespace kaimo::cli
