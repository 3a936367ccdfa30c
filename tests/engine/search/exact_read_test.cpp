// Reads to the end must be exact: every value the driver returns for a
// computer turn whose exact-read depth covers the position is compared with
// plain minimax, over positions full of passes, wipe-outs and walls.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/eval/routines.h"
#include "engine/search/search_driver.h"
#include "tests/engine/search/reference_minimax.h"

namespace kaimo {
namespace {

using testing::referenceValue;

std::string describe(const Board& b, int side) {
  std::string text = side == kBlack ? "black to move\n" : "white to move\n";
  for (int row = 0; row < kBoardSize; ++row) {
    for (int column = 0; column < kBoardSize; ++column) text += "xo.-"[b[squareAt(column, row)] & 3];
    text += '\n';
  }
  return text;
}

// The exact value of playing `move`, for `side`.
int referenceMoveValue(const Board& b, int side, int move) {
  Board child;
  boardPlay(b, child, move, side);
  const int opponent = opponentOf(side);
  if (boardMobility(child, opponent) > 0) return -referenceValue(child, opponent);
  if (boardMobility(child, side) > 0) return referenceValue(child, side);
  return scoreFinal(testing::discsOf(child, side), testing::discsOf(child, opponent));
}

// Checks a finished root search: its value and chosen move against minimax.
void expectMatchesMinimax(const Board& b, int side, int value, int move) {
  if (boardMobility(b, side) == 0) {
    EXPECT_EQ(value, SCORE_NO_MOVE) << describe(b, side);
    EXPECT_EQ(move, -1);
    return;
  }
  ASSERT_EQ(value, referenceValue(b, side)) << describe(b, side);
  ASSERT_TRUE(move >= 0 && move < kSquareCount && boardIsLegal(b, move, side)) << move << "\n" << describe(b, side);
  EXPECT_EQ(referenceMoveValue(b, side, move), value) << "move " << move << " is not a best move\n"
                                                      << describe(b, side);
}

// A fail-soft result of the window (alpha, beta) against the exact value.
void expectBound(int result, int alpha, int beta, int exact, const Board& b, int side) {
  if (result <= alpha) {
    EXPECT_LE(exact, result) << "window " << alpha << " " << beta << "\n" << describe(b, side);
  } else if (result >= beta) {
    EXPECT_GE(exact, result) << "window " << alpha << " " << beta << "\n" << describe(b, side);
  } else {
    EXPECT_EQ(exact, result) << "window " << alpha << " " << beta << "\n" << describe(b, side);
  }
}

// As a computer turn with exact-read depth 12 reads the position; then as a
// win read does: the window around 0 first, and after a loss the full window
// again on the same context, its table still filled.
void expectExactAsComputerTurn(const Board& b, int side) {
  SearchJob job;
  const SideSettings settings{.routine = kSimpleRoutine, .normalDepth = 4, .exactDepth = 12};
  prepareComputerMove(job, b, side, settings, {}, nullptr);
  ASSERT_EQ(job.depth, testing::emptiesOf(b));
  const int value = searchRoot(b, side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan);
  expectMatchesMinimax(b, side, value, job.context.bestMove);
  if (value == SCORE_NO_MOVE || ::testing::Test::HasFailure()) return;

  prepareComputerMove(job, b, side, settings, {}, nullptr);
  const int win = searchRoot(b, side, job.depth, -1, 1, job.context, 0, job.progressSpan);
  expectBound(win, -1, 1, value, b, side);
  if (win > -1) return;
  EXPECT_EQ(searchRoot(b, side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan), value)
      << describe(b, side);
}

// The same read in a window drawn around the value, so that the root and the
// table's bounds are cut at every side of it; a small table, so that entries
// are replaced all the time.
void expectExactInWindow(const Board& b, int side, std::mt19937& rng) {
  if (boardMobility(b, side) == 0) return;
  auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  SearchTable table(4);
  SearchContext context;
  prepareSearch(context, testing::kSimpleEvaluator, {}, nullptr, 0, &table);
  const int exact = referenceValue(b, side);
  const int alpha = exact + 1000 * draw(-6, 4);
  const int beta = alpha + 1000 * draw(1, 4);
  const int value = searchRoot(b, side, testing::emptiesOf(b), alpha, beta, context, 0, kProgressSpan);
  expectBound(value, alpha, beta, exact, b, side);
}

struct Family {
  const char* name;
  unsigned seed;
  int positions;
  int maxEmpties;
  int wallPercent;
  int blackPercent;
};

// The family's name, not a dump of its bytes (a pointer among them), in
// the test's name: the same from build to build.
void PrintTo(const Family& f, std::ostream* out) { *out << f.name; }

class ExactRead : public ::testing::TestWithParam<Family> {};

// Boards of random squares: scattered discs block many moves, so passes,
// double passes, early ends and wipe-outs abound.
TEST_P(ExactRead, MatchesMinimax) {
  const Family f = GetParam();
  std::mt19937 rng(f.seed);
  std::uniform_int_distribution<int> emptiesDraw(1, f.maxEmpties);
  for (int i = 0; i < f.positions; ++i) {
    const Board b = testing::randomEndgame(rng, emptiesDraw(rng), f.wallPercent, f.blackPercent);
    const int side = static_cast<int>(rng() & 1);
    expectExactAsComputerTurn(b, side);
    expectExactInWindow(b, side, rng);
    if (HasFatalFailure()) return;
  }
}

// 590 positions in all, each read twice (as a computer turn and in a drawn
// window); the reference needs seconds for many positions of 12 empty
// squares, so the larger counts are rarer.
INSTANTIATE_TEST_SUITE_P(RandomBoards, ExactRead,
                         ::testing::Values(Family{"even", 11, 120, 10, 0, 50}, Family{"walls", 12, 120, 10, 25, 50},
                                           Family{"manyWalls", 15, 80, 12, 55, 50},
                                           Family{"fewWhite", 13, 60, 11, 10, 92}, Family{"fewBlack", 14, 60, 11, 0, 6},
                                           Family{"tinyBoards", 16, 100, 8, 85, 70}),
                         [](const auto& test) { return std::string(test.param.name); });

// Positions of real games: random play from the start to its last dozen
// empty squares.
TEST(ExactReadGames, MatchesMinimax) {
  std::mt19937 rng(21);
  int checked = 0;
  while (checked < 50) {
    int side;
    const Board b = plain::randomGame(rng, 84 + static_cast<int>(rng() % 12), &side);
    if (testing::emptiesOf(b) > 12) continue;
    expectExactAsComputerTurn(b, side);
    expectExactInWindow(b, side, rng);
    if (HasFatalFailure()) return;
    ++checked;
  }
}

}  // namespace
}  // namespace kaimo
