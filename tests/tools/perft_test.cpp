#include <gtest/gtest.h>

#include "tools/cli/commands.h"
#include "tools/cli/position_args.h"

namespace kaimo::cli {
namespace {

struct PerftCase {
  int depth;
  std::uint64_t leaves;
};

class PerftFromStart : public ::testing::TestWithParam<PerftCase> {};

TEST_P(PerftFromStart, CountsLines) {
  Board b;
  const int side = boardInit(b);
  EXPECT_EQ(perft(b, side, GetParam().depth), GetParam().leaves);
}

INSTANTIATE_TEST_SUITE_P(InitialPosition, PerftFromStart,
                         ::testing::Values(PerftCase{1, 4}, PerftCase{2, 12}, PerftCase{3, 56}, PerftCase{4, 244},
                                           PerftCase{5, 1396}, PerftCase{6, 8200}));

TEST(Perft, PassUsesAPlyAndAFinishedGameIsOneLeaf) {
  Board b;
  b.fill(kEmpty);
  b[0] = kBlack;
  b[1] = kWhite;                       // black can play 2; white has no move at all
  EXPECT_EQ(perft(b, kWhite, 1), 1u);  // white passes
  EXPECT_EQ(perft(b, kWhite, 2), 1u);  // then black's single move
  EXPECT_EQ(perft(b, kWhite, 5), 1u);  // after it nobody can move
  Board over;
  over.fill(kBlack);
  EXPECT_EQ(perft(over, kBlack, 4), 1u);
}

TEST(PositionArgs, MovesApplyThePassRuleAndRejectNonsense) {
  const Position p = positionFromMoves("e4d4");
  EXPECT_EQ(p.side, kBlack);
  EXPECT_EQ(p.board[43], kBlack);
  EXPECT_THROW(positionFromMoves("e4e4"), UsageError);
  EXPECT_THROW(positionFromMoves("z9"), UsageError);
  EXPECT_THROW(positionFromMoves("e"), UsageError);
  EXPECT_THROW(positionFromMoves("a1"), UsageError);  // not legal
}

}  // namespace
}  // namespace kaimo::cli
