// Read-only questions about a board: legality, mobility, counts and the key.
// Mobility and counts go through the masks: one conversion, then a shift-fill
// and popcounts for all squares at once instead of a test per square.
#include "engine/board/bitboard.h"
#include "engine/board/board.h"
#include "engine/board/square_code.h"

namespace kaimo {
namespace {

Bits legalMovesOf(const BitBoard& m, int colour) {
  return colour == kBlack ? bitLegalMoves(m.black, m.white, m.empty) : bitLegalMoves(m.white, m.black, m.empty);
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
  const Bits legal = legalMovesOf(toBits(board), colour);
  for (int s = 0; s < kSquareCount; ++s) marks[s] = (legal & squareBit(s)) != 0;
  return bitCount(legal);
}

int boardMobility(const Board& board, int colour) { return bitCount(legalMovesOf(toBits(board), colour)); }

int boardMobilityDiff(const Board& board) {
  const BitBoard m = toBits(board);
  return bitCount(legalMovesOf(m, kBlack)) - bitCount(legalMovesOf(m, kWhite));
}

void boardCount(const Board& board, DiscCounts& counts) {
  const BitBoard m = toBits(board);
  counts = {bitCount(m.black), bitCount(m.white), bitCount(m.empty)};
}

int boardEmptyCount(const Board& board) { return bitCount(toBits(board).empty); }

void boardPackKey(PositionKey& key, const Board& board, int colour, int tag) {
  for (int i = 0; i < 25; ++i) {
    key[i] = static_cast<std::uint8_t>((board[4 * i] & 3) | (board[4 * i + 1] & 3) << 2 | (board[4 * i + 2] & 3) << 4 |
                                       (board[4 * i + 3] & 3) << 6);
  }
  key[25] = static_cast<std::uint8_t>((tag & 0x7f) | (colour & 1) << 7);
}

}  // namespace kaimo
