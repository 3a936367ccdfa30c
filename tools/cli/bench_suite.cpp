#include "tools/cli/bench_suite.h"

#include <random>
#include <sstream>

#include "engine/board/turn.h"
#include "engine/eval/eval_simple.h"
#include "tools/cli/commands.h"
#include "tools/common/limits.h"

namespace kaimo::cli {
namespace {

constexpr char kSymbols[] = "xo.-";
// Plies of play before each midgame position is taken.
constexpr int kMidgamePlies[] = {20, 26, 32, 38, 44, 50};
// Empty squares of the exact positions: long enough to time the solver,
// short enough that the whole bench stays near a minute.
constexpr int kExactEmpties[] = {14, 15, 16, 17, 18, 19, 20};

int symbolValue(char symbol) {
  for (int v = 0; v < 4; ++v) {
    if (kSymbols[v] == symbol) return v;
  }
  return -1;
}

BenchPosition parseLine(const std::string& line, const std::string& where) {
  std::istringstream words(line);
  std::string kind, side, board, extra;
  words >> kind >> side >> board;
  if (words >> extra) throw UsageError(where + ": more than KIND SIDE BOARD");
  BenchPosition position{};
  if (kind == "midgame") {
    position.kind = BenchKind::Midgame;
  } else if (kind == "exact") {
    position.kind = BenchKind::Exact;
  } else {
    throw UsageError(where + ": the kind must be midgame or exact, not '" + kind + "'");
  }
  if (side != "x" && side != "o") throw UsageError(where + ": the side must be x or o, not '" + side + "'");
  position.side = side == "x" ? kBlack : kWhite;
  if (board.size() != static_cast<std::size_t>(kSquareCount)) {
    throw UsageError(where + ": the board needs 100 symbols from x o . -");
  }
  for (int i = 0; i < kSquareCount; ++i) {
    const int value = symbolValue(board[i]);
    if (value < 0) throw UsageError(where + ": the board needs 100 symbols from x o . -");
    position.board[squareAt(i % kBoardSize, i / kBoardSize)] = static_cast<std::int8_t>(value);
  }
  if (position.kind == BenchKind::Exact && boardEmptyCount(position.board) > tools::kMaxReadEmpties) {
    throw UsageError(where + ": an exact position may have at most " + std::to_string(tools::kMaxReadEmpties) +
                     " empty squares (a read to the end of more would not finish)");
  }
  return position;
}

std::string boardLine(const Board& board) {
  std::string line;
  for (int row = 0; row < kBoardSize; ++row) {
    for (int column = 0; column < kBoardSize; ++column) line += kSymbols[board[squareAt(column, row)] & 3];
  }
  return line;
}

// One ply of seeded play: half the time the move the ordering evaluation
// likes best for the mover, otherwise any legal move. False when the game
// is over.
bool playOne(Board& board, int& side, std::mt19937& rng) {
  int moves[kSquareCount];
  int n = 0;
  int best = -1;
  int bestValue = 0;
  Board child;
  for (int s = 0; s < kSquareCount; ++s) {
    if (boardPlay(board, child, s, side) <= 1) continue;
    moves[n++] = s;
    int value = evalOrdering(child, 0, opponentOf(side));
    if (side == kWhite) value = -value;
    if (best < 0 || value > bestValue) {
      best = s;
      bestValue = value;
    }
  }
  if (n == 0) return false;
  const int move = rng() % 2 == 0 ? best : moves[rng() % n];
  boardPlayInPlace(board, move, side);
  side = sideToMoveAfter(board, side);
  return boardMobility(board, side) > 0;
}

// A position of seeded play that `done` accepts; games that end first are
// replaced by new ones.
template <typename Done>
std::string playUntil(std::mt19937& rng, Done done) {
  for (;;) {
    Board board;
    int side = boardInit(board);
    int plies = 0;
    while (playOne(board, side, rng)) {
      ++plies;
      if (done(board, plies)) return std::string(side == kBlack ? "x " : "o ") + boardLine(board);
    }
  }
}

}  // namespace

std::vector<BenchPosition> parseBenchSuite(const std::string& text, const std::string& origin) {
  std::vector<BenchPosition> positions;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (line.find_first_not_of(" \t\r") == std::string::npos || line[0] == '#') continue;
    if (positions.size() == static_cast<std::size_t>(tools::kMaxSuitePositions)) {
      throw UsageError(origin + " holds more than " + std::to_string(tools::kMaxSuitePositions) + " positions");
    }
    positions.push_back(parseLine(line, origin + " line " + std::to_string(number)));
  }
  if (positions.empty()) throw UsageError(origin + " holds no positions");
  return positions;
}

Board seededPosition(std::mt19937& rng, int empties, int& side) {
  const std::string line = playUntil(rng, [&](const Board& board, int) { return boardEmptyCount(board) <= empties; });
  const BenchPosition position = parseLine("exact " + line, "seeded play");
  side = position.side;
  return position.board;
}

std::string makeBenchSuite(unsigned seed) {
  std::mt19937 rng(seed);
  std::string suite = "# kaimo-cli bench suite, made by: kaimo-cli bench --make-suite " + std::to_string(seed) + "\n";
  suite += "# KIND SIDE BOARD (100 symbols, row by row: x black, o white, . empty, - wall)\n";
  for (int plies : kMidgamePlies) {
    suite += "midgame " + playUntil(rng, [&](const Board&, int played) { return played >= plies; }) + "\n";
  }
  for (int empties : kExactEmpties) {
    suite +=
        "exact " + playUntil(rng, [&](const Board& board, int) { return boardEmptyCount(board) <= empties; }) + "\n";
  }
  return suite;
}

}  // namespace kaimo::cli
