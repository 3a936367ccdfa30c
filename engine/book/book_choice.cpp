#include "engine/book/book_choice.h"

namespace kaimo {

std::vector<BookMove> bookMovesFor(const OpeningBook& book, const Board& board, int side,
                                   const SideSettings& settings) {
  DiscCounts counts;
  boardCount(board, counts);
  const int empties = counts[2];
  if (empties <= settings.exactDepth || empties <= settings.winDepth) return {};
  return book.movesOf(board, side);
}

std::vector<BookMove> bookCandidates(const OpeningBook& book, const Board& board, int side,
                                     const SideSettings& settings) {
  std::vector<BookMove> moves = bookMovesFor(book, board, side, settings);
  if (moves.empty()) return moves;
  const int lowest = moves.front().value - kBookMargin;
  std::erase_if(moves, [lowest](const BookMove& m) { return m.value < lowest; });
  return moves;
}

std::optional<BookMove> pickBookMove(const OpeningBook& book, const Board& board, int side,
                                     const SideSettings& settings, std::mt19937_64& random) {
  const std::vector<BookMove> moves = bookCandidates(book, board, side, settings);
  if (moves.empty()) return std::nullopt;
  return moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)];
}

}  // namespace kaimo
