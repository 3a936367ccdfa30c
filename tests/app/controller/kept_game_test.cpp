// The game kept against a crash: its text read back as it was written, and
// every damaged text refused whole.
#include "app/controller/kept_game.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>

#include "app/controller/game.h"
#include "support/files/checksum.h"
#include "tests/app/controller/controller_fixture.h"
#include "tests/common/temp_dir.h"

namespace kaimo {
namespace {

using testing::firstLegalSquare;

// Six moves, shown at the fourth position, with a disc added by hand; the
// players changed from the defaults.
KeptGame playedGame() {
  Game game;
  for (int i = 0; i < 6; ++i) game.playMove(firstLegalSquare(game.board(), game.side()));
  game.goTo(4);
  game.toggleSquare(0, kWhite);
  KeptGame kept{game.history(), game.cursor(), game.board(), game.side(), "/棋譜/対局.txt", PlayerSettings::defaults()};
  kept.players.white.routine = 2;
  kept.players.black.normalDepth = 9;
  return kept;
}

// `body` with the checksum line a writer would give it.
std::string withSum(const std::string& body) {
  char sum[17];
  std::snprintf(sum, sizeof sum, "%016" PRIx64, checksumOf(body));
  return body + "sum " + sum + "\n";
}

std::string bodyOf(const std::string& text) { return text.substr(0, text.rfind("sum ")); }

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(KeptGame, ReadsBackWhatWasWritten) {
  const KeptGame game = playedGame();
  const std::optional<KeptGame> read = parseKeptGame(keptGameText(game));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(*read, game);
}

// A file cut short, changed by a byte, or well summed but out of range.
TEST(KeptGame, RefusesADamagedText) {
  const std::string text = keptGameText(playedGame());
  const std::string body = bodyOf(text);
  const struct {
    const char* fault;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"cut by a byte", text.substr(0, text.size() - 1)},
      {"no sum", body},
      {"a byte changed", replaced(text, "cursor 4", "cursor 5")},
      {"another header", withSum(replaced(body, "game 1", "game 2"))},
      {"cursor past the history", withSum(replaced(body, "cursor 4", "cursor 7"))},
      {"cursor below it", withSum(replaced(body, "cursor 4", "cursor -1"))},
      {"cursor not a number", withSum(replaced(body, "cursor 4", "cursor 4x"))},
      {"side not 0 or 1", withSum(replaced(body, "side ", "side 2"))},
      {"board of 99 squares", withSum(replaced(body, "board o", "board "))},
      {"board symbol", withSum(replaced(body, "board o", "board z"))},
      {"29 players' words", withSum(replaced(body, "players 0 ", "players "))},
      {"31 players' words", withSum(replaced(body, "players 0 ", "players 0 0 "))},
      {"a line missing", withSum(replaced(body, "file /棋譜/対局.txt\n", ""))},
      {"record not a record", withSum(replaced(body, "record\n", "record\nq9"))},
  };
  for (const auto& c : cases) EXPECT_FALSE(parseKeptGame(c.text).has_value()) << c.fault;
  // Summed again, the untouched body reads: the edits above are what is refused.
  EXPECT_TRUE(parseKeptGame(withSum(body)).has_value());
}

class KeptGameFile : public testing::InTempDir {};

TEST_F(KeptGameFile, IsNoneOkOrDamagedAndADamagedOneGoesAside) {
  const std::string path = kKeptGameFileName;
  EXPECT_EQ(readKeptGame(path).status, KeptGameStatus::None);
  ASSERT_TRUE(writeKeptGame(path, keptGameText(playedGame())));
  const KeptGameRead read = readKeptGame(path);
  EXPECT_EQ(read.status, KeptGameStatus::Ok);
  EXPECT_EQ(read.game, playedGame());

  writeFile(path, "Kaimo kept game 1\n");
  EXPECT_EQ(readKeptGame(path).status, KeptGameStatus::Damaged);
  EXPECT_EQ(setDamagedKeptGameAside(path), path + ".bad");
  EXPECT_EQ(readKeptGame(path).status, KeptGameStatus::None);

  std::filesystem::create_directory(path);
  EXPECT_EQ(readKeptGame(path).status, KeptGameStatus::Damaged);
}

}  // namespace
}  // namespace kaimo
