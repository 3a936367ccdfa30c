#include <gtest/gtest.h>

#include <random>

#include "engine/board/bitboard.h"
#include "engine/board/last_flips.h"
#include "engine/board/mobility.h"
#include "tests/common/plain_board.h"

namespace kaimo {
namespace {

// Random squares (some with walls), and positions of random games with a few
// walls dropped in: runs that stop at walls, edges and wraps all occur.
Board samplePosition(std::mt19937& rng, int trial) {
  Board b = trial % 2 ? plain::randomBoard(rng, trial % 3 == 0 ? 10 : 0) : plain::randomGame(rng, trial % 95);
  if (trial % 4 == 2) {
    std::uniform_int_distribution<int> square(0, kSquareCount - 1);
    for (int k = 0; k < 6; ++k) b[square(rng)] = kWall;
  }
  return b;
}

// Every mask operation against the byte board written the obvious way:
// conversions both ways, counts, the legal-move mask square by square, and
// for every empty square the flip mask and the position it leads to.
TEST(BitBoard, EveryMaskOperationAgreesWithTheByteBoard) {
  std::mt19937 rng(1207);
  const auto generators = bits_detail::runnableLegalMoves();
  for (int trial = 0; trial < 4000; ++trial) {
    const Board b = samplePosition(rng, trial);
    const BitBoard m = toBits(b);
    Board back;
    fromBits(m, back);
    ASSERT_EQ(back, b) << trial;
    DiscCounts counts;
    plain::count(b, counts);
    ASSERT_EQ(bitCount(m.black), counts[kBlack]);
    ASSERT_EQ(bitCount(m.white), counts[kWhite]);
    ASSERT_EQ(bitCount(m.empty), counts[kEmpty]);

    for (int colour = 0; colour < 2; ++colour) {
      const Bits own = colour == kBlack ? m.black : m.white;
      const Bits opp = colour == kBlack ? m.white : m.black;
      const Bits legal = bitLegalMoves(own, opp, m.empty);
      ASSERT_EQ(bitCount(legal), plain::mobility(b, colour)) << trial;
      for (const bits_detail::LegalMovesFn generator : generators) ASSERT_EQ(generator(own, opp, m.empty), legal);
      Bits listed = 0;
      for (Bits rest = legal; rest != 0; rest &= rest - 1) listed |= squareBit(lowestSquare(rest));
      ASSERT_EQ(listed, legal);

      for (int s = 0; s < kSquareCount; ++s) {
        Board expected;
        const int result = plain::play(b, expected, s, colour);
        ASSERT_EQ((legal & squareBit(s)) != 0, result > 1) << "square " << s << " trial " << trial;
        if (b[s] != kEmpty) continue;
        const Bits flips = bitFlips(own, opp, s);
        ASSERT_EQ(bitCount(flips) + 1, result) << "square " << s << " trial " << trial;
        if (result == 1) continue;
        BitBoard after = m;
        after.empty &= ~squareBit(s);
        (colour == kBlack ? after.black : after.white) |= flips | squareBit(s);
        (colour == kBlack ? after.white : after.black) &= ~flips;
        Board played;
        fromBits(after, played);
        ASSERT_EQ(played, expected) << "square " << s << " trial " << trial;
      }
    }
  }
}

// Every way of counting mobility this processor runs against the plain
// count of both colours' moves, walls and wrapping runs included.
TEST(BitBoard, EveryMobilityPathCountsBothColoursMoves) {
  std::mt19937 rng(1209);
  const auto paths = mobility_detail::runnableMobilities();
  for (int trial = 0; trial < 4000; ++trial) {
    const Board b = samplePosition(rng, trial);
    const BitBoard m = toBits(b);
    const int expected = plain::mobility(b, kBlack) - plain::mobility(b, kWhite);
    for (std::size_t i = 0; i < paths.size(); ++i) {
      ASSERT_EQ(paths[i](m.black, m.white, m.empty), expected) << "path " << i << " trial " << trial;
    }
    ASSERT_EQ(bitMobilityDifference(m.black, m.white, m.empty), expected) << trial;
  }
}

// The last square's count from its lines against the byte board, on full
// boards of every density (long runs, none, runs to the edge) with the empty
// square anywhere.
TEST(BitBoard, LastFlipCountIsTheFlipsOfTheLastSquare) {
  if (!lastFlipCountRunnable()) GTEST_SKIP() << "no fast pext here";
  std::mt19937 rng(1208);
  for (int trial = 0; trial < 3000; ++trial) {
    std::bernoulli_distribution black((trial % 9 + 0.5) / 9);
    Board b;
    for (auto& square : b) square = black(rng) ? kBlack : kWhite;
    const int s = trial % kSquareCount;
    b[s] = kEmpty;
    const BitBoard m = toBits(b);
    for (int colour = 0; colour < 2; ++colour) {
      Board played;
      const int expected = plain::play(b, played, s, colour) - 1;
      ASSERT_EQ(lastFlipCount(colour == kBlack ? m.black : m.white, s), expected)
          << "square " << s << " trial " << trial;
    }
  }
}

}  // namespace
}  // namespace kaimo
