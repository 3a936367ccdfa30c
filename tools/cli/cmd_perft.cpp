#include "tools/cli/commands.h"
#include "tools/cli/position_args.h"

namespace kaimo::cli {

std::uint64_t perft(const Board& board, int side, int depth) {
  if (depth == 0) return 1;
  if (depth == 1) {
    // Every move, or the one pass (or the end of the game), is one leaf.
    const int moves = boardMobility(board, side);
    return moves > 0 ? moves : 1;
  }
  std::uint64_t leaves = 0;
  bool moved = false;
  Board child;
  for (int square = 0; square < kSquareCount; ++square) {
    if (board[square] != kEmpty || boardPlay(board, child, square, side) <= 1) continue;
    moved = true;
    leaves += perft(child, opponentOf(side), depth - 1);
  }
  if (moved) return leaves;
  if (boardMobility(board, opponentOf(side)) == 0) return 1;  // the game is over
  return perft(board, opponentOf(side), depth - 1);            // a pass
}

int runPerft(const Words& words, std::FILE* out) {
  const Args args = Args::parse(words);
  args.allowOnly(positionOptions());
  if (args.positional.size() != 1) throw UsageError("usage: kaimo-cli perft DEPTH [position]");
  const int depth = parseInt(args.positional[0], "DEPTH", 1, 20);
  const Position position = positionFrom(args);
  for (int d = 1; d <= depth; ++d) {
    std::fprintf(out, "%d %llu\n", d, static_cast<unsigned long long>(perft(position.board, position.side, d)));
    std::fflush(out);
  }
  return 0;
}

}  // namespace kaimo::cli
