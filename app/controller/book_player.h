// The opening book as the controller plays from it: while the book is on
// and the position is in it, a computer side that reads normally plays one
// of the book's close moves at once (at random, seeded from the time)
// instead of searching, and the hint shows the book's values. No book
// (null) or the book off: always a search.
#pragma once

#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "engine/book/book_choice.h"
#include "engine/book/opening_book.h"
#include "engine/search/search_driver.h"

namespace kaimo {

class BookPlayer {
 public:
  BookPlayer();

  // The book, shared and read-only.
  void setBook(std::shared_ptr<const OpeningBook> book) { book_ = std::move(book); }
  void setEnabled(bool on) { enabled_ = on; }
  bool enabled() const { return enabled_; }

  // The move a side with `settings` plays from the book here, if any.
  std::optional<BookMove> pickMove(const Board& board, int side, const SideSettings& settings);
  // Every legal move with the book's value, best first; empty when the
  // book has nothing to say here.
  std::vector<BookMove> movesHere(const Board& board, int side, const SideSettings& settings) const;

 private:
  std::shared_ptr<const OpeningBook> book_;
  bool enabled_ = true;
  std::mt19937_64 random_;
};

}  // namespace kaimo
