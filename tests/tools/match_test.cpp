#include <gtest/gtest.h>

#include <set>

#include "engine/eval/routines.h"
#include "tools/cli/match_games.h"

namespace kaimo::cli {
namespace {

TEST(MatchOpenings, AreDifferentUnfinishedAndRepeatable) {
  const auto openings = randomOpenings(40, 4, 11);
  ASSERT_EQ(openings.size(), 40u);
  std::set<std::pair<Board, int>> seen;
  for (const auto& o : openings) {
    EXPECT_TRUE(seen.insert({o.board, o.side}).second);
    DiscCounts counts;
    boardCount(o.board, counts);
    EXPECT_EQ(counts[2], 96 - 4);  // four plies, each one new disc
    EXPECT_GT(boardMobility(o.board, o.side), 0);
  }
  const auto again = randomOpenings(40, 4, 11);
  for (std::size_t i = 0; i < openings.size(); ++i) EXPECT_EQ(again[i].board, openings[i].board);
}

TEST(MatchOpenings, StopShortWhenThePliesCannotGiveThatMany) {
  // No ply at all: only the initial position exists.
  EXPECT_EQ(randomOpenings(3, 0, 1).size(), 1u);
}

TEST(MatchGames, EachOpeningIsPlayedWithBothColours) {
  EXPECT_TRUE(firstPlaysBlack(0));
  EXPECT_FALSE(firstPlaysBlack(1));
  EXPECT_TRUE(firstPlaysBlack(2));
}

TEST(MatchGames, AGamePlaysToTheEnd) {
  const Opening opening = randomOpenings(1, 6, 3)[0];
  const SideSettings quick{kSimpleRoutine, 1, 6, 0, 0, 0, 0, 0};
  tools::TurnSearcher searcher;
  const GameResult r = playMatchGame(opening, {quick}, {quick}, searcher);
  ASSERT_FALSE(r.failed);
  EXPECT_GT(r.black + r.white, 4);
  EXPECT_LE(r.black + r.white, 100);
}

TEST(MatchTally, CountsAWinOneAndADrawHalf) {
  MatchTally tally;
  tally.add(60, 40);
  tally.add(50, 50);
  tally.add(30, 70);
  tally.add(55, 45);
  EXPECT_EQ(tally.wins, 2);
  EXPECT_EQ(tally.draws, 1);
  EXPECT_EQ(tally.losses, 1);
  EXPECT_DOUBLE_EQ(tally.scorePercent(), 62.5);
  EXPECT_DOUBLE_EQ(tally.meanMargin(), (20 + 0 - 40 + 10) / 4.0);
  EXPECT_DOUBLE_EQ(MatchTally().scorePercent(), 0.0);
}

}  // namespace
}  // namespace kaimo::cli
