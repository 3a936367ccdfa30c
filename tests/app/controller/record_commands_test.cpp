// Opening and saving game records through the controller, with the file
// dialog answered by the recording window, in a fresh directory per test.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/controller/game_controller.h"
#include "tests/app/controller/controller_fixture.h"
#include "tests/common/temp_dir.h"

namespace kaimo {
namespace {

using testing::initialBoard;
using testing::kComputer;
using testing::kHuman;
using testing::quickSettings;
using testing::tickUntil;

constexpr const char* kCannotOpen = "ファイルが開けません。";
constexpr const char* kBadRecord = "正しくない棋譜です。";

int square(const char* name) { return squareAt(name[0] - 'a', name[1] == '0' ? 9 : name[1] - '1'); }

// The history of moves played one after another from the start (no passes).
History historyOf(const std::vector<const char*>& moves) {
  History history;
  Board board = initialBoard();
  int side = kBlack;
  for (const char* move : moves) {
    history.push_back({side, square(move), board});
    Board next;
    EXPECT_GT(boardPlay(board, next, square(move), side), 1) << move;
    board = next;
    side = opponentOf(side);
  }
  history.push_back({side, -1, board});
  return history;
}

class RecordCommands : public testing::ControllerFixture<testing::InTempDir> {
 protected:
  void open(const std::string& path) {
    window.chosenFile = path;
    c().openRecord();
  }
  void save(const std::string& path) {
    window.chosenFile = path;
    c().saveRecord();
  }
  void playMoves(const std::vector<const char*>& moves) {
    startAndTick();
    for (const char* move : moves) clickAndTick(square(move));
  }
};

TEST_F(RecordCommands, OpeningShowsTheFirstPositionOfTheRecord) {
  make(quickSettings(kHuman, kHuman));
  writeFile("game.txt", "d5d4d3c3");
  open("game.txt");
  EXPECT_EQ(window.fileDialogs, std::vector<RecordFileUse>{RecordFileUse::Open});
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(c().game().history(), historyOf({"d5", "d4", "d3", "c3"}));
  EXPECT_EQ(c().game().cursor(), 0);
  EXPECT_EQ(c().game().board(), initialBoard());
  EXPECT_EQ(c().game().side(), kBlack);
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  c().goToLast();
  EXPECT_EQ(c().game().board(), historyOf({"d5", "d4", "d3", "c3"}).back().board);
}

TEST_F(RecordCommands, OpeningStopsARunningGameFirst) {
  make(quickSettings(kHuman, kComputer, 30, 0));
  playMoves({"d5"});
  ASSERT_EQ(c().mode(), ViewMode::Playing);
  writeFile("game.txt", "d5d4");
  open("game.txt");
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(window.panes[kProgressPane], "停止");
  EXPECT_EQ(c().game().history(), historyOf({"d5", "d4"}));
  for (int i = 0; i < 3; ++i) c().onTimer();
  EXPECT_EQ(c().game().history(), historyOf({"d5", "d4"})) << "the stopped search posts no move";
}

TEST_F(RecordCommands, AFileThatCannotBeOpenedChangesNothing) {
  make(quickSettings(kHuman, kHuman));
  playMoves({"d5", "d4"});
  const History before = c().game().history();
  std::filesystem::create_directory("folder");
  for (const char* path : {"missing.txt", "folder"}) {
    window.messages.clear();
    open(path);
    EXPECT_EQ(window.messages, std::vector<std::string>{kCannotOpen}) << path;
    EXPECT_EQ(c().game().history(), before) << path;
    EXPECT_EQ(c().game().cursor(), 2) << path;
  }
}

TEST_F(RecordCommands, CancellingTheDialogReadsNothing) {
  make(quickSettings(kHuman, kHuman));
  playMoves({"d5"});
  const History before = c().game().history();
  open("");
  EXPECT_EQ(window.fileDialogs.size(), 1u);
  EXPECT_EQ(c().game().history(), before);
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(RecordCommands, ABrokenRecordKeepsItsMovesAndSaysSo) {
  make(quickSettings(kHuman, kHuman));
  writeFile("broken.txt", "d5d4 d 3");
  open("broken.txt");
  EXPECT_EQ(window.messages, std::vector<std::string>{kBadRecord});
  EXPECT_EQ(c().game().history(), historyOf({"d5", "d4"}));
  EXPECT_EQ(c().game().cursor(), 0);
}

TEST_F(RecordCommands, ARecordBrokenBeforeItsFirstMoveStillLeavesAPosition) {
  make(quickSettings(kHuman, kHuman));
  playMoves({"d5", "d4"});
  writeFile("broken.txt", "T1d 5");
  open("broken.txt");
  EXPECT_EQ(window.messages, std::vector<std::string>{kBadRecord});
  ASSERT_EQ(c().game().history().size(), 1u);
  EXPECT_EQ(c().game().board(), initialBoard());
  EXPECT_EQ(c().game().side(), kWhite);
  EXPECT_EQ(c().game().cursor(), 0);
  // The commands that need a history go on working.
  c().goToLast();
  save("after.txt");
  EXPECT_EQ(testing::InTempDir::readFile("after.txt"), "T1");
  startAndTick();
  EXPECT_EQ(c().mode(), ViewMode::Playing);
}

// A text with not one move or token of a record in it is refused, opened
// or pasted: the game on the screen stays, with its file.
TEST_F(RecordCommands, NothingOfARecordIsRefusedAndTheGameStays) {
  std::string noise = "#";
  std::mt19937 rng(3);
  while (noise.size() < 3000) noise.push_back(static_cast<char>(rng() & 0xff));
  const std::string texts[] = {"hello world ♥ zz99", noise, "T7d5", "\xEF\xBB"};
  for (const std::string& text : texts) {
    for (const bool pasted : {false, true}) {
      make(quickSettings(kHuman, kHuman));
      writeFile("game.txt", "d5d4d3");
      open("game.txt");
      c().goToLast();
      const History before = c().game().history();
      window.messages.clear();
      if (pasted) {
        c().pasteRecord(text);
      } else {
        writeFile("noise.txt", text);
        EXPECT_FALSE(c().openRecordFile("noise.txt"));
      }
      EXPECT_EQ(window.messages, std::vector<std::string>{kBadRecord});
      EXPECT_EQ(c().game().history(), before);
      EXPECT_EQ(c().game().cursor(), 3);
      EXPECT_EQ(c().game().recordPath(), "game.txt");
      EXPECT_TRUE(window.questions.empty());
    }
  }
}

// Opening, pasting and closing the window (which asks mayDiscardGame) ask
// whether to save exactly when the game holds unsaved work: a board edited
// without a move is some, a game saved after its moves or its edit is none.
TEST_F(RecordCommands, OnlyUnsavedWorkIsAskedAboutBeforeTheGameGoes) {
  writeFile("other.txt", "d5d4d3");
  const auto edit = [this] {
    c().toggleEditing();
    c().leftEdit(square("a1"));
    c().toggleEditing();
  };
  struct Work {
    const char* name;
    std::function<void()> make;
    bool unsaved;
  };
  const Work works[] = {
      {"an edit", edit, true},
      {"a move, saved",
       [this] {
         playMoves({"d5"});
         save("saved.txt");
       },
       false},
      {"an edit, saved",
       [&] {
         edit();
         save("saved.txt");
       },
       false},
      {"a pasted game", [this] { c().pasteRecord("f5 d6"); }, true},
      {"a pasted initial position", [this] { c().pasteRecord(" "); }, false},
  };
  const std::pair<const char*, std::function<void()>> discards[] = {
      {"opening", [this] { open("other.txt"); }},
      {"pasting", [this] { c().pasteRecord("d5d4"); }},
      {"closing", [this] { c().mayDiscardGame(); }},
  };
  window.answer = Answer::Cancel;
  for (const Work& work : works) {
    for (const auto& [discard, run] : discards) {
      make(quickSettings(kHuman, kHuman));
      work.make();
      window.questions.clear();
      run();
      EXPECT_EQ(window.questions.size(), work.unsaved ? 1u : 0u) << work.name << ", then " << discard;
    }
  }
}

TEST_F(RecordCommands, SavingWritesTheWholeHistoryWhereverTheCursorIs) {
  make(quickSettings(kHuman, kHuman));
  playMoves({"d5", "d4", "d3", "c3"});
  c().goToPosition(1);
  save("saved.txt");
  EXPECT_EQ(window.fileDialogs, std::vector<RecordFileUse>{RecordFileUse::Save});
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(readFile("saved.txt"), "d5d4d3c3");
  EXPECT_EQ(c().game().cursor(), 1) << "saving leaves the position shown";
}

TEST_F(RecordCommands, SavedRecordsOpenAsTheSameHistory) {
  make(quickSettings(kComputer, kComputer, 1, 4));
  c().start();
  ASSERT_TRUE(tickUntil(c(), [&] { return c().game().history().size() >= 12; }));
  c().pause();
  const History played = c().game().history();
  save("game.txt");
  c().clearBoard();
  ASSERT_EQ(c().game().history().size(), 1u);
  open("game.txt");
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(c().game().history(), played);
}

TEST_F(RecordCommands, AnEditedStartIsSavedWithItsBoard) {
  make(quickSettings(kHuman, kHuman));
  c().toggleEditing();
  c().leftEdit(square("a1"));
  startAndTick();
  clickAndTick(square("d5"));
  const History played = c().game().history();
  ASSERT_EQ(played.size(), 2u);
  save("edited.txt");
  EXPECT_EQ(readFile("edited.txt").rfind("B\nx.........\n", 0), 0u) << readFile("edited.txt");
  open("edited.txt");
  EXPECT_EQ(c().game().history(), played);
}

TEST_F(RecordCommands, AFailedSaveIsToldWithTheFileAndTheReason) {
  make(quickSettings(kHuman, kHuman));
  playMoves({"d5"});
  writeFile("kept.txt", "d5d4");
  save("no/such/folder/game.txt");
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].rfind(std::string(kCannotOpen) + "\nno/such/folder/game.txt: ", 0), 0u)
      << window.messages[0];
  EXPECT_EQ(readFile("kept.txt"), "d5d4");
}

TEST_F(RecordCommands, CancellingTheSaveDialogWritesNothing) {
  make(quickSettings(kHuman, kHuman));
  save("");
  EXPECT_EQ(window.fileDialogs.size(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty("."));
}

}  // namespace
}  // namespace kaimo
