// Squares typed on the keyboard, key by key.
#include "app/controller/square_typing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/board/board.h"

namespace kaimo {
namespace {

// A newline stands for Enter (or the wait after a 1 running out).
struct Typed {
  std::vector<int> squares;
  int refusals = 0;
  std::string left;  // typed and not yet ended
};

Typed typeKeys(const std::string& keys) {
  SquareTyping typing;
  Typed typed;
  for (const char key : keys) {
    const SquareTyping::Outcome outcome = key == '\n' ? typing.finish() : typing.type(key);
    if (outcome.square >= 0) typed.squares.push_back(outcome.square);
    if (outcome.refused) ++typed.refusals;
  }
  typed.left = typing.text();
  return typed;
}

TEST(SquareTyping, KeysMakeSquaresAsTheBoardLabelsThem) {
  const int d5 = squareAt(3, 4), j10 = squareAt(9, 9), j1 = squareAt(9, 0), a10 = squareAt(0, 9), c5 = squareAt(2, 4);
  struct Case {
    const char* keys;
    std::vector<int> squares;
    int refusals;
    const char* left;
  };
  const Case cases[] = {
      {"d5", {d5}, 0, ""},
      {"D5", {d5}, 0, ""},
      {"j10", {j10}, 0, ""},
      {"a0", {a10}, 0, ""},          // the tenth row as records write it
      {"j1", {}, 0, "j1"},           // may still become j10
      {"j1\n", {j1}, 0, ""},         // Enter or the wait: j1
      {"j1c5", {j1, c5}, 0, ""},     // the next letter ends it and begins the next square
      {"j11", {}, 1, ""},            // no row 11
      {"j19", {}, 1, ""},
      {"dc5", {c5}, 0, ""},          // a second letter starts afresh
      {"d55", {d5}, 1, ""},          // a digit with no letter
      {"k5", {}, 2, ""},             // no column k
      {"5", {}, 1, ""},
      {"d\n", {}, 1, ""},            // Enter before the row
      {"\n", {}, 0, ""},
      {"j1\nj10", {j1, j10}, 0, ""},
  };
  for (const Case& tc : cases) {
    const Typed typed = typeKeys(tc.keys);
    EXPECT_EQ(typed.squares, tc.squares) << tc.keys;
    EXPECT_EQ(typed.refusals, tc.refusals) << tc.keys;
    EXPECT_EQ(typed.left, tc.left) << tc.keys;
  }
}

TEST(SquareTyping, BackspaceTakesBackTheLastKey) {
  SquareTyping typing;
  typing.type('j');
  typing.type('1');
  ASSERT_TRUE(typing.mayBecomeTenth());
  typing.erase();
  EXPECT_EQ(typing.text(), "j");
  EXPECT_FALSE(typing.mayBecomeTenth());
  EXPECT_EQ(typing.type('2').square, squareAt(9, 1));
  typing.erase();
  EXPECT_EQ(typing.text(), "");
}

}  // namespace
}  // namespace kaimo
