// Square names: a letter a..j for the column and the row, written 1..9 then
// 0 in game records (one character a square), and 1..10 where people read
// them, as the board is labelled.
#pragma once

#include <string>

#include "engine/board/board.h"

namespace kaimo {

inline constexpr char moveLetter(int square) { return static_cast<char>('a' + square / 10); }
inline constexpr char moveDigit(int square) { return static_cast<char>('0' + (square % 10 + 1) % 10); }

inline std::string squareName(int square) {
  if (square < 0 || square >= kSquareCount) return "none";
  return {moveLetter(square), moveDigit(square)};
}

// "a1".."j10": the row as the board labels it.
inline std::string squareDisplayName(int square) {
  if (square < 0 || square >= kSquareCount) return "none";
  return std::string(1, moveLetter(square)) + std::to_string(square % 10 + 1);
}

// The square named by a letter (either case) and a digit, or -1.
inline constexpr int squareFromNotation(int letter, int digit) {
  if (letter >= 'A' && letter <= 'Z') letter += 'a' - 'A';
  if (digit < '0' || digit > '9') return -1;
  const int column = letter - 'a';
  const int row = digit == '0' ? 9 : digit - '1';
  if (column < 0 || column > 9 || row < 0 || row > 9) return -1;
  return squareAt(column, row);
}

}  // namespace kaimo
