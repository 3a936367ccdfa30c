#include "engine/search/stable_discs.h"

#include <array>

namespace kaimo {
namespace {

constexpr Bits rowsFrom(int first, int last) {
  Bits mask = 0;
  for (int row = first; row <= last; ++row) {
    for (int column = 0; column < kBoardSize; ++column) mask |= Bits{1} << squareAt(column, row);
  }
  return mask;
}

// The four lines through a square go by the index step between neighbours:
// the column (1: next row), the row (10: next column), and the diagonals
// (11: both next; 9: next column, row before). A step changes the row by
// `rowChangeOf`; a step that would cross a row's end leaves the board.
constexpr int rowChangeOf(int step) { return step == 10 ? 0 : step == 9 ? -1 : 1; }

// The squares k steps forward along `Step` from which the step stays on the
// board: those whose row allows k row changes.
template <int Step>
constexpr Bits forwardFrom(int k) {
  const int change = rowChangeOf(Step);
  return change > 0 ? rowsFrom(0, 9 - k) : change < 0 ? rowsFrom(k, 9) : kAllSquares;
}

template <int Step>
constexpr Bits backwardFrom(int k) {
  const int change = rowChangeOf(Step);
  return change > 0 ? rowsFrom(k, 9) : change < 0 ? rowsFrom(0, 9 - k) : kAllSquares;
}

// The squares whose neighbour k steps forward (or back) along `Step` is in
// `b`.
template <int Step, int K>
constexpr Bits forward(Bits b) {
  return (b >> (K * Step)) & forwardFrom<Step>(K);
}

template <int Step, int K>
constexpr Bits backward(Bits b) {
  return (b << (K * Step)) & backwardFrom<Step>(K);
}

// The four lines through each square: along the column (step 1), the row
// (10), and the diagonals (11 and 9), each to both ends of the board.
template <int Step>
constexpr Bits lineThrough(int square) {
  const Bits start = Bits{1} << square;
  Bits line = start;
  for (Bits ahead = start; (ahead = forward<Step, 1>(ahead)) != 0;) line |= ahead;
  for (Bits behind = start; (behind = backward<Step, 1>(behind)) != 0;) line |= behind;
  return line;
}

// Something along each of the four lines.
struct Lines {
  Bits column, row, diagonal, antiDiagonal;
};

constexpr std::array<Lines, kSquareCount> makeLines() {
  std::array<Lines, kSquareCount> lines{};
  for (int s = 0; s < kSquareCount; ++s) {
    lines[s] = {lineThrough<1>(s), lineThrough<10>(s), lineThrough<11>(s), lineThrough<9>(s)};
  }
  return lines;
}

constexpr std::array<Lines, kSquareCount> kLines = makeLines();

// Along `Step`, the squares with the board's end or a wall next to them.
template <int Step>
inline Bits besideAnEnd(Bits squares) {
  return ~(forward<Step, 1>(squares) & backward<Step, 1>(squares));
}

// Along `Step`, the squares next to a disc of `stable`.
template <int Step>
inline Bits nextTo(Bits stable) {
  return forward<Step, 1>(stable) | backward<Step, 1>(stable);
}

// Along each line, the squares a disc is protected on by the line alone: a
// line with no empty square, or the board's end or a wall beside it.
Lines protectionOf(Bits discs, Bits other, Bits empty) {
  // A line holding an empty square protects nothing; the few empty squares
  // of an endgame mark theirs from a table of lines.
  Lines open{};
  for (Bits rest = empty; rest != 0; rest &= rest - 1) {
    const Lines& lines = kLines[lowestSquare(rest)];
    open.column |= lines.column;
    open.row |= lines.row;
    open.diagonal |= lines.diagonal;
    open.antiDiagonal |= lines.antiDiagonal;
  }
  const Bits squares = discs | other | empty;
  return {~open.column | besideAnEnd<1>(squares), ~open.row | besideAnEnd<10>(squares),
          ~open.diagonal | besideAnEnd<11>(squares), ~open.antiDiagonal | besideAnEnd<9>(squares)};
}

// The discs protected along every line, by the line or by a neighbour in
// `stable`.
inline Bits protectedDiscs(Bits discs, const Lines& by, Bits stable) {
  return discs & (by.column | nextTo<1>(stable)) & (by.row | nextTo<10>(stable)) & (by.diagonal | nextTo<11>(stable)) &
         (by.antiDiagonal | nextTo<9>(stable));
}

// The rule applied from no stable disc until no disc is added.
Bits fewestStable(Bits discs, const Lines& by) {
  Bits stable = protectedDiscs(discs, by, 0);
  if (stable == 0) return 0;
  for (;;) {
    const Bits grown = protectedDiscs(discs, by, stable);
    if (grown == stable) return stable;
    stable = grown;
  }
}

}  // namespace

Bits stableDiscs(Bits discs, Bits other, Bits empty) { return fewestStable(discs, protectionOf(discs, other, empty)); }

}  // namespace kaimo
