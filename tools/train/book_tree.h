// The opening book as the trainer grows it: every position scored so far,
// with its own game and deep read, joined by the legal moves between them.
//
// Values are backed up by negamax: a position whose every move leads to a
// position of the book (or ends the game) is worth its best move; any other
// is worth its own game (what the program makes of it when it plays on
// against itself). Growth follows the most promising leaves: a
// position's cost is the least, over the lines from the initial position, of
// what the moves on the way give up against the best move where they are
// played (in hundredths of a disc, both sides' moves counted), plus a fixed
// cost per ply. The leaves of least cost are those a game between good
// players most likely reaches, nearest the initial position first.
#pragma once

#include <map>
#include <vector>

#include "engine/book/opening_book.h"

namespace kaimo::train {

class BookTree {
 public:
  // Adds positions with their own scores (each entry's gameValue, readValue
  // and readDepth; its value is ignored). A position already held stays as
  // it is.
  void add(const std::vector<BookEntry>& scored);
  bool contains(const BookKey& key) const { return nodes_.count(key) != 0; }
  std::size_t size() const { return nodes_.size(); }

  // Backs the values up and finds every position's cost and its fewest
  // plies from `root`; run it after adding and before the questions below.
  void evaluate(const BookKey& root, int plyCost);

  // The `count` leaves of least cost (equal costs in key order).
  std::vector<BookKey> cheapestLeaves(std::size_t count) const;
  // The positions the moves of `leaves` lead to that the book lacks, in key order.
  std::vector<BookKey> positionsAfter(const std::vector<BookKey>& leaves) const;

  // Every position with its backed-up value, in key order: the book file.
  std::vector<BookEntry> entries() const;

  struct Summary {
    std::size_t positions = 0;
    std::size_t inPlay = 0;  // positions whose every move leads into the book
    int deepestPly = 0;      // the most plies from the root to a position, along its shortest line
    int deepestPlayPly = 0;  // the same for the positions in play
    int bestLinePlies = 0;   // the plies of the best line from the root, until it leaves the book
  };
  Summary summary(const BookKey& root) const;

 private:
  struct Node {
    int gameValue = 0;
    int readValue = 0;
    int readDepth = 0;
    std::vector<BookStep> steps;
    int discs = 0;
    bool expanded = false;
    int value = 0;
    long cost = 0;
    int ply = 0;
  };
  static constexpr long kUnreached = -1;

  bool isExpanded(const Node& node) const;
  int valueOf(const BookStep& step) const;

  std::map<BookKey, Node> nodes_;
};

}  // namespace kaimo::train
