#include "app/controller/search_line.h"

#include "engine/board/bitboard.h"
#include "engine/search/endgame_solver.h"
#include "engine/search/search_table.h"

namespace kaimo {
namespace {

// Lines longer than this say nothing a player reads.
constexpr int kLongestLine = 24;

// The table's move for the position: a midgame node stores it under its
// colour, a node read to the end under the exact side.
int storedMove(const SearchTable& table, Bits own, Bits opp, int side) {
  const TableKey key = SearchTable::keyOf(own, opp);
  const int move = table.move(key, side);
  return move >= 0 ? move : table.move(key, kExactTableSide);
}

std::vector<int> lineFrom(const SearchTable& table, Bits own, Bits opp, Bits empty, int side, int plies) {
  std::vector<int> moves;
  while (static_cast<int>(moves.size()) < plies) {
    Bits legal = bitLegalMoves(own, opp, empty);
    if (legal == 0) {
      // A pass: the other colour goes on, unless the game is over.
      if (bitLegalMoves(opp, own, empty) == 0) break;
      std::swap(own, opp);
      side = opponentOf(side);
      legal = bitLegalMoves(own, opp, empty);
    }
    const int move = storedMove(table, own, opp, side);
    if (move < 0 || (legal & squareBit(move)) == 0) break;
    moves.push_back(move);
    const Bits bit = squareBit(move);
    const Bits flips = bitFlips(own, opp, move);
    const Bits nextOwn = opp & ~flips;
    opp = own | flips | bit;
    own = nextOwn;
    empty ^= bit;
    side = opponentOf(side);
  }
  return moves;
}

}  // namespace

ThinkingLine thinkingLine(const SearchContext& context, const Board& board, int side, bool finished) {
  ThinkingLine line;
  const BitBoard bits = toBits(board);
  const int empties = bitCount(bits.empty);
  const int rootDepth = context.root.depth;
  line.depth = rootDepth;
  line.exact = rootDepth >= empties;
  if (context.setup.table == nullptr || rootDepth <= 0) return line;
  const int lineDepth = finished ? rootDepth : rootDepth - 1;
  if (lineDepth <= 0) return line;
  const Bits own = side == kBlack ? bits.black : bits.white;
  const Bits opp = side == kBlack ? bits.white : bits.black;
  const bool lineExact = lineDepth >= empties;
  TableHit root;
  if (!context.setup.table->probe(SearchTable::keyOf(own, opp), lineExact ? kExactTableSide : side, root) ||
      root.depth != tableDepth(lineDepth, empties) || root.lower != root.upper) {
    return line;
  }
  line.lineDepth = lineDepth;
  line.value = root.lower;
  line.moves = lineFrom(*context.setup.table, own, opp, bits.empty, side, lineExact ? kLongestLine : lineDepth);
  return line;
}

}  // namespace kaimo
