#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

#include "app/records/record_writer.h"
#include "tests/app/records/record_test_util.h"

namespace kaimo {
namespace {

using testing::boardLines;
using testing::boardToken;
using testing::initialBoard;
using testing::playedHistory;
using testing::readText;
using testing::writeText;

TEST(RecordWriter, AGameFromTheStartIsItsMovesBackToBack) {
  const History game = playedHistory(initialBoard(), kBlack, {34, 33, 32, 22});
  EXPECT_EQ(writeText(game), "d5d4d3c3");
  EXPECT_EQ(writeText({{kBlack, -1, initialBoard()}}), "");
}

TEST(RecordWriter, TheTenthRowIsTheDigitZero) {
  // Black takes a white disc on the bottom edge of column a and then of
  // column j; walls keep white from answering in between.
  Board start = testing::emptyBoard();
  for (int column : {0, 9}) {
    start[squareAt(column, 6)] = kWall;
    start[squareAt(column, 7)] = kBlack;
    start[squareAt(column, 8)] = kWhite;
  }
  const History game = playedHistory(start, kBlack, {9, 99});
  ASSERT_EQ(game[1].side, kBlack);
  EXPECT_EQ(writeText(game), boardToken(start) + "a0j0");
}

TEST(RecordWriter, AnEditedStartIsWrittenAsALeadingBoard) {
  Board edited = initialBoard();
  edited[0] = kWall;
  edited[99] = kWhite;
  const History game = playedHistory(edited, kBlack, {34});
  EXPECT_EQ(writeText(game), boardToken(edited) + "d5");
}

TEST(RecordWriter, SideTokensOnlyWhereTheReaderWouldDeriveAnotherColour) {
  // White to move first, and at the end a position set up with white to move
  // although the rules give black.
  History game = playedHistory(initialBoard(), kWhite, {46});
  EXPECT_EQ(game.back().side, kBlack);
  game.back().side = kWhite;
  EXPECT_EQ(writeText(game), "T1e7T1");
  EXPECT_EQ(readText("T1e7T1").history, game);
  EXPECT_EQ(writeText({{kWhite, -1, initialBoard()}}), "T1");
}

TEST(RecordWriter, APassIsWrittenWithoutASideToken) {
  const Board start = testing::whitePassesAfterA3Board();
  const History game = playedHistory(start, kBlack, {squareAt(0, 2), squareAt(5, 2)});
  ASSERT_EQ(game[1].side, kBlack);  // white passed
  EXPECT_EQ(writeText(game), boardToken(start) + "a3f3");
}

TEST(RecordWriter, TheNextColourComesFromTheReplayedBoardNotTheBoardAfterIt) {
  // After black a3 white has no move but black has, so replaying the record
  // leaves black to move; the next entry is the initial position edited in
  // with white to move. Deriving the colour from that board (where white
  // can move) would leave out the side token and read the entry back as
  // black's.
  const Board start = testing::whitePassesAfterA3Board();
  const History game = {
      {kBlack, 2, start}, {kWhite, 46, initialBoard()}, {kBlack, -1, testing::playedOn(initialBoard(), 46, kWhite)}};
  const std::string text = writeText(game);
  EXPECT_EQ(text, boardToken(start) + "a3" + boardToken(initialBoard()) + "T1e7");
  EXPECT_EQ(readText(text).history, game);
}

TEST(RecordWriter, AMoveTheRulesRefuseIsFollowedByTheBoard) {
  // e5 is occupied; the history says nothing changed, and the board token
  // written anyway reads back to the same position.
  const History game = {{kBlack, 44, initialBoard()}, {kWhite, -1, initialBoard()}};
  EXPECT_EQ(writeText(game), "e5" + boardToken(initialBoard()));
  EXPECT_EQ(readText(writeText(game)).history, game);
}

TEST(RecordWriter, RefusesWhatNoRecordCanCarryAndWritesNothing) {
  Board bad = initialBoard();
  bad[7] = 4;
  const History refused[] = {
      {},
      {{2, -1, initialBoard()}},
      {{kBlack, -1, initialBoard()}, {kWhite, -1, initialBoard()}},
      {{kBlack, 100, initialBoard()}, {kWhite, -1, initialBoard()}},
      {{kBlack, -1, bad}},
  };
  for (const History& history : refused) {
    EXPECT_FALSE(isWritableHistory(history));
    std::FILE* f = std::tmpfile();
    EXPECT_EQ(writeRecord(f, history).status, RecordStatus::NotWritable);
    EXPECT_EQ(std::ftell(f), 0);
    std::fclose(f);
  }
  // The last entry's move is not written, so any value is fine there.
  EXPECT_TRUE(isWritableHistory({{kBlack, 1000, initialBoard()}}));
}

TEST(RecordWriter, AWriteErrorIsReported) {
  std::FILE* full = std::fopen("/dev/full", "w");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  std::mt19937 rng(2);
  const RecordWriteResult result = writeRecord(full, testing::randomEditedHistory(rng, 40));
  EXPECT_EQ(result.status, RecordStatus::WriteFailed);
  EXPECT_EQ(result.systemError, ENOSPC);
  std::fclose(full);
}

}  // namespace
}  // namespace kaimo
