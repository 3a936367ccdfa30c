// How much work a command-line tool accepts. Each read costs a few times
// more per extra ply or empty square; past these limits a run would take
// from a year to far beyond a human lifetime, so it is refused at once
// instead of being started.
#pragma once

#include <cstddef>

namespace kaimo::tools {

// perft 10 from the initial position takes seconds; each ply costs 8 to 10 times more.
constexpr int kMaxPerftDepth = 16;
// A normal read of 11 plies takes seconds; each ply costs about 3 times more.
constexpr int kMaxNormalDepth = 24;
// A move by time: an hour of processor time is far beyond any use.
constexpr int kMaxMsPerMove = 3600000;
// A game clock (`match --clock`): a day of processor time a side, and an
// hour added after each move, are far beyond any use.
constexpr double kMaxClockSeconds = 86400;
constexpr double kMaxIncrementSeconds = 3600;
// Reads to the end (exact or win/loss): 20 empty squares take minutes, each
// further square about 2.7 times more.
constexpr int kMaxReadEmpties = 32;
// Threads searching one tree (`--threads`): more than a desktop has cores.
constexpr int kMaxSearchThreads = 16;
// A bench suite: enough positions for hours of searching, in a file of a
// size no suite comes near.
constexpr int kMaxSuitePositions = 1000;
constexpr std::size_t kMaxSuiteBytes = 256 * 1024;
// A board in text form: 100 symbols, white space and line ends.
constexpr std::size_t kMaxBoardBytes = 4096;

}  // namespace kaimo::tools
