// Read-only questions about a board: legality, mobility, counts and the key.
#include <utility>

#include "engine/board/board.h"
#include "engine/board/square_code.h"

namespace kaimo {
namespace {

template <int... S>
int mobilityOf(const Board& b, int colour, std::integer_sequence<int, S...>) {
  const int opponent = opponentOf(colour);
  return ((b[S] == kEmpty && square_code::captures<S>(b, colour, opponent)) + ...);
}

// Unrolled over the squares as three independent sums of comparisons: no
// indexed increments chained through memory, and walls fall in no sum.
template <int... S>
DiscCounts countSquares(const Board& b, std::integer_sequence<int, S...>) {
  return {((b[S] == kBlack) + ...), ((b[S] == kWhite) + ...), ((b[S] == kEmpty) + ...)};
}

}  // namespace

int boardIsLegal(const Board& board, int square, int colour) {
  if (square < 0 || square >= kSquareCount || board[square] != kEmpty) return 0;
  const int opponent = opponentOf(colour);
  for (const auto& d : square_code::kDirections) {
    int column = columnOf(square) + d.dColumn;
    int row = rowOf(square) + d.dRow;
    auto inside = [&] { return column >= 0 && column < kBoardSize && row >= 0 && row < kBoardSize; };
    if (!inside() || board[squareAt(column, row)] != opponent) continue;
    for (column += d.dColumn, row += d.dRow; inside(); column += d.dColumn, row += d.dRow) {
      const int value = board[squareAt(column, row)];
      if (value == colour) return 1;
      if (value != opponent) break;
    }
  }
  return 0;
}

int boardLegalMarks(const Board& board, int colour, MoveMarks& marks) {
  int n = 0;
  for (int s = 0; s < kSquareCount; ++s) {
    marks[s] = boardIsLegal(board, s, colour);
    n += marks[s];
  }
  return n;
}

int boardMobility(const Board& board, int colour) {
  return mobilityOf(board, colour, std::make_integer_sequence<int, kSquareCount>{});
}

int boardMobilityDiff(const Board& board) { return boardMobility(board, kBlack) - boardMobility(board, kWhite); }

void boardCount(const Board& board, DiscCounts& counts) {
  counts = countSquares(board, std::make_integer_sequence<int, kSquareCount>{});
}

void boardPackKey(PositionKey& key, const Board& board, int colour, int tag) {
  for (int i = 0; i < 25; ++i) {
    key[i] = static_cast<std::uint8_t>((board[4 * i] & 3) | (board[4 * i + 1] & 3) << 2 |
                                       (board[4 * i + 2] & 3) << 4 | (board[4 * i + 3] & 3) << 6);
  }
  key[25] = static_cast<std::uint8_t>((tag & 0x7f) | (colour & 1) << 7);
}

}  // namespace kaimo
