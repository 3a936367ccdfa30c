#include "tools/cli/match_games.h"

#include <random>
#include <set>

#include "engine/eval/score.h"
#include "tools/common/computer_turn.h"

namespace kaimo::cli {
namespace {

// This many tries in a row without a new position judge the plies too few
// to give `count` different openings; it answers at once for --plies 0.
constexpr int kTriesPerOpening = 1000;

std::vector<int> legalMoves(const Board& board, int side) {
  std::vector<int> moves;
  for (int s = 0; s < kSquareCount; ++s) {
    if (boardIsLegal(board, s, side)) moves.push_back(s);
  }
  return moves;
}

// False when the game ended inside the plies.
bool playRandomPlies(Opening& opening, int plies, std::mt19937_64& random) {
  opening.side = boardInit(opening.board);
  for (int ply = 0; ply < plies;) {
    std::vector<int> moves = legalMoves(opening.board, opening.side);
    if (moves.empty()) {
      opening.side = opponentOf(opening.side);
      if (legalMoves(opening.board, opening.side).empty()) return false;
      continue;
    }
    const int move = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(random)];
    boardPlayInPlace(opening.board, move, opening.side);
    opening.side = opponentOf(opening.side);
    ++ply;
  }
  return !legalMoves(opening.board, opening.side).empty() || !legalMoves(opening.board, opponentOf(opening.side)).empty();
}

PositionKey keyOf(const Opening& opening) {
  PositionKey key;
  boardPackKey(key, opening.board, opening.side, 0);
  return key;
}

}  // namespace

std::vector<Opening> randomOpenings(int count, int plies, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<Opening> openings;
  std::set<PositionKey> seen;
  for (int misses = 0; static_cast<int>(openings.size()) < count && misses < kTriesPerOpening;) {
    Opening opening;
    if (!playRandomPlies(opening, plies, random) || !seen.insert(keyOf(opening)).second) {
      ++misses;
      continue;
    }
    openings.push_back(opening);
    misses = 0;
  }
  return openings;
}

GameResult playMatchGame(const Opening& opening, const MatchPlayer& black, const MatchPlayer& white,
                         tools::TurnSearcher& searcher) {
  Board board = opening.board;
  int side = opening.side;
  GameResult result;
  for (int passes = 0; passes < 2;) {
    if (boardMobility(board, side) == 0) {
      ++passes;
      side = opponentOf(side);
      continue;
    }
    passes = 0;
    const MatchPlayer& player = side == kBlack ? black : white;
    const tools::TurnResult turn = searcher.play(board, side, player.settings, player.evaluator, player.msPerMove);
    if (isMarker(turn.value) || turn.move < 0 || boardPlayInPlace(board, turn.move, side) <= 1) {
      result.failed = true;
      return result;
    }
    MoveTally& tally = side == kBlack ? result.blackMoves : result.whiteMoves;
    ++tally.moves;
    tally.cpuMsec += turn.cpuMsec;
    if (!turn.toEnd) {
      ++tally.normalReads;
      tally.depthSum += turn.depth;
      tally.normalCpuMsec += turn.cpuMsec;
    }
    side = opponentOf(side);
  }
  DiscCounts counts;
  boardCount(board, counts);
  result.black = counts[0];
  result.white = counts[1];
  return result;
}

void MoveTally::add(const MoveTally& other) {
  moves += other.moves;
  cpuMsec += other.cpuMsec;
  normalReads += other.normalReads;
  depthSum += other.depthSum;
  normalCpuMsec += other.normalCpuMsec;
}

void MatchTally::add(int firstDiscs, int secondDiscs) {
  if (firstDiscs > secondDiscs) {
    ++wins;
  } else if (firstDiscs == secondDiscs) {
    ++draws;
  } else {
    ++losses;
  }
  marginSum += firstDiscs - secondDiscs;
}

double MatchTally::scorePercent() const { return games() == 0 ? 0 : 100.0 * (wins + 0.5 * draws) / games(); }

double MatchTally::meanMargin() const { return games() == 0 ? 0 : static_cast<double>(marginSum) / games(); }

}  // namespace kaimo::cli
