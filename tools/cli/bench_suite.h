// The bench suite: positions in a line-per-position text form,
//   KIND SIDE BOARD
// KIND "midgame" (a normal read) or "exact" (a read to the end), SIDE "x" or
// "o" for the side to move, BOARD the 100 symbols of the text form on one
// line, row by row. Blank lines and lines starting with '#' are skipped.
#pragma once

#include <string>
#include <vector>

#include "engine/board/board.h"

namespace kaimo::cli {

enum class BenchKind { Midgame, Exact };

struct BenchPosition {
  BenchKind kind;
  int side;
  Board board;
};

// Throws UsageError naming `origin` and the line of the first wrong line.
std::vector<BenchPosition> parseBenchSuite(const std::string& text, const std::string& origin);

// The committed suite, built into the program.
const std::string& builtInBenchSuite();

// A new suite from seeded play; the same seed gives the same suite.
std::string makeBenchSuite(unsigned seed);

}  // namespace kaimo::cli
