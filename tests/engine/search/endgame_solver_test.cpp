#include "engine/search/endgame_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "engine/search/guessed_window.h"
#include "engine/search/search_driver.h"
#include "tests/engine/search/reference_minimax.h"
#include "tests/engine/search/search_test_support.h"

namespace kaimo {
namespace {

using testing::boardFromText;

constexpr int kInf = SCORE_INF;

// The solver's value for `side` in the window, with a table or without; the
// evaluation fails, so any call to it would show.
int solve(const Board& b, int side, int alpha = -kInf, int beta = kInf, SearchTable* table = nullptr,
          std::int64_t* leaves = nullptr) {
  SearchContext context;
  const Evaluator failing = testing::failingEvaluator();
  prepareSearch(context, failing, {}, nullptr, 0, table);
  const BitBoard bits = toBits(b);
  const int value = side == kBlack ? solveExact(context.thread, bits.black, bits.white, bits.empty, alpha, beta)
                                   : solveExact(context.thread, bits.white, bits.black, bits.empty, alpha, beta);
  EXPECT_EQ(context.thread.abortReason, 0);
  if (leaves != nullptr) *leaves = context.thread.leafCount;
  return value;
}

Board lastSquareBoard() {
  // Black at square 0 flips 1, 2 and 3 (closed by 4): 52 to 47 before.
  Board b;
  b[0] = kEmpty;
  b[1] = b[2] = b[3] = kWhite;
  b[4] = b[10] = b[11] = kBlack;
  int black = 3;
  for (int s = 5; s < kSquareCount; ++s) {
    if (s == 10 || s == 11) continue;
    b[s] = black < 52 ? kBlack : kWhite;
    black += b[s] == kBlack;
  }
  return b;
}

struct EndCase {
  const char* name;
  Board board;
  int side;
  int value;
};

// The case's name, not a dump of its bytes (a pointer among them), in the
// test's name: the same from build to build.
void PrintTo(const EndCase& c, std::ostream* out) { *out << c.name; }

class SolveEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(SolveEnd, ScoresTheEndOfTheGame) {
  const EndCase c = GetParam();
  EXPECT_EQ(solve(c.board, c.side), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, SolveEnd,
    ::testing::Values(EndCase{"lastSquare", lastSquareBoard(), kBlack, 12000},
                      // Black a, white cannot answer at b, black plays b as well.
                      EndCase{"opponentPasses",
                              boardFromText("xo.o.x----\n----------\n----------\n----------\n----------\n"
                                            "----------\n----------\n----------\n----------\n---------o\n"),
                              kBlack, 5000},
                      // Nobody can move after black's only move: the game ends 4 to 1.
                      EndCase{"endsEarly",
                              boardFromText("x...ox----\n.---------\n----------\n----------\n----------\n"
                                            "----------\n----------\n----------\n---------.\n---------o\n"),
                              kBlack, 3000},
                      // Taking the last white disc with a square left is a wipe-out.
                      EndCase{"wipeOut",
                              boardFromText("xo.-------\n----------\n----------\n----------\n----------\n"
                                            "----------\n----------\n----------\n----------\n---------.\n"),
                              kBlack, SCORE_WIPEOUT},
                      // The same when the last move fills a walled board.
                      EndCase{"wipeOutFull",
                              boardFromText("xoo.------\n----------\n----------\n----------\n----------\n"
                                            "----------\n----------\n----------\n----------\n----------\n"),
                              kBlack, SCORE_WIPEOUT}),
    [](const auto& test) { return std::string(test.param.name); });

// Every size of the cascade, wide and null windows, with and without a table
// kept from one position to the next, against minimax.
TEST(SolveExact, MatchesMinimaxInEveryWindow) {
  std::mt19937 rng(5);
  SearchTable table(10);
  for (int i = 0; i < 300; ++i) {
    const int emptyCount = 1 + i % 11;
    const Board b = testing::randomEndgame(rng, emptyCount, i % 3 == 0 ? 30 : 0, i % 5 == 0 ? 85 : 50);
    const int side = static_cast<int>(rng() & 1);
    if (boardMobility(b, side) == 0 && boardMobility(b, opponentOf(side)) == 0) continue;
    const int exact =
        boardMobility(b, side) > 0 ? testing::referenceValue(b, side) : -testing::referenceValue(b, opponentOf(side));
    SearchTable* used = i % 2 == 0 ? &table : nullptr;
    ASSERT_EQ(solve(b, side, -kInf, kInf, used), exact) << i;
    const int alpha = exact + 1000 * static_cast<int>(rng() % 7) - 3000;
    const int value = solve(b, side, alpha, alpha + 1, used);
    if (exact > alpha) {
      EXPECT_TRUE(value > alpha && value <= exact) << i;
    } else {
      EXPECT_TRUE(value <= alpha && value >= exact) << i;
    }
  }
}

// A position with a move for the side to move: from a random game with 13
// or 14 empty squares, or with half its squares walls and 16 to 18 empty.
Board boardOfManyEmpties(std::mt19937& rng, bool ofAGame, int& side) {
  auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  while (true) {
    Board b;
    if (ofAGame) {
      b = plain::randomGame(rng, draw(82, 83), &side);
    } else {
      b = testing::randomEndgame(rng, draw(16, 18), 50, 50);
      side = draw(0, 1);
    }
    const int empties = testing::emptiesOf(b);
    if ((ofAGame ? empties <= 14 : empties >= 16) && boardMobility(b, side) > 0) return b;
  }
}

// Above ten empty squares a node with the table first looks its children
// up, and a child's bound that proves the cutoff already saves the search:
// a bound that does not prove it gives a wrong value. Reads with the table,
// in the full window and in narrow and null windows around the value,
// against the value read without one.
TEST(SolveExact, ReadsWithTheTableMatchReadsWithoutIt) {
  std::mt19937 rng(10);
  auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  SearchTable table(16);
  for (int i = 0; i < 96; ++i) {
    int side;
    const Board b = boardOfManyEmpties(rng, i % 4 == 0, side);
    const int exact = solve(b, side);
    ASSERT_EQ(solve(b, side, -kInf, kInf, &table), exact) << i;
    for (const int width : {1, 1000 * draw(1, 8)}) {
      const int alpha = exact + 1000 * draw(-4, 3) - draw(0, 1);
      const int value = solve(b, side, alpha, alpha + width, &table);
      ASSERT_TRUE(testing::keepsFailSoftBounds(value, alpha, alpha + width, exact)) << i;
    }
  }
}

// A read around a guess, wherever the guess lies (on the value, a few discs
// off, beyond a wipe-out, at the ends of the scale), gives the value of the
// full window: the window widens on the side the value fell out of.
TEST(SolveExact, AroundAnyGuessGivesTheValueOfTheFullWindow) {
  std::mt19937 rng(12);
  SearchTable table(12);
  for (int i = 0; i < 60; ++i) {
    const Board b = testing::randomEndgame(rng, 6 + i % 7, i % 3 == 0 ? 30 : 0, i % 4 == 0 ? 85 : 50);
    const int side = static_cast<int>(rng() & 1);
    if (boardMobility(b, side) == 0) continue;
    const int exact = solve(b, side);
    for (const int guess : {exact, exact - 1000, exact + 2500, exact - 7000, exact + 30000, -SCORE_WIPEOUT - 5000,
                            SCORE_INF - 1, -SCORE_INF + 1}) {
      SearchContext context;
      const Evaluator failing = testing::failingEvaluator();
      prepareSearch(context, failing, {}, nullptr, 0, i % 2 == 0 ? &table : nullptr);
      const BitBoard bits = toBits(b);
      const int value = side == kBlack ? solveExactNear(context.thread, bits.black, bits.white, bits.empty, guess)
                                       : solveExactNear(context.thread, bits.white, bits.black, bits.empty, guess);
      ASSERT_EQ(value, exact) << "position " << i << ", guess " << guess;
    }
  }
}

// Reading around a guess inside a caller's window (a narrow one, one on
// either side of the value, one bounded on one side): wherever the guess
// lies, every read stays inside the caller's window, a few reads suffice,
// and the result keeps the caller's bounds. The read here is a stand-in
// that answers fail-soft, with the window's bound or the value itself.
TEST(ReadAroundGuess, KeepsTheCallersWindow) {
  SearchContext context{};
  for (const int exact : {-64000, -12000, 0, 6000}) {
    const std::pair<int, int> windows[] = {{-kInf, kInf},
                                           {-1, 1},
                                           {exact - 1, exact + 1},
                                           {exact + 2000, exact + 9000},
                                           {exact - 30000, exact - 4000},
                                           {-kInf, exact - 1000},
                                           {exact + 1000, kInf}};
    for (const auto& window : windows) {
      const int low = window.first, high = window.second;  // named: a lambda below captures them
      for (const int guess : {exact, exact - 3000, exact + 11000, low, high - 1, -SCORE_INF + 1}) {
        int reads = 0;
        const auto read = [&](int alpha, int beta) {
          ++reads;
          EXPECT_TRUE(low <= alpha && alpha < beta && beta <= high) << alpha << ", " << beta;
          if (exact <= alpha) return reads % 2 == 0 ? exact : alpha;
          if (exact >= beta) return reads % 2 == 0 ? exact : beta;
          return exact;
        };
        const int value = readAroundGuess(context.thread, guess, low, high, read, [] {});
        EXPECT_TRUE(testing::keepsFailSoftBounds(value, low, high, exact)) << "guess " << guess;
        EXPECT_LE(reads, 5) << "guess " << guess << " in (" << low << ", " << high << ")";
      }
    }
  }
}

// After a miss the window reaches 8 discs beyond the value that missed:
// a value just inside that reach takes two reads, one on its edge a third
// (the window then opens to the caller's bound). The stand-in read answers
// a miss with the bound it failed through, the least a fail-soft read may
// tell.
TEST(ReadAroundGuess, WidensByEightDiscsAfterAMiss) {
  SearchContext context{};
  const struct {
    int exact;
    int reads;
  } cases[] = {{-9000, 2}, {-10000, 3}, {9000, 2}, {10000, 3}, {1999, 1}, {-2000, 2}};
  for (const auto& c : cases) {
    int reads = 0;
    const auto read = [&](int alpha, int beta) {
      ++reads;
      return std::clamp(c.exact, alpha, beta);
    };
    EXPECT_EQ(readAroundGuess(context.thread, 0, -kInf, kInf, read, [] {}), c.exact);
    EXPECT_EQ(reads, c.reads) << "value " << c.exact;
  }
}

}  // namespace
}  // namespace kaimo
