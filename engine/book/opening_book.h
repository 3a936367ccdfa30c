// The opening book in memory: the positions of kaimobook.dat, found by key,
// and the moves of a position with the values the book gives them.
//
// A position is in the book, for play, when its own key is there and every
// legal move leads to a position that is there too (or ends the game): the
// book then knows every move's value and can choose among them. A position
// whose moves lead out of the book is where the book stops; the search
// takes over.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/board/board.h"
#include "engine/book/book_file.h"

namespace kaimo {

// One legal move as the book sees what follows it.
struct BookStep {
  enum class Next {
    Opponent,  // the opponent moves next
    Mover,     // the opponent has no move: the mover goes on
    End,       // nobody can move
  };
  int square;
  Next next;
  BookKey key;       // of the position that follows, from its mover's side (not for End)
  int endValue = 0;  // End: the final margin for the mover, hundredths of a disc
};

// The legal moves of `side` in square order; none for a board with a wall.
std::vector<BookStep> bookStepsOf(const Board& board, int side);

// The value of a step for the mover, given the value of the position that
// follows for its own mover (ignored for End).
int stepValue(const BookStep& step, int followingValue);

struct BookMove {
  int square;
  int value;  // hundredths of a disc, for the side to move
};

class OpeningBook {
 public:
  // `entries` in increasing key order, as the file holds them.
  explicit OpeningBook(std::vector<BookEntry> entries);

  std::size_t size() const { return entries_.size(); }
  const std::vector<BookEntry>& entries() const { return entries_; }
  // The entry of `key`, or null.
  const BookEntry* find(const BookKey& key) const;

  // Every legal move of the position with its value, best first (equal
  // values in square order); empty when the position is not in the book.
  std::vector<BookMove> movesOf(const Board& board, int side) const;

 private:
  std::vector<BookEntry> entries_;
};

// The book of a file; null with `fault` set when it cannot be read.
std::shared_ptr<const OpeningBook> loadOpeningBook(const std::string& path, std::string& fault);

// The book in `folder` (kBookFileName), as loadOpeningBook reads it.
std::filesystem::path bookFileIn(const std::filesystem::path& folder);

// The book of a file for the program's play: a book that cannot be read
// (missing, damaged) is logged to errorlog.txt in one line, and the answer
// is null: the program plays without a book.
std::shared_ptr<const OpeningBook> openingBookOrLog(const std::string& path);

// That of the program's data folder (see support/paths), read at the first
// call only, so its failure is logged once.
std::shared_ptr<const OpeningBook> defaultOpeningBook();

// Hundredths of a disc as the search's scores (1000 a disc).
constexpr int bookValueToScore(int hundredths) { return hundredths * 10; }

}  // namespace kaimo
