#include <gtest/gtest.h>

#include <set>

#include "engine/eval/routines.h"
#include "tests/common/capture.h"
#include "tests/common/small_book.h"
#include "tools/cli/commands.h"
#include "tools/cli/match_games.h"
#include "tools/cli/side_options.h"

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
  // One ply: the four first moves give a position each.
  EXPECT_EQ(randomOpenings(9, 1, 1).size(), 4u);
  // No ply at all: every game starts from the initial position.
  const auto initial = randomOpenings(3, 0, 1);
  ASSERT_EQ(initial.size(), 3u);
  Board board;
  EXPECT_EQ(initial[2].side, boardInit(board));
  EXPECT_EQ(initial[2].board, board);
}

TEST(MatchGames, EachOpeningIsPlayedWithBothColours) {
  EXPECT_TRUE(firstPlaysBlack(0));
  EXPECT_FALSE(firstPlaysBlack(1));
  EXPECT_TRUE(firstPlaysBlack(2));
}

TEST(MatchGames, AGamePlaysToTheEnd) {
  const Opening opening = randomOpenings(1, 6, 3)[0];
  const SideSettings quick{.routine = kSimpleRoutine, .normalDepth = 1, .exactDepth = 6};
  tools::TurnSearcher searcher;
  std::mt19937_64 random = gameRandom(1, 0);
  const GameResult r = playMatchGame(opening, {quick}, {quick}, searcher, random);
  ASSERT_FALSE(r.failed);
  EXPECT_GT(r.black + r.white, 4);
  EXPECT_LE(r.black + r.white, 100);
  EXPECT_EQ(static_cast<int>(r.moves.size()), r.black + r.white - 4 - 6);
}

TEST(MatchGames, ASideWithTheBookPlaysItsMovesAtRandomAndTheSeedRepeatsThem) {
  const Opening initial = randomOpenings(1, 0, 1)[0];
  const SideSettings quick{.routine = kSimpleRoutine, .normalDepth = 1, .exactDepth = 6};
  MatchPlayer booked{quick};
  booked.book = std::make_shared<const OpeningBook>(testing::smallBook(4));
  tools::TurnSearcher searcher;
  const auto play = [&](std::uint64_t seed, int game) {
    std::mt19937_64 random = gameRandom(seed, game);
    return playMatchGame(initial, booked, booked, searcher, random);
  };
  std::vector<std::pair<Board, std::vector<int>>> games;
  for (int game = 0; game < 16; ++game) {
    const GameResult r = play(3, game);
    ASSERT_FALSE(r.failed);
    // The book holds four plies: two moves a side, then both search.
    EXPECT_EQ(r.blackMoves.bookMoves, 2);
    EXPECT_EQ(r.whiteMoves.bookMoves, 2);
    EXPECT_EQ(play(3, game).moves, r.moves);
    games.emplace_back(initial.board, r.moves);
  }
  // The first move alone is one of four images of one position.
  const DistinctGames distinct = countDistinctGames(games);
  EXPECT_GT(distinct.asPlayed, 4);
  EXPECT_LT(distinct.upToSymmetry, distinct.asPlayed);
}

TEST(MatchGames, EachSideTalliesItsMovesAndDepths) {
  const Opening opening = randomOpenings(1, 6, 4)[0];
  const SideSettings three{.routine = kSimpleRoutine, .normalDepth = 3, .exactDepth = 8};
  MatchPlayer timed{three};
  timed.msPerMove = 2;  // capped at depth 3 all the same
  tools::TurnSearcher searcher;
  std::mt19937_64 random = gameRandom(4, 0);
  const GameResult r = playMatchGame(opening, {three}, timed, searcher, random);
  ASSERT_FALSE(r.failed);
  for (const MoveTally& t : {r.blackMoves, r.whiteMoves}) {
    EXPECT_GT(t.normalReads, 0);
    EXPECT_LT(t.normalReads, t.moves);  // the last moves are read to the end
    EXPECT_GE(t.cpuMsec, t.normalCpuMsec);
  }
  EXPECT_EQ(r.blackMoves.depthSum, 3L * r.blackMoves.normalReads);
  EXPECT_GE(r.whiteMoves.meanDepth(), 1.0);
  EXPECT_LE(r.whiteMoves.meanDepth(), 3.0);
  MoveTally both = r.blackMoves;
  both.add(r.whiteMoves);
  EXPECT_EQ(both.moves, r.blackMoves.moves + r.whiteMoves.moves);
}

