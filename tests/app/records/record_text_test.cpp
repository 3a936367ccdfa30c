#include <gtest/gtest.h>

#include <string>

#include "app/records/record_text.h"
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
      {"40,000 x", std::string(40000, 'x'), RecordStatus::FormatError, 1},
      {"d5 40,000 characters in one word", repeated("d5", 20000), RecordStatus::Ok, 20001},
      {"1,000,000 x", std::string(1000000, 'x'), RecordStatus::FormatError, 1},
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

}  // namespace
}  // namespace kaimo
