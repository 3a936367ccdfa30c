#include <gtest/gtest.h>

#include "engine/board/notation.h"

namespace kaimo {
namespace {

TEST(Notation, NamesAndParsesEverySquareBothWays) {
  for (int s = 0; s < kSquareCount; ++s) {
    const std::string name = squareName(s);
    ASSERT_EQ(name.size(), 2u);
    EXPECT_EQ(squareFromNotation(name[0], name[1]), s) << name;
    EXPECT_EQ(squareFromNotation(name[0] - 'a' + 'A', name[1]), s) << name;
  }
  EXPECT_EQ(squareName(9), "a0");  // the tenth row is written 0
  EXPECT_EQ(squareName(0), "a1");
  EXPECT_EQ(squareName(-1), "none");
}

TEST(Notation, RejectsCharactersOutsideTheBoard) {
  for (int digit : {int{'/'}, int{':'}, int{'a'}, int{' '}, 0}) EXPECT_EQ(squareFromNotation('a', digit), -1) << digit;
  for (int letter : {'k', '`', '{', '0', '@'}) EXPECT_EQ(squareFromNotation(letter, '1'), -1) << letter;
}

}  // namespace
}  // namespace kaimo
