// Writing a history and reading the file back must give every entry's
// colour, move and position again, whatever the history holds.
#include <gtest/gtest.h>

#include <random>
#include <string>

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
