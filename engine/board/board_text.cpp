// Board transforms and the ten-line text form.
#include <cctype>

#include "engine/board/board.h"

namespace kaimo {
namespace {

constexpr char kSymbols[] = "xo.-";

int squareValueOf(int symbol) {
  switch (symbol) {
    case 'x': return kBlack;
    case 'o': return kWhite;
    case '.': return kEmpty;
    case '-': return kWall;
    default: return -1;
  }
}

}  // namespace

void boardTranspose(Board& destination, const Board& source) {
  for (int i = 0; i < kSquareCount; ++i) destination[i] = source[10 * (i % 10) + i / 10];
}

void boardRotate(Board& destination, const Board& source) {
  for (int i = 0; i < kSquareCount; ++i) destination[i] = source[10 * (i % 10) - i / 10 + 9];
}

int boardWriteText(const Board& board, std::FILE* stream) {
  for (int row = 0; row < kBoardSize; ++row) {
    for (int column = 0; column < kBoardSize; ++column) {
      std::fputc(kSymbols[board[squareAt(column, row)] & 3], stream);
    }
    std::fputc('\n', stream);
  }
  return 0;
}

int boardReadText(Board& board, std::FILE* stream) {
  for (int row = 0; row < kBoardSize; ++row) {
    for (int column = 0; column < kBoardSize; ++column) {
      int c = std::fgetc(stream);
      while (c != EOF && std::isspace(c)) c = std::fgetc(stream);
      if (c == EOF) return -1;
      const int value = squareValueOf(c);
      if (value < 0) return -1;
      board[squareAt(column, row)] = static_cast<std::int8_t>(value);
    }
  }
  return 0;
}

}  // namespace kaimo
