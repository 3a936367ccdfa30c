#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "engine/board/board.h"
#include "tests/common/capture.h"
#include "tests/common/plain_board.h"

namespace kaimo {
namespace {

// A stream over a string, for the reader.
struct TextStream {
  explicit TextStream(const std::string& text) : file(std::tmpfile()) {
    std::fputs(text.c_str(), file);
    std::rewind(file);
  }
  ~TextStream() { std::fclose(file); }
  std::FILE* file;
};

std::string writeText(const Board& b) {
  return testing::captureOutput([&](std::FILE* f) { boardWriteText(b, f); }).output;
}

TEST(BoardText, InitialPositionText) {
  Board b;
  boardInit(b);
  std::string expected;
  for (int row = 0; row < 10; ++row) {
    expected += row == 4 ? "....ox...." : row == 5 ? "....xo...." : "..........";
    expected += '\n';
  }
  EXPECT_EQ(writeText(b), expected);
}

TEST(BoardText, RoundTripKeepsWallsAndAnyLayoutReads) {
  std::mt19937 rng(3);
  for (int trial = 0; trial < 50; ++trial) {
    const Board b = plain::randomBoard(rng, 15);
    Board back;
    back.fill(kEmpty);
    TextStream lines(writeText(b));
    ASSERT_EQ(boardReadText(back, lines.file), 0);
    EXPECT_EQ(back, b);

    std::string spaced;  // one symbol per line, with blanks between
    for (char c : writeText(b)) {
      if (c != '\n') spaced += std::string(" ") + c + "\n";
    }
    TextStream loose(spaced);
    back.fill(kEmpty);
    ASSERT_EQ(boardReadText(back, loose.file), 0);
    EXPECT_EQ(back, b);
  }
}

TEST(BoardText, ReaderStopsAfterTheHundredthSymbol) {
  TextStream in(std::string(100, '.') + "E4");
  Board b;
  ASSERT_EQ(boardReadText(b, in.file), 0);
  EXPECT_EQ(std::fgetc(in.file), 'E');
}

TEST(BoardText, ShortOrForeignTextFailsKeepingWhatWasRead) {
  Board b;
  b.fill(kWall);
  TextStream shortText(std::string(99, 'x'));
  EXPECT_EQ(boardReadText(b, shortText.file), -1);
  EXPECT_EQ(b[0], kBlack);
  EXPECT_EQ(b[99], kWall);

  for (char bad : {'X', 'O', '0', '#'}) {
    TextStream foreign(std::string(50, '.') + bad + std::string(49, '.'));
    Board c;
    c.fill(kWall);
    EXPECT_EQ(boardReadText(c, foreign.file), -1) << bad;
    // Square (column 0, row 5) was the 51st symbol and stays as it was.
    EXPECT_EQ(c[5], kWall);
    EXPECT_EQ(c[40], kEmpty);  // column 4, row 0: read before the bad symbol
    EXPECT_EQ(c[49], kWall);   // column 4, row 9: never reached
  }
}

TEST(BoardText, TransformsCycleAndMapTheStart) {
  Board start;
  boardInit(start);
  Board t;
  boardTranspose(t, start);
  EXPECT_EQ(t, start);
  Board r;
  boardRotate(r, start);
  EXPECT_EQ(r[44], kBlack);
  EXPECT_EQ(r[55], kBlack);
  EXPECT_EQ(r[45], kWhite);
  EXPECT_EQ(r[54], kWhite);

  std::mt19937 rng(11);
  const Board b = plain::randomBoard(rng, 10);
  Board once, twice;
  boardTranspose(once, b);
  boardTranspose(twice, once);
  EXPECT_EQ(twice, b);
  Board turned = b;
  for (int i = 0; i < 4; ++i) {
    Board next;
    boardRotate(next, turned);
    turned = next;
  }
  EXPECT_EQ(turned, b);
  // A quarter turn clockwise: the top-left corner goes to the top-right.
  Board corner;
  corner.fill(kEmpty);
  corner[0] = kBlack;
  boardRotate(once, corner);
  EXPECT_EQ(once[90], kBlack);
}

}  // namespace
}  // namespace kaimo
