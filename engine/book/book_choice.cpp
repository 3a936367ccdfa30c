#include "engine/book/book_choice.h"

#include <algorithm>
#include <map>
#include <utility>

namespace kaimo {

std::vector<BookMove> bookMovesFor(const OpeningBook& book, const Board& board, int side,
                                   const SideSettings& settings) {
  if (settings.readsToEnd(boardEmptyCount(board))) return {};
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

namespace {

// The position after `side` plays `square`, with the side to move next:
// the opponent, or the mover again when the opponent must pass.
std::pair<Board, int> afterMove(const Board& board, int side, int square) {
  Board next;
  boardPlay(board, next, square, side);
  MoveMarks marks;
  const int opponent = opponentOf(side);
  return {next, boardLegalMarks(next, opponent, marks) > 0 ? opponent : side};
}

// The lines below a position: one where the book ends, else the sum over
// its candidates. The count is the same for every image of a position, so
// it is kept by book key: a transposition is walked once.
double linesBelow(const OpeningBook& book, const Board& board, int side, const SideSettings& settings,
                  std::map<BookKey, double>& known) {
  const std::optional<BookKey> key = bookKeyOf(board, side);
  if (!key) return 1;
  if (const auto found = known.find(*key); found != known.end()) return found->second;
  double lines = 0;
  for (const BookMove& move : bookCandidates(book, board, side, settings)) {
    const auto [next, nextSide] = afterMove(board, side, move.square);
    lines += linesBelow(book, next, nextSide, settings, known);
  }
  lines = std::max(lines, 1.0);
  known.emplace(*key, lines);
  return lines;
}

}  // namespace

std::vector<double> bookLinesOf(const OpeningBook& book, const Board& board, int side, const SideSettings& settings,
                                const std::vector<BookMove>& candidates) {
  std::map<BookKey, double> known;
  std::vector<double> lines;
  for (const BookMove& move : candidates) {
    const auto [next, nextSide] = afterMove(board, side, move.square);
    lines.push_back(linesBelow(book, next, nextSide, settings, known));
  }
  return lines;
}

std::optional<BookMove> pickBookMove(const OpeningBook& book, const Board& board, int side,
                                     const SideSettings& settings, std::mt19937_64& random) {
  const std::vector<BookMove> moves = bookCandidates(book, board, side, settings);
  if (moves.empty()) return std::nullopt;
  const std::vector<double> lines = bookLinesOf(book, board, side, settings, moves);
  return moves[std::discrete_distribution<std::size_t>(lines.begin(), lines.end())(random)];
}

}  // namespace kaimo
