#include "tools/cli/commands.h"

#include "engine/board/bitboard.h"
#include "tools/cli/position_args.h"
#include "tools/common/limits.h"

namespace kaimo::cli {

namespace {

std::uint64_t perftBits(Bits own, Bits opp, Bits empty, int depth) {
  const Bits moves = bitLegalMoves(own, opp, empty);
  // Every move, or the one pass (or the end of the game), is one leaf.
  if (depth == 1) return moves != 0 ? bitCount(moves) : 1;
  if (moves == 0) {
    if (bitLegalMoves(opp, own, empty) == 0) return 1;  // the game is over
    return perftBits(opp, own, empty, depth - 1);       // a pass
  }
  std::uint64_t leaves = 0;
  for (Bits rest = moves; rest != 0; rest &= rest - 1) {
    const int square = lowestSquare(rest);
    const Bits flips = bitFlips(own, opp, square);
    leaves += perftBits(opp & ~flips, own | flips | squareBit(square), empty & ~squareBit(square), depth - 1);
  }
  return leaves;
}

}  // namespace

std::uint64_t perft(const Board& board, int side, int depth) {
  if (depth == 0) return 1;
  const BitBoard m = toBits(board);
  return side == kBlack ? perftBits(m.black, m.white, m.empty, depth) : perftBits(m.white, m.black, m.empty, depth);
}

const CommandSyntax& perftSyntax() {
  static const CommandSyntax syntax{kProgram, "perft", "DEPTH [position]", positionOptions()};
  return syntax;
}

int runPerft(const Words& words, std::FILE* out) {
  const Args args = Args::parse(perftSyntax(), words);
  if (args.positional.size() != 1) throw args.usageError();
  const int depth = parseInt(args.positional[0], "DEPTH", 1, tools::kMaxPerftDepth);
  const Position position = positionFrom(args);
  for (int d = 1; d <= depth; ++d) {
    std::fprintf(out, "%d %llu\n", d, static_cast<unsigned long long>(perft(position.board, position.side, d)));
    std::fflush(out);
  }
  return 0;
}

}  // namespace kaimo::cli
