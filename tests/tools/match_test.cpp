#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/eval/routines.h"
#include "tools/cli/match_games.h"
#include "tools/common/process_pool.h"

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
  const GameResult r = playMatchGame(opening, quick, quick);
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

TEST(ProcessPool, DeliversEveryLineOfEveryChild) {
  std::map<int, std::vector<std::string>> lines;
  const bool ok = tools::runInProcesses(
      3,
      [](int job, std::FILE* out) {
        for (int i = 0; i < 50; ++i) std::fprintf(out, "%d:%d\n", job, i);
        std::fprintf(out, "last without newline %d", job);
        return 0;
      },
      [&](int job, const std::string& line) { lines[job].push_back(line); });
  EXPECT_TRUE(ok);
  ASSERT_EQ(lines.size(), 3u);
  for (int job = 0; job < 3; ++job) {
    ASSERT_EQ(lines[job].size(), 51u);
    EXPECT_EQ(lines[job][49], std::to_string(job) + ":49");
    EXPECT_EQ(lines[job][50], "last without newline " + std::to_string(job));
  }
}

TEST(ProcessPool, ReportsAChildThatFails) {
  const bool ok = tools::runInProcesses(
      2, [](int job, std::FILE*) { return job == 1 ? 3 : 0; }, [](int, const std::string&) {});
  EXPECT_FALSE(ok);
}

}  // namespace
}  // namespace kaimo::cli
