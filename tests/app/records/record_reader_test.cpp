#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "app/records/record_reader.h"
#include "app/records/record_text.h"
#include "tests/app/records/record_test_util.h"

namespace kaimo {
namespace {

using testing::boardLines;
using testing::boardToken;
using testing::initialBoard;
using testing::playedHistory;
using testing::playedOn;
using testing::readText;

const History kInitialOnly = {{kBlack, -1, initialBoard()}};

TEST(RecordReader, EmptyBlankOrEndedFilesOpenAsTheInitialPosition) {
  for (const char* text : {"", " \n\t\r\n  ", "E", "\nE", "E garbage d5 B", "Ed5"}) {
    const RecordReadResult read = readText(text);
    EXPECT_EQ(read.status, RecordStatus::Ok) << text;
    EXPECT_EQ(read.history, kInitialOnly) << text;
  }
}

TEST(RecordReader, LetterCaseDecidesBetweenMovesAndTokens) {
  // e4 is a move; E4 ends the record before the 4.
  EXPECT_EQ(readText("e4").history, playedHistory(initialBoard(), kBlack, {squareAt(4, 3)}));
  EXPECT_EQ(readText("E4").history, kInitialOnly);
  // Upper-case letters other than B and E are moves too.
  EXPECT_EQ(readText("D5c6").history, readText("d5c6").history);
  EXPECT_EQ(readText("D5c6").history.size(), 3u);
  // b5 is a move (an illegal one: a lone disc), B starts a board.
  EXPECT_EQ(readText("b5").history, playedHistory(initialBoard(), kBlack, {squareAt(1, 4)}));
  EXPECT_EQ(readText("B").status, RecordStatus::NotARecord);
  // T1 makes white move; t1 is not a token.
  EXPECT_EQ(readText("T1e7").history, playedHistory(initialBoard(), kWhite, {squareAt(4, 6)}));
  const RecordReadResult lower = readText("t1");
  EXPECT_EQ(lower.status, RecordStatus::NotARecord);
  EXPECT_EQ(lower.history, History{});
}

// Alone, each of these has nothing of a record: refused with no history.
// After a move it breaks the record off: the move stays.
TEST(RecordReader, NoWhiteSpaceInsideTokens) {
  const History afterD5 = playedHistory(initialBoard(), kBlack, {squareAt(3, 4)});
  for (const char* text : {"d 5", "d\n5", "T 1", "T\n1", "T2", "Tx", "T", "d", "k1", "@1", "1d"}) {
    const RecordReadResult read = readText(text);
    EXPECT_EQ(read.status, RecordStatus::NotARecord) << text;
    EXPECT_EQ(read.history, History{}) << text;
    const RecordReadResult broken = readText(std::string("d5 ") + text);
    EXPECT_EQ(broken.status, RecordStatus::FormatError) << text;
    EXPECT_EQ(broken.history, afterD5) << text;
  }
  EXPECT_EQ(readText(" d5\n\td4 \r\n").history, readText("d5d4").history);
}

TEST(RecordReader, TheTenthRowIsDigitZero) {
  EXPECT_EQ(readText("a0").history.front().move, 9);
  EXPECT_EQ(readText("a1").history.front().move, 0);
  EXPECT_EQ(readText("j0").history.front().move, 99);
  EXPECT_EQ(readText("J9").history.front().move, 98);
}

TEST(RecordReader, BoardTokensKeepWallsAndTheSideToMove) {
  std::mt19937 rng(5);
  const Board walled = plain::randomBoard(rng, 20);
  EXPECT_EQ(readText(boardToken(walled)).history, History({{kBlack, -1, walled}}));

  std::string loose = "T1 B";  // symbols spread over lines and spaces
  for (char c : boardLines(walled)) {
    if (c != '\n') {
      loose += " \n";
      loose += c;
    }
  }
  EXPECT_EQ(readText(loose).history, History({{kWhite, -1, walled}}));

  // Replaces the position in the middle of a game; white still moves.
  const RecordReadResult mid = readText("d5" + boardToken(walled) + "a0");
  ASSERT_EQ(mid.status, RecordStatus::Ok);
  ASSERT_EQ(mid.history.size(), 3u);
  EXPECT_EQ(mid.history[1].board, walled);
  EXPECT_EQ(mid.history[1].side, kWhite);
  EXPECT_EQ(mid.history[1].move, 9);
}

TEST(RecordReader, ShortOrForeignBoardsAreFormatErrorsAndLeaveNoHalfBoard) {
  const std::string full = boardLines(initialBoard());
  for (const std::string& broken : {full.substr(0, full.size() - 2), full.substr(0, 50) + "X" + full.substr(50),
                                    full.substr(0, 50) + "0" + full.substr(50), std::string("\n")}) {
    std::string walls(100, '-');
    const RecordReadResult read = readText("T1B" + walls + "d5B" + broken);
    EXPECT_EQ(read.status, RecordStatus::FormatError);
    Board allWalls;
    allWalls.fill(kWall);
    // d5 on a wall changes nothing; the broken board is not applied. Neither
    // colour can move on walls: the game is over, and the turn goes back to
    // the colour that moved.
    EXPECT_EQ(read.history, History({{kWhite, 34, allWalls}, {kWhite, -1, allWalls}}));
  }
}

TEST(RecordReader, APassNeedsNoSideToken) {
  const Board start = testing::whitePassesAfterA3Board();
  const RecordReadResult read = readText(boardToken(start) + "a3f3");
  ASSERT_EQ(read.status, RecordStatus::Ok);
  ASSERT_EQ(read.history.size(), 3u);
  EXPECT_EQ(read.history[1].side, kBlack);
  EXPECT_EQ(read.history, playedHistory(start, kBlack, {squareAt(0, 2), squareAt(5, 2)}));
}

TEST(RecordReader, IllegalMovesAreReplayedNotRejected) {
  // e5 is occupied: nothing changes, and the turn still passes to white.
  EXPECT_EQ(readText("e5").history, History({{kBlack, 44, initialBoard()}, {kWhite, -1, initialBoard()}}));
  Board lone = initialBoard();
  lone[0] = kBlack;
  EXPECT_EQ(readText("a1").history, History({{kBlack, 0, initialBoard()}, {kWhite, -1, lone}}));
}

TEST(RecordReader, WindowsLineEndsRead) {
  std::string crlf = "B\r\n";
  for (char c : boardLines(initialBoard())) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  crlf += "d5\r\nd4\r\n";
  EXPECT_EQ(readText(crlf).history, readText("d5d4").history);
}

TEST(RecordReader, AFormatErrorKeepsEveryMoveReadAndThePositionTheyReach) {
  const RecordReadResult read = readText("d5d4 x9 c3");
  EXPECT_EQ(read.status, RecordStatus::FormatError);
  EXPECT_EQ(read.history, playedHistory(initialBoard(), kBlack, {34, 33}));
  // Before the first move: the position read so far, never an empty history.
  const Board walls = [] {
    Board b;
    b.fill(kWall);
    return b;
  }();
  EXPECT_EQ(readText("B" + std::string(100, '-') + "T1 T?").history, History({{kWhite, -1, walls}}));
}

TEST(RecordReader, AHostileLengthIsAFormatError) {
  std::string moves;
  for (std::size_t i = 0; i < kMaxRecordMoves; ++i) moves += "e5";  // occupied: nothing changes
  const RecordReadResult longest = readText(moves);
  EXPECT_EQ(longest.status, RecordStatus::Ok);
  EXPECT_EQ(longest.history.size(), kMaxRecordMoves + 1);
  const RecordReadResult tooLong = readText(moves + "e5");
  EXPECT_EQ(tooLong.status, RecordStatus::FormatError);
  EXPECT_EQ(tooLong.history.size(), kMaxRecordMoves + 1);
}

// A leading UTF-8 byte-order mark is no token, for files and for pasted
// texts alike (a plain move list included); anywhere else, or cut short, it
// is text that no record starts with.
TEST(RecordReader, ALeadingByteOrderMarkIsSkipped) {
  const std::string mark = "\xEF\xBB\xBF";
  const History d5d4 = playedHistory(initialBoard(), kBlack, {34, 33});
  struct Case {
    std::string text;
    RecordStatus status;
    History history;
  };
  const Case cases[] = {
      {mark + "d5d4", RecordStatus::Ok, d5d4},
      {mark, RecordStatus::Ok, kInitialOnly},
      {mark + "1. d5 2. d4", RecordStatus::Ok, d5d4},
      {"\xEF\xBB"
       "d5d4",
       RecordStatus::NotARecord,
       {}},
      {mark + mark + "d5d4", RecordStatus::NotARecord, {}},
      {"d5" + mark + "d4", RecordStatus::FormatError, playedHistory(initialBoard(), kBlack, {34})},
  };
  for (const Case& c : cases) {
    const RecordReadResult pasted = readRecordText(c.text);
    EXPECT_EQ(pasted.status, c.status) << c.text;
    EXPECT_EQ(pasted.history, c.history) << c.text;
    if (c.text.find('.') != std::string::npos) continue;  // a move list is no record file
    const RecordReadResult read = readText(c.text);
    EXPECT_EQ(read.status, c.status) << c.text;
    EXPECT_EQ(read.history, c.history) << c.text;
  }
}

TEST(RecordReader, UnreadableFilesGiveCannotOpenAndNoHistory) {
  const RecordReadResult missing = readRecord("/nonexistent/dir/game.txt");
  EXPECT_EQ(missing.status, RecordStatus::CannotOpen);
  EXPECT_TRUE(missing.history.empty());
  // A directory opens but cannot be read.
  const RecordReadResult directory = readRecord(std::filesystem::temp_directory_path().string());
  EXPECT_EQ(directory.status, RecordStatus::CannotOpen);
  EXPECT_TRUE(directory.history.empty());
}

TEST(RecordStatusMessage, TheProgramsOwnWords) {
  EXPECT_STREQ(recordStatusMessage(RecordStatus::CannotOpen), "ファイルが開けません。");
  EXPECT_STREQ(recordStatusMessage(RecordStatus::FormatError), "正しくない棋譜です。");
  EXPECT_STRNE(recordStatusMessage(RecordStatus::WriteFailed), "");
  EXPECT_STREQ(recordStatusMessage(RecordStatus::Ok), "");
}

}  // namespace
}  // namespace kaimo
