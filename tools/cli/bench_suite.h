// The bench suite: positions in a line-per-position text form,
//   KIND SIDE BOARD
// KIND "midgame" (a normal read) or "exact" (a read to the end), SIDE "x" or
// "o" for the side to move, BOARD the 100 symbols of the text form on one
// line, row by row. Blank lines and lines starting with '#' are skipped.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "engine/board/board.h"
#include "engine/search/search_driver.h"

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

// How the bench reads a position: "狸" at depth 8, or to the end.
SideSettings benchSettings(const BenchPosition& position);

// A position of seeded play (half the moves the ones the simple evaluation
// likes best, half random) with at most `empties` empty squares and a move
// for `side`.
Board seededPosition(std::mt19937& rng, int empties, int& side);

// A new suite from seeded play; the same seed gives the same suite.
std::string makeBenchSuite(unsigned seed);

}  // namespace kaimo::cli
