#include "engine/book/opening_book.h"

#include <algorithm>

#include "engine/eval/score.h"
#include "support/kr/kr_error.h"
#include "support/paths/program_paths.h"

namespace kaimo {
namespace {

// Hundredths of a disc of a finished board for `side`, with the wipe-out rule of the searches.
int finalValue(const Board& board, int side) {
  DiscCounts counts;
  boardCount(board, counts);
  const int black = scoreFinal(counts[0], counts[1]) / (SCORE_PER_DISC / 100);
  return side == kBlack ? black : -black;
}

}  // namespace

std::vector<BookStep> bookStepsOf(const Board& board, int side) {
  std::vector<BookStep> steps;
  if (std::find(board.begin(), board.end(), kWall) != board.end()) return steps;
  for (int s = 0; s < kSquareCount; ++s) {
    Board next;
    if (board[s] != kEmpty || boardPlay(board, next, s, side) <= 1) continue;
    BookStep step{s, BookStep::Next::Opponent, {}, 0};
    int mover = opponentOf(side);
    if (boardMobility(next, mover) == 0) {
      mover = side;
      step.next = boardMobility(next, side) == 0 ? BookStep::Next::End : BookStep::Next::Mover;
    }
    if (step.next == BookStep::Next::End) {
      step.endValue = finalValue(next, side);
    } else {
      step.key = *bookKeyOf(next, mover);
    }
    steps.push_back(step);
  }
  return steps;
}

int stepValue(const BookStep& step, int followingValue) {
  switch (step.next) {
    case BookStep::Next::Opponent: return -followingValue;
    case BookStep::Next::Mover: return followingValue;
    case BookStep::Next::End: return step.endValue;
  }
  return 0;
}

OpeningBook::OpeningBook(std::vector<BookEntry> entries) : entries_(std::move(entries)) {}

const BookEntry* OpeningBook::find(const BookKey& key) const {
  const auto at = std::lower_bound(entries_.begin(), entries_.end(), key,
                                   [](const BookEntry& e, const BookKey& k) { return e.key < k; });
  return at != entries_.end() && at->key == key ? &*at : nullptr;
}

std::vector<BookMove> OpeningBook::movesOf(const Board& board, int side) const {
  const std::optional<BookKey> key = bookKeyOf(board, side);
  if (!key || find(*key) == nullptr) return {};
  std::vector<BookMove> moves;
  for (const BookStep& step : bookStepsOf(board, side)) {
    const BookEntry* following = step.next == BookStep::Next::End ? nullptr : find(step.key);
    if (step.next != BookStep::Next::End && following == nullptr) return {};
    moves.push_back({step.square, stepValue(step, following != nullptr ? following->value : 0)});
  }
  std::stable_sort(moves.begin(), moves.end(), [](const BookMove& a, const BookMove& b) { return a.value > b.value; });
  return moves;
}

std::shared_ptr<const OpeningBook> loadOpeningBook(const std::string& path, std::string& fault) {
  std::vector<BookEntry> entries;
  if (!readBookFile(path, entries, fault)) return nullptr;
  return std::make_shared<const OpeningBook>(std::move(entries));
}

std::filesystem::path bookFileIn(const std::filesystem::path& folder) { return folder / kBookFileName; }

std::shared_ptr<const OpeningBook> openingBookOrLog(const std::string& path) {
  std::string fault;
  auto book = loadOpeningBook(path, fault);
  if (!book) logError("定石ファイルが使えないので、定石なしで打ちます: %s\n", fault.c_str());
  return book;
}

std::shared_ptr<const OpeningBook> defaultOpeningBook() {
  static const std::shared_ptr<const OpeningBook> book = openingBookOrLog(bookFileIn(paths::dataFolder()).string());
  return book;
}

}  // namespace kaimo
