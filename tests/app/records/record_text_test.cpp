#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/records/record_text.h"
#include "engine/board/notation.h"
#include "tests/app/records/record_test_util.h"

namespace kaimo {
namespace {

using testing::initialBoard;

std::string repeated(const std::string& word, std::size_t times) {
  std::string text;
  text.reserve(word.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += word;
  return text;
}

// Long words once overflowed the stack of a recursive matcher; every text
// up to the limit is read in one pass, and a longer one is refused unread.
TEST(RecordText, LongWordsAreReadAndTooLargeTextsRefused) {
  const History initialOnly = {{kBlack, -1, initialBoard()}};
  struct Case {
    const char* name;
    std::string text;
    RecordStatus status;
    std::size_t entries;
  };
  const Case cases[] = {
      {"40,000 x", std::string(40000, 'x'), RecordStatus::NotARecord, 0},
      {"d5 40,000 characters in one word", repeated("d5", 20000), RecordStatus::Ok, 20001},
      {"1,000,000 x", std::string(1000000, 'x'), RecordStatus::NotARecord, 0},
      {"d5 1,000,000 characters in one word", repeated("d5", 500000), RecordStatus::FormatError, kMaxRecordMoves + 1},
      {"a move list of 1,000,000 characters", repeated("1. d5 ", 1000000 / 6), RecordStatus::FormatError,
       kMaxRecordMoves + 1},
      {"blanks up to the limit", std::string(kMaxRecordTextBytes, ' '), RecordStatus::Ok, 1},
      {"one byte over the limit", std::string(kMaxRecordTextBytes + 1, ' '), RecordStatus::TooLarge, 0},
  };
  for (const Case& c : cases) {
    const RecordReadResult read = readRecordText(c.text);
    EXPECT_EQ(read.status, c.status) << c.name;
    EXPECT_EQ(read.history.size(), c.entries) << c.name;
    if (c.entries == 1) {
      EXPECT_EQ(read.history, initialOnly) << c.name;
    }
  }
}

// Whole games pasted as move lists, each move spelt another way: columns
// a..j in either case, the tenth row as "10" or "0", move numbers alone,
// with a dot, or joined to the move. Random games reach every column and
// row; a letter past j, a row past 10 or a stray word makes the text no
// move list.
TEST(RecordText, MoveListsOfEveryColumnAndRowAreRead) {
  std::mt19937 rng(43);
  unsigned columns = 0, rows = 0;
  for (int game = 0; game < 3; ++game) {
    const History history = testing::randomGame(rng);
    std::string text;
    for (std::size_t i = 0; i + 1 < history.size(); ++i) {
      const int square = history[i].move;
      columns |= 1u << columnOf(square);
      rows |= 1u << rowOf(square);
      const std::string number = std::to_string(i + 1);
      std::string name = i % 2 == 0 ? squareDisplayName(square) : squareName(square);
      if (i % 3 == 1) name[0] = static_cast<char>(name[0] - 'a' + 'A');
      const char* const numbering[] = {". ", ".", " "};
      text += i % 4 < 3 ? number + numbering[i % 4] + name : name;
      text += i % 5 == 0 ? "\n" : " ";
    }
    const RecordReadResult read = readRecordText(text);
    EXPECT_EQ(read.status, RecordStatus::Ok) << text;
    EXPECT_EQ(read.history, history) << text;
  }
  EXPECT_EQ(columns, 0x3ffu);
  EXPECT_EQ(rows, 0x3ffu);
  std::string record;
  for (const char* word : {"k5", "K5", "`5", "@5", "j11", "a00", "d", "5d"}) {
    EXPECT_FALSE(moveListAsRecord(std::string("1. d5 2. ") + word, record)) << word;
  }
}

}  // namespace
}  // namespace kaimo
