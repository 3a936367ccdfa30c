#include "tools/cli/match_games.h"

#include <algorithm>
#include <random>
#include <set>

#include "engine/book/book_choice.h"
#include "engine/eval/pattern_shapes.h"
#include "engine/eval/score.h"
#include "engine/search/move_clock.h"
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
  return !legalMoves(opening.board, opening.side).empty() ||
         !legalMoves(opening.board, opponentOf(opening.side)).empty();
}

PositionKey keyOf(const Opening& opening) {
  PositionKey key;
  boardPackKey(key, opening.board, opening.side, 0);
  return key;
}

}  // namespace

std::vector<Opening> randomOpenings(int count, int plies, std::uint64_t seed) {
  if (plies == 0) {
    Opening initial;
    initial.side = boardInit(initial.board);
    return std::vector<Opening>(static_cast<std::size_t>(count), initial);
  }
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
                         tools::TurnSearcher& searcher, std::mt19937_64& random) {
  GameResult result;
  std::int64_t clockLeft[2] = {black.clock.gameMs, white.clock.gameMs};
  Board lostOnTime{};
  const auto choose = [&](const Board& board, int side) -> int {
    const MatchPlayer& player = side == kBlack ? black : white;
    MoveTally& tally = side == kBlack ? result.blackMoves : result.whiteMoves;
    if (player.book) {
      if (const std::optional<BookMove> pick = pickBookMove(*player.book, board, side, player.settings, random)) {
        ++tally.moves;
        ++tally.bookMoves;
        return pick->square;
      }
    }
    const tools::TurnResult turn =
        player.clock.timed()
            ? searcher.playWithin(board, side, player.settings, player.evaluator,
                                  budgetFor(player.clock, clockLeft[side], boardEmptyCount(board)), player.threads)
            : searcher.play(board, side, player.settings, player.evaluator, player.msPerMove, player.threads);
    if (isMarker(turn.value)) return -1;
    ++tally.moves;
    tally.cpuMsec += turn.cpuMsec;
    tally.maxMsec = std::max(tally.maxMsec, turn.cpuMsec);
    if (player.clock.perMoveMs > 0 && turn.cpuMsec > player.clock.perMoveMs) {
      result.timeLoss = side;
      lostOnTime = board;
      return -1;
    }
    if (player.clock.isClock()) {
      clockLeft[side] -= turn.cpuMsec;
      if (clockLeft[side] < 0) {
        result.timeLoss = side;
        lostOnTime = board;
        return -1;
      }
      clockLeft[side] += player.clock.incrementMs;
    }
    if (!turn.toEnd) {
      ++tally.normalReads;
      tally.depthSum += turn.depth;
      tally.normalCpuMsec += turn.cpuMsec;
    }
    return turn.move;
  };
  std::optional<Board> end = tools::playToTheEnd(opening.board, opening.side, choose, &result.moves);
  if (result.timeLoss >= 0) end = lostOnTime;
  if (!end) {
    result.failed = true;
    return result;
  }
  DiscCounts counts;
  boardCount(*end, counts);
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
  bookMoves += other.bookMoves;
  maxMsec = std::max(maxMsec, other.maxMsec);
}

std::mt19937_64 gameRandom(std::uint64_t seed, int game) {
  std::seed_seq sequence{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32),
                         static_cast<std::uint32_t>(game)};
  return std::mt19937_64(sequence);
}

DistinctGames countDistinctGames(const std::vector<std::pair<Board, std::vector<int>>>& games) {
  std::set<std::pair<Board, std::vector<int>>> asPlayed(games.begin(), games.end());
  std::set<std::pair<Board, std::vector<int>>> canonical;
  for (const auto& [board, moves] : games) {
    std::pair<Board, std::vector<int>> least;
    for (int t = 0; t < kSymmetryCount; ++t) {
      std::pair<Board, std::vector<int>> image{{}, moves};
      for (int s = 0; s < kSquareCount; ++s) image.first[kSymmetryMaps[t][s]] = board[s];
      for (int& move : image.second) move = kSymmetryMaps[t][move];
      if (t == 0 || image < least) least = std::move(image);
    }
    canonical.insert(std::move(least));
  }
  return {static_cast<int>(asPlayed.size()), static_cast<int>(canonical.size())};
}

void MatchTally::add(int firstDiscs, int secondDiscs, bool firstLostOnTime, bool secondLostOnTime) {
  if (firstLostOnTime) {
    ++losses;
  } else if (secondLostOnTime) {
    ++wins;
  } else if (firstDiscs > secondDiscs) {
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