TEST(MatchCommand, SaysEachSidesMeanDepthAndTime) {
  const testing::Captured match =
      testing::captureCommand(runMatch, {"--black", "狸", "--white", "狸", "--games", "2", "--depth", "2",
                                         "--white-depth", "3", "--exact", "6", "--plies", "4"});
  EXPECT_EQ(match.status, 0) << match.output;
  // The options of --black are the first player's, whichever colour it has.
  const auto line = [&](const std::string& start) {
    const std::size_t at = match.output.find("\n" + start);
    return at == std::string::npos ? std::string()
                                   : match.output.substr(at + 1, match.output.find('\n', at + 1) - at - 1);
  };
  EXPECT_NE(line("first 狸: ").find(", mean depth 2.00, mean time "), std::string::npos) << match.output;
  EXPECT_NE(line("second 狸: ").find(", mean depth 3.00, mean time "), std::string::npos) << match.output;
  for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--probcut", "on"},
                                                {"--white-probcut", "yes"},
                                                {"--ms", "0"},
                                                {"--black-clock", "0"},
                                                {"--ms", "100", "--white-clock", "20"},
                                                {"--black-level", "14"},
                                                {"--level", "11", "--ms", "100"},
                                                {"--black-threads", "0"}}) {
    std::vector<std::string> words{"--black", "狸", "--white", "狸", "--games", "2"};
    words.insert(words.end(), wrong.begin(), wrong.end());
    EXPECT_THROW(testing::captureCommand(runMatch, words), UsageError) << wrong[0];
  }
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

TEST(MatchTally, AGameLostOnTimeIsLostWhateverTheDiscs) {
  MatchTally tally;
  tally.add(70, 30, true, false);
  tally.add(30, 70, false, true);
  EXPECT_EQ(tally.losses, 1);
  EXPECT_EQ(tally.wins, 1);
}

TEST(MatchClock, ReadsSecondsAndAnIncrement) {
  struct Case {
    const char* text;
    std::int64_t gameMs;
    std::int64_t incrementMs;
  };
  for (const Case& c : {Case{"20", 20000, 0}, Case{"0.1", 100, 0}, Case{"60+0.5", 60000, 500},
                        Case{"86400+3600", 86400000, 3600000}, Case{"1+0", 1000, 0}}) {
    const TimeControl clock = parseClock(c.text, "--clock");
    EXPECT_EQ(clock.gameMs, c.gameMs) << c.text;
    EXPECT_EQ(clock.incrementMs, c.incrementMs) << c.text;
  }
  for (const char* wrong : {"", "0", "0.09", "86401", "20+", "+1", "20+3601", "20+-1", "x", "20+1+1", "20s"}) {
    EXPECT_THROW(parseClock(wrong, "--clock"), UsageError) << wrong;
  }
}

TEST(MatchClock, AClockedSideKeepsItsLongestMove) {
  const Opening opening = randomOpenings(1, 6, 5)[0];
  const SideSettings quick{.routine = kSimpleRoutine, .normalDepth = 3, .exactDepth = 8};
  MatchPlayer clocked{quick};
  clocked.clock = TimeControl{.gameMs = 300};
  tools::TurnSearcher searcher;
  std::mt19937_64 random = gameRandom(5, 0);
  const GameResult r = playMatchGame(opening, clocked, {quick}, searcher, random);
  ASSERT_FALSE(r.failed);
  EXPECT_GT(r.blackMoves.moves, 10);
  EXPECT_GE(r.blackMoves.maxMsec * r.blackMoves.moves, r.blackMoves.cpuMsec);
  // Its reads go no deeper than its normal depth, clock or not.
  EXPECT_LE(r.blackMoves.meanDepth(), 3.0);
  EXPECT_GT(r.blackMoves.normalReads, 0);
}

}  // namespace
}  // namespace kaimo::cli
