// Move execution: one specialised path per target square, picked by table.
#include <utility>

#include "engine/board/board.h"
#include "engine/board/square_code.h"

namespace kaimo {
namespace {

using PlayFn = int (*)(const Board& in, Board& out, int colour);
using PlayInPlaceFn = int (*)(Board& board, int colour);
using FlipCountFn = int (*)(const Board& board, int colour);

template <int S>
int playSquare(const Board& in, Board& out, int colour) {
  out = in;
  out[S] = static_cast<std::int8_t>(colour);
  return 1 + square_code::flipAll<S>(in, out, colour);
}

template <int S>
int playSquareInPlace(Board& board, int colour) {
  board[S] = static_cast<std::int8_t>(colour);
  return 1 + square_code::flipAll<S>(board, board, colour);
}

template <int S>
int flipCountSquare(const Board& board, int colour) {
  return 1 + square_code::countAll<S>(board, colour);
}

template <int... S>
constexpr std::array<PlayFn, kSquareCount> makePlayTable(std::integer_sequence<int, S...>) {
  return {&playSquare<S>...};
}

template <int... S>
constexpr std::array<PlayInPlaceFn, kSquareCount> makePlayInPlaceTable(std::integer_sequence<int, S...>) {
  return {&playSquareInPlace<S>...};
}

template <int... S>
constexpr std::array<FlipCountFn, kSquareCount> makeFlipCountTable(std::integer_sequence<int, S...>) {
  return {&flipCountSquare<S>...};
}

constexpr auto kPlay = makePlayTable(std::make_integer_sequence<int, kSquareCount>{});
constexpr auto kPlayInPlace = makePlayInPlaceTable(std::make_integer_sequence<int, kSquareCount>{});
constexpr auto kFlipCount = makeFlipCountTable(std::make_integer_sequence<int, kSquareCount>{});

inline bool onBoard(int square) { return square >= 0 && square < kSquareCount; }

}  // namespace

int boardInit(Board& board) {
  board.fill(kEmpty);
  board[44] = kWhite;
  board[45] = kBlack;
  board[54] = kBlack;
  board[55] = kWhite;
  return kBlack;
}

void boardCopy(Board& destination, const Board& source) { destination = source; }

int boardPlay(const Board& in, Board& out, int square, int colour) {
  if (!onBoard(square) || in[square] != kEmpty) return 1;
  return kPlay[square](in, out, colour);
}

int boardPlayInPlace(Board& board, int square, int colour) {
  if (!onBoard(square) || board[square] != kEmpty) return 1;
  return kPlayInPlace[square](board, colour);
}

// The same result as playing into a scratch board, without the copy and the
// writes: the endgame solver calls this on its last squares.
int boardFlipCount(const Board& board, int square, int colour) {
  if (!onBoard(square) || board[square] != kEmpty) return 1;
  return kFlipCount[square](board, colour);
}

}  // namespace kaimo
