#include "engine/search/stable_discs.h"


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
inline Bits forward(Bits b) {
  return (b >> (K * Step)) & forwardFrom<Step>(K);
}

template <int Step, int K>
inline Bits backward(Bits b) {
  return (b << (K * Step)) & backwardFrom<Step>(K);
}

// The whole lines along `Step` through the squares of `b`: each doubling
// reaches twice as far, and nine steps cross the board.
template <int Step>
inline Bits linesThrough(Bits b) {
  b |= forward<Step, 1>(b) | backward<Step, 1>(b);
  b |= forward<Step, 2>(b) | backward<Step, 2>(b);
  b |= forward<Step, 4>(b) | backward<Step, 4>(b);
  return b | forward<Step, 8>(b) | backward<Step, 8>(b);
}

// Along `Step`, the squares that line alone protects: a line without an
// empty square, or the edge or a wall next to them. `squares` are those
// that are not walls.
template <int Step>
inline Bits protectedAlong(Bits empty, Bits squares) {
  return ~linesThrough<Step>(empty) | ~(forward<Step, 1>(squares) & backward<Step, 1>(squares));
}

// Along `Step`, the squares next to a disc of `stable`.
template <int Step>
inline Bits nextTo(Bits stable) {
  return forward<Step, 1>(stable) | backward<Step, 1>(stable);
}

}  // namespace

Bits stableDiscs(Bits discs, Bits other, Bits empty) {
  const Bits squares = discs | other | empty;
  const Bits byColumn = protectedAlong<1>(empty, squares), byRow = protectedAlong<10>(empty, squares);
  const Bits byDiagonal = protectedAlong<11>(empty, squares), byAntiDiagonal = protectedAlong<9>(empty, squares);
  Bits stable = 0;
  for (;;) {
    const Bits grown = discs & (byColumn | nextTo<1>(stable)) & (byRow | nextTo<10>(stable)) &
                       (byDiagonal | nextTo<11>(stable)) & (byAntiDiagonal | nextTo<9>(stable));
    if (grown == stable) return stable;
    stable = grown;
  }
}

}  // namespace kaimo
