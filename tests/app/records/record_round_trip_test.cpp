// Writing a history and reading the file back must give every entry's
// colour, move and position again, whatever the history holds.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/board/notation.h"
#include "tests/app/records/record_test_util.h"

namespace kaimo {
namespace {

using testing::asReadBack;
using testing::readText;
using testing::writeText;

void expectRoundTrip(const History& history, const std::string& what) {
  const std::string text = writeText(history);
  const RecordReadResult read = readText(text);
  ASSERT_EQ(read.status, RecordStatus::Ok) << what << "\n" << text;
  ASSERT_EQ(read.history, asReadBack(history)) << what << "\n" << text;
}

TEST(RecordRoundTrip, PlayedGamesNeedOnlyTheirMoves) {
  std::mt19937 rng(17);
  int passes = 0;
  for (int game = 0; game < 40; ++game) {
    const History history = testing::randomGame(rng);
    for (std::size_t i = 0; i + 1 < history.size(); ++i) passes += history[i].side == history[i + 1].side;
    const std::string text = writeText(history);
    EXPECT_EQ(text.size(), 2 * (history.size() - 1)) << text;
    expectRoundTrip(history, "game " + std::to_string(game));
  }
  EXPECT_GT(passes, 0) << "no game with a pass: the pass rule went untested";
}

// The pass rule as records have always stated it: after a move the other
// colour moves, unless it has no move; then the colour that just moved,
// also when it has none either and the game is over. Such games are written
// with no side token (as every version of the program wrote them) and read
// back with the same colours.
TEST(RecordRoundTrip, TheTurnGoesBackToTheMoverWhenTheOtherCannotMove) {
  std::mt19937 rng(5);
  struct Case {
    const char* name;
    History history;
  };
  const Case cases[] = {
      // Black a3, white must pass, black f3 takes white's last disc.
      {"a pass, then the end", testing::playedHistory(testing::whitePassesAfterA3Board(), kBlack, {2, 52})},
      {"a whole game", testing::randomGame(rng)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const History& history = c.history;
    const std::size_t last = history.size() - 1;
    ASSERT_GE(last, 2u);
    std::string moves;
    for (std::size_t i = 0; i < last; ++i) moves += squareName(history[i].move);
    const std::string text = writeText(history);
    EXPECT_EQ(text.substr(text.size() - moves.size()), moves) << "no side token";
    const RecordReadResult read = readText(text);
    EXPECT_EQ(read.history, asReadBack(history));
    ASSERT_EQ(read.history.size(), history.size());
    EXPECT_EQ(read.history[last].side, read.history[last - 1].side) << "the colour that played last keeps the turn";
  }
  EXPECT_EQ(cases[0].history[1].side, kBlack) << "white passed";
}

TEST(RecordRoundTrip, EditedHistoriesWithWallsPassesAndSideChanges) {
  std::mt19937 rng(29);
  for (int trial = 0; trial < 300; ++trial) {
    const int entries = std::uniform_int_distribution<int>(0, 120)(rng);
    expectRoundTrip(testing::randomEditedHistory(rng, entries), "trial " + std::to_string(trial));
  }
}

TEST(RecordRoundTrip, UnrelatedEntriesWhereThePassRuleOftenDisagrees) {
  std::mt19937 rng(41);
  for (int trial = 0; trial < 300; ++trial) {
    const int entries = std::uniform_int_distribution<int>(1, 20)(rng);
    expectRoundTrip(testing::randomUnrelatedHistory(rng, entries), "trial " + std::to_string(trial));
  }
}

}  // namespace
}  // namespace kaimo
