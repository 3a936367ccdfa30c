#include "engine/search/computer_read.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/eval/routines.h"
#include "tests/engine/search/reference_minimax.h"
#include "tests/engine/search/search_test_support.h"

namespace kaimo {
namespace {

using testing::boardFromText;

struct Position {
  Board board;
  int side;
};

// Endgames with every verdict: the two boards above, and random ones of 6 to
// 12 empty squares, some on small boards walled in (where draws are common).
std::vector<Position> endgames() {
  std::vector<Position> positions = {{boardFromText(testing::kDrawBoardText), kBlack},
                                     {boardFromText(testing::kPassBoardText), kBlack}};
  std::mt19937 rng(44);
  while (positions.size() < 40) {
    const int i = static_cast<int>(positions.size());
    const Board b = testing::randomEndgame(rng, 6 + i % 7, i % 2 == 0 ? 80 : 0, 50);
    const int side = static_cast<int>(rng() & 1);
    if (boardMobility(b, side) > 0) positions.push_back({b, side});
  }
  return positions;
}

// The exact value of a position for `side`; a side without a move passes.
int exactValue(const Board& b, int side) {
  if (boardMobility(b, side) > 0) return testing::referenceValue(b, side);
  if (boardMobility(b, opponentOf(side)) > 0) return -testing::referenceValue(b, opponentOf(side));
  return scoreFinal(testing::discsOf(b, side), testing::discsOf(b, opponentOf(side)));
}

// A side whose win-read depth covers every position here, its exact-read
// and normal depths none: the computer's move after a proven win or draw must keep it,
// and after a proven loss be one of the least bad (read again for the margin
// with what the first read left in the table).
TEST(ReadComputerMove, TheVerdictIsTheExactValuesSignAndTheMoveKeepsIt) {
  int seen[3] = {};
  for (const Position& p : endgames()) {
    SearchJob job;
    prepareComputerMove(job, p.board, p.side, SideSettings{.normalDepth = 0, .exactDepth = 0, .winDepth = 60}, {},
                        nullptr);
    ASSERT_EQ(job.read, ReadKind::WinLoss);
    int heard = -1;
    const ComputerRead read = readComputerMove(job, [&heard](Verdict v) { heard = static_cast<int>(v); });
    const int exact = exactValue(p.board, p.side);
    ASSERT_TRUE(read.verdict.has_value());
    EXPECT_EQ(*read.verdict, verdictOf(exact)) << testing::emptiesOf(p.board);
    EXPECT_EQ(heard, static_cast<int>(*read.verdict));
    ++seen[heard];
    Board child;
    ASSERT_GT(boardPlay(p.board, child, job.context.bestMove, p.side), 1);
    const int moveValue = -exactValue(child, opponentOf(p.side));
    if (*read.verdict == Verdict::Loss) {
      EXPECT_EQ(read.value, exact);
      EXPECT_EQ(moveValue, exact);
    } else {
      EXPECT_EQ(verdictOf(moveValue), *read.verdict) << "the move gives the verdict away";
    }
  }
  EXPECT_GT(seen[static_cast<int>(Verdict::Win)], 0);
  EXPECT_GT(seen[static_cast<int>(Verdict::Draw)], 0);
  EXPECT_GT(seen[static_cast<int>(Verdict::Loss)], 0);
}

// The same position at 14 empty squares read for its verdict and then
// exactly, and exactly on a new table: the bounds a -1..+1 read stores
// never pass for an exact value.
TEST(ReadComputerMove, ALossReadAgainGivesTheValueOfAFreshExactRead) {
  std::mt19937 rng(7);
  int losses = 0;
  for (int i = 0; i < 12; ++i) {
    const Board b = testing::randomEndgame(rng, 14, 0, 50);
    const int side = static_cast<int>(rng() & 1);
    if (boardMobility(b, side) == 0) continue;
    SearchJob wld, exact;
    prepareComputerMove(wld, b, side, SideSettings{.exactDepth = 0, .winDepth = 14}, {}, nullptr);
    prepareComputerMove(exact, b, side, SideSettings{.exactDepth = 14}, {}, nullptr);
    const ComputerRead verdictFirst = readComputerMove(wld);
    const ComputerRead fresh = readComputerMove(exact);
    ASSERT_FALSE(fresh.verdict.has_value());
    EXPECT_EQ(*verdictFirst.verdict, verdictOf(fresh.value));
    if (*verdictFirst.verdict != Verdict::Loss) continue;
    ++losses;
    EXPECT_EQ(verdictFirst.value, fresh.value) << i;
  }
  EXPECT_GT(losses, 0);
}

}  // namespace
}  // namespace kaimo
