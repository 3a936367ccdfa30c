#include "engine/search/move_order.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/common/plain_board.h"

namespace kaimo {
namespace {

// A node takes the replies its parent's order kept as its own moves instead
// of generating them: they must be the opponent's legal moves after the
// move, whichever key ranked it; the table move, ranked without a key, keeps
// none.
TEST(MoveOrder, KeptRepliesAreTheOpponentsMovesAfterTheMove) {
  std::mt19937 rng(2512);
  for (int trial = 0; trial < 300; ++trial) {
    const BitBoard m = toBits(plain::randomGame(rng, 4 + trial % 85));
    const Bits moves = bitLegalMoves(m.black, m.white, m.empty);
    if (moves == 0) continue;
    const int tableMove = highestSquare(moves);
    MoveOrder fastest, fewest;
    orderMoves(m.black, m.white, m.empty, moves, tableMove, fastest);
    orderMoves<&fewestRepliesKey>(m.black, m.white, m.empty, moves, -1, fewest);
    for (const MoveOrder* order : {&fastest, &fewest}) {
      ASSERT_EQ(order->count, bitCount(moves));
      for (int i = 0; i < order->count; ++i) {
        const OrderedMove& move = order->moves[i];
        const Bits bit = squareBit(move.square);
        const Bits replies = bitLegalMoves(m.white & ~move.flips, m.black | move.flips | bit, m.empty & ~bit);
        const bool kept = order == &fewest || move.square != tableMove;
        EXPECT_EQ(move.replies, kept ? replies : kRepliesUnknown) << "trial " << trial << " square " << move.square;
      }
    }
  }
}

}  // namespace
}  // namespace kaimo
